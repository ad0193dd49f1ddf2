// Helpers for the tests of every module (header-only, test programs only):
// a scratch folder made the working directory for one test, capture of the
// console stream, whole-file reads and writes, and running the ostrand
// program as a separate process.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ostrand/frame/report.h"

namespace ostrand::testing {

// Creates a fresh folder, makes it the working directory, and on
// destruction restores the previous one and removes the folder.
class ScratchDir {
 public:
  ScratchDir() : previous_(std::filesystem::current_path()) {
    std::string name = (std::filesystem::temp_directory_path() / "ostrand-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) std::abort();
    path_ = name;
    std::filesystem::current_path(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec), std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_, path_;
};

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Redirects Console() into a temporary file while alive; Text() returns
// everything printed so far.
class CaptureConsole {
 public:
  CaptureConsole() : file_(std::tmpfile()), previous_(Console()) { SetConsole(file_); }
  ~CaptureConsole() { SetConsole(previous_), std::fclose(file_); }
  std::string Text() {
    std::fflush(file_);
    return ReadFileBytes("/proc/self/fd/" + std::to_string(fileno(file_)));
  }

 private:
  std::FILE *file_, *previous_;
};

inline bool FileExistsOnDisk(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

// True when a staged output was left behind in the folder (its name
// starts with a '.').
inline bool StagedFileLeft(const std::filesystem::path& folder = ".") {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().front() == '.') return true;
  return false;
}

// A run's exit status (0..255, -1 when it did not exit) and standard output.
struct RunResult { int status = -1; std::string output; };

// Runs the program file `exe` in the working directory with the given
// arguments (each passed as one argument, no shell), capturing its standard
// output. fileSizeLimit >= 0 limits the size of every file the program
// writes (as on a full disk: writes beyond it fail). argv0 is the program
// name as typed (default: exe), which decides where the run log goes: beside
// the program when it holds a '\\' or '/', else "report.txt" in the working
// directory.
inline RunResult RunOstrand(const std::vector<std::string>& args, const char* exe = OSTRAND_EXE,
                            long fileSizeLimit = -1, const char* argv0 = nullptr) {
  RunResult r;
  int fds[2];
  if (pipe(fds) != 0) return r;
  const pid_t pid = fork();
  if (pid == 0) {
    if (fileSizeLimit >= 0) {
      const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      signal(SIGXFSZ, SIG_IGN), setrlimit(RLIMIT_FSIZE, &limit);
    }
    dup2(fds[1], 1), close(fds[0]), close(fds[1]);
    std::vector<char*> argv{const_cast<char*>(argv0 != nullptr ? argv0 : exe)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe, argv.data()), _exit(127);
  }
  close(fds[1]);
  r.output = ReadFileBytes("/proc/self/fd/" + std::to_string(fds[0]));  // up to the end of the pipe
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// A file of the testdata folder beside the tests of a module ("ostrand/frame").
inline std::filesystem::path TestData(const char* module, const char* name) {
  return std::filesystem::path(OSTRAND_SOURCE_DIR) / module / "testdata" / name;
}

// The rows of a table file of expected values: one row a line, its fields
// separated by " | ", "<tab>" in a field standing for a tab. Blank lines and
// lines starting with '#' are skipped; a missing or empty file fails.
inline std::vector<std::vector<std::string>> ReadTable(const std::filesystem::path& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    for (size_t at; (at = line.find("<tab>")) != std::string::npos;) line.replace(at, 5, "\t");
    std::vector<std::string>& row = rows.emplace_back();
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 3) {
      end = line.find(" | ", start);
      row.push_back(line.substr(start, end == std::string::npos ? end : end - start));
    }
  }
  EXPECT_FALSE(rows.empty()) << path;
  return rows;
}

// Folder of the public real-airport data, or "" when it is absent.
inline std::string RealDataDir() {
  const std::filesystem::path p = std::filesystem::path(OSTRAND_SHARED_DIR) / "realdata";
  return FileExistsOnDisk(p / ".") ? p.string() : std::string();
}

}  // namespace ostrand::testing
