// Runs the built ostrand program as a separate process for whole-process
// benchmarks: by bare name (so its run log lands in the working directory),
// standard output drained through a pipe. Header-only, benchmarks only.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace ostrand::bench {

// Returns the number of bytes the program printed; aborts when it does not
// end with the success status 1.
inline size_t RunProgram(const std::vector<std::string>& args) {
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv{const_cast<char*>("ostrand")};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(OSTRAND_EXE, argv.data());
    _exit(127);
  }
  close(fds[1]);
  static char buffer[1 << 16];
  size_t total = 0;
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) total += static_cast<size_t>(n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 1) std::abort();
  return total;
}

}  // namespace ostrand::bench
