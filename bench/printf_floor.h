// The printf floor of the benchmarks (header-only, benchmarks only): the
// listing of the largest network ("ostrand -ls" line for line) printed by
// bare C, with nothing of ours in between, measured two ways:
// - `ProgramSeconds`: the bare C program printf_floor.c, run as a process of
//   its own exactly as the benchmarks run ostrand (start-up, reading the
//   network file and printing the listing to a pipe). Whole-program
//   benchmarks report their time as a multiple of it ("x_floor").
// - `Seconds`: the formatting alone, snprintf into a memory buffer in this
//   process ("x_printf"), the stricter figure.
// Both are measured in the same run as what they are compared with, so that
// a busier machine does not hide a regression.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/network_generator.h"
#include "ostrand/bgr/bgr_file.h"

namespace ostrand::bench {

class PrintfFloor {
 public:
  // Reads the largest generated network once (written to `path` first).
  explicit PrintfFloor(const char* path = "FLOOR.BGR") : path_(path) {
    if (!WriteGridNetwork(path)) std::abort();
    BgrFile in;
    if (!in.OpenRead(path)) std::abort();
    in.ReadOrigin(origin_[0], origin_[1], origin_[2]);
    Vertex v;
    while (in.ReadNode(v.x, v.y, v.z)) vertices_.push_back(v);
    BgrEdge e;
    while (in.ReadEdge(e)) edges_.push_back(e);
    buffer_.resize(4u << 20);
  }

  // Prints the listing into the buffer; its length in bytes.
  size_t Print() {
    at_ = 0;
    Line("<bgno>\n");
    Line("<orgn>  %lf %lf %lf %d (53 37'49.4400\"N 9 59'17.6279\"E)\n", origin_[0], origin_[1], origin_[2], 1);
    long i = 0;
    for (const Vertex& v : vertices_) {
      Line("<node>\n");
      Line("<bgno>\n");
      Line("<vloc> (%ld) %lf %lf %lf\n", i++, v.x, v.y, v.z);
      Line("<endo>\n");
    }
    for (const BgrEdge& e : edges_) {
      Line("<edge>  %ld %ld\n", static_cast<long>(e.from), static_cast<long>(e.to));
      Line("<bgno>\n");
      Line("<thck> %ld %ldft sp=%02lX\n", static_cast<long>(e.code), static_cast<long>(e.width),
           static_cast<unsigned long>(e.sp));
      Line("<type>  %ld\n", static_cast<long>(e.type));
      Line("<endo>\n");
    }
    Line("<endo>\n");
    Line("WS= %lf %lf, EN= %lf %lf\n", 0.0, 0.0, 12000.0, 12000.0);
    return at_;
  }

  // Seconds of one Print, the median of `runs`.
  double Seconds(int runs = 9) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) times.push_back(SecondsOf([this] { Print(); }));
    return Median(times);
  }
  // Seconds of one run of the floor program on the network.
  double ProgramSeconds() {
    return SecondsOf([this] { RunProgram({path_}, PRINTF_FLOOR_EXE); });
  }

  // Times `run` in every iteration of `state` (reported as manual time)
  // after an untimed `prepare`, and runs the floor program right after each
  // run, so that both medians come from the same stretch of the machine's
  // load. Records "x_floor", the median run over the median floor program
  // run, and "x_printf", the median run over the formatting alone.
  template <typename Prepare, typename Run>
  void TimeAgainstFloor(benchmark::State& state, Prepare prepare, Run run) {
    std::vector<double> times, floors;
    for (auto _ : state) {
      prepare();
      times.push_back(SecondsOf(run));
      state.SetIterationTime(times.back());
      floors.push_back(ProgramSeconds());
    }
    if (times.empty()) return;
    state.counters["x_floor"] = Median(times) / Median(floors);
    state.counters["x_printf"] = Median(times) / Seconds();
  }


 private:
  struct Vertex {
    double x = 0, y = 0, z = 0;
  };

  template <typename... Args>
  void Line(const char* format, Args... args) {
    const int n = std::snprintf(buffer_.data() + at_, buffer_.size() - at_, format, args...);
    if (n > 0) at_ += std::min(static_cast<size_t>(n), buffer_.size() - at_ - 1);
  }
  void Line(const char* text) {
    for (; *text != '\0' && at_ + 1 < buffer_.size(); ++text) buffer_[at_++] = *text;
  }

  std::string path_;
  double origin_[3] = {0, 0, 0};
  std::vector<Vertex> vertices_;
  std::vector<BgrEdge> edges_;
  std::vector<char> buffer_;
  size_t at_ = 0;
};

}  // namespace ostrand::bench
