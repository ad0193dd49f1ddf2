// What the benchmarks share (header-only, benchmarks only): a temporary
// working folder, the run of the built ostrand program as a separate
// process (and its peak memory), the rate of text printed through the
// console stream, and the timing of one call with the median of several.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ostrand/frame/report.h"

namespace ostrand::bench {

// The ostrand program the benchmarks run: OSTRAND_BENCH_PROGRAM, when set,
// names another build (to compare two builds in one run).
// A relative name is taken from the folder the benchmark was started in.
inline const std::string kOstrandProgram = [] {
  const char* other = std::getenv("OSTRAND_BENCH_PROGRAM");
  if (other == nullptr) return std::string(OSTRAND_EXE);
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(other, ec);
  return ec ? std::string(other) : absolute.string();
}();
inline const char* OstrandProgram() { return kOstrandProgram.c_str(); }

// A fresh temporary folder made the working directory (so that the run log
// of every run lands there), removed again at exit. Benchmarks derive their
// workspace from it and write their inputs in the constructor.
class BenchFolder {
 public:
  BenchFolder() {
    char templ[] = "/tmp/ostrand-bench-XXXXXX";
    if (mkdtemp(templ) == nullptr) std::abort();
    dir_ = templ;
    std::filesystem::current_path(dir_);
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::current_path("/", ec);
    std::filesystem::remove_all(dir_, ec);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

 private:
  std::filesystem::path dir_;
};

// Runs `print` once per iteration with the console stream sent to a
// temporary file, and reports the bytes printed per second.
template <typename Print>
void MeasureConsoleText(benchmark::State& state, Print print) {
  std::FILE* sink = std::tmpfile();
  std::FILE* previous = Console();
  SetConsole(sink);
  long bytes = 0;
  for (auto _ : state) {
    std::rewind(sink);
    print();
    bytes = std::ftell(sink);
  }
  SetConsole(previous);
  std::fclose(sink);
  state.counters["listing_rate"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsIterationInvariantRate,
                         benchmark::Counter::kIs1024);
}

// Seconds that one call of `run` takes.
template <typename Run>
double SecondsOf(Run run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The median of `times` (not empty).
inline double Median(std::vector<double> times) {
  const auto middle = times.begin() + static_cast<long>(times.size() / 2);
  std::nth_element(times.begin(), middle, times.end());
  return *middle;
}

// Returns the number of bytes the program printed; aborts when it does not
// end with the success status 1. `program`, when given, is run instead of
// ostrand.
inline size_t RunProgram(const std::vector<std::string>& args, const char* program = nullptr) {
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
    execv(program != nullptr ? program : OstrandProgram(), argv.data());
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

// Peak resident memory (kilobytes) of one run of ostrand with `args`,
// measured through the peak_rss launcher (see peak_rss.c for why).
inline long PeakKilobytes(const std::vector<std::string>& args) {
  std::vector<std::string> launch{"peak_kb.txt", OstrandProgram()};
  launch.insert(launch.end(), args.begin(), args.end());
  RunProgram(launch, PEAK_RSS_EXE);
  long kb = 0;
  if (std::FILE* in = std::fopen("peak_kb.txt", "r")) {
    if (std::fscanf(in, "%ld", &kb) != 1) kb = 0;
    std::fclose(in);
  }
  return kb;
}

}  // namespace ostrand::bench
