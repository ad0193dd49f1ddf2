// Listing speed: the whole program ("ostrand -ls" as a separate process, as
// the taxi-path editor runs it) and the listing alone in-process, on the
// largest network. Counters: bytes of listing text and their rate.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/network_generator.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/report.h"
#include "ostrand/ops/bgr_list.h"

namespace {

// A temporary folder holding the largest network, made the working
// directory so that the run log of every run lands there.
class Workspace {
 public:
  Workspace() {
    char templ[] = "/tmp/ostrand-bench-XXXXXX";
    if (mkdtemp(templ) == nullptr) std::abort();
    dir_ = templ;
    std::filesystem::current_path(dir_);
    if (!ostrand::bench::WriteGridNetwork("largest.bgr")) std::abort();
  }
  ~Workspace() {
    std::error_code ec;
    std::filesystem::current_path("/", ec);
    std::filesystem::remove_all(dir_, ec);
  }

 private:
  std::filesystem::path dir_;
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

// Runs the program by bare name (so its log goes to the working directory)
// with stdout to a pipe; returns the number of bytes it printed.
size_t RunListing(const std::vector<std::string>& args) {
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

void BM_ListProcess(benchmark::State& state, std::vector<std::string> args) {
  Shared();
  size_t bytes = 0;
  for (auto _ : state) bytes = RunListing(args);
  state.counters["listing_bytes"] = static_cast<double>(bytes);
  state.counters["listing_rate"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsIterationInvariantRate,
                         benchmark::Counter::kIs1024);
}
BENCHMARK_CAPTURE(BM_ListProcess, values, std::vector<std::string>{"-ls", "largest.bgr"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ListProcess, tags_only, std::vector<std::string>{"largest.bgr"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The listing alone, printing to a temporary file.
void BM_ListInProcess(benchmark::State& state) {
  Shared();
  std::FILE* sink = std::tmpfile();
  std::FILE* previous = ostrand::Console();
  ostrand::SetConsole(sink);
  ostrand::Options().printFlag = 1;
  long bytes = 0;
  for (auto _ : state) {
    std::rewind(sink);
    ostrand::BgrList("largest.bgr", -1, -1);
    bytes = std::ftell(sink);
  }
  ostrand::SetConsole(previous);
  std::fclose(sink);
  state.counters["listing_rate"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsIterationInvariantRate,
                         benchmark::Counter::kIs1024);
}
BENCHMARK(BM_ListInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
