// Fuzz target: the record readers of the network operations. The input is
// a network file; it is purged, merged with a small fixed network in both
// directions, run through an edit-script command, and copied by move and
// delete. A failed in-place operation must leave its target exactly as it
// was and no temporary file behind.
#include <cstddef>
#include <cstdint>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/fuzz_folder.h"
#include "ostrand/frame/report.h"
#include "ostrand/ops/bgr_merge.h"
#include "ostrand/ops/bgr_move.h"
#include "ostrand/ops/bgr_script.h"

namespace {

// Every run renames files; a folder in memory keeps that fast where the
// system offers one.
const ostrand::FuzzFolder& Folder() {
  static const ostrand::FuzzFolder folder("ostrand-fuzz", {"/dev/shm"});
  return folder;
}

std::string At(const char* name) { return Folder().At(name); }
void Write(const char* name, const std::string& bytes) { Folder().Write(name, bytes); }
std::string Read(const char* name) { return Folder().Read(name); }

// A failed rewrite leaves the target as it was and removes the temporary file.
void CheckRewrite(int result, const char* target, const std::string& before) {
  if (result == 0 && Read(target) != before) __builtin_trap();
  for (const auto& entry : std::filesystem::directory_iterator(Folder().Path())) {
    if (entry.path().filename().string().front() == '.') __builtin_trap();  // staged file left
  }
}

std::string SmallNetwork() {
  std::string b;
  auto tag = [&](const char* t) { b.append(t, std::strlen(t) + 1); };
  auto i32 = [&](uint32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<char>(v >> (8 * k)));
  };
  auto f64 = [&](double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    for (int k = 0; k < 8; ++k) b.push_back(static_cast<char>(u >> (8 * k)));
  };
  tag("<bgno>");
  tag("<orgn>");
  f64(1.0);
  f64(2.0);
  f64(0.0);
  i32(1);
  for (double x : {0.0, 100.0}) {
    tag("<node>");
    tag("<bgno>");
    tag("<vloc>");
    f64(x);
    f64(0.0);
    f64(x);
    tag("<endo>");
  }
  tag("<edge>");
  i32(0);
  i32(1);
  tag("<bgno>");
  tag("<thck>");
  i32(16968u << 16);
  tag("<type>");
  i32(1);
  tag("<endo>");
  tag("<endo>");
  return b;
}

}  // namespace

static void RemoveFolder() {
  for (const char* name : {"in.bgr", "small.bgr", "out.bgr", "report.txt"}) std::remove(At(name).c_str());
  rmdir(Folder().Path().c_str());
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Folder();
  std::atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  static int runs = 0;
  ostrand::SetConsole(sink);
  if (++runs % 500 == 0) std::remove(At("report.txt").c_str());  // the run log grows otherwise
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string small = SmallNetwork();

  Write("in.bgr", input);
  CheckRewrite(ostrand::BgrPurge("in.bgr"), "in.bgr", input);
  Write("in.bgr", input);
  Write("small.bgr", small);
  CheckRewrite(ostrand::BgrMerge("in.bgr", "small.bgr"), "small.bgr", small);
  Write("small.bgr", small);
  CheckRewrite(ostrand::BgrMerge("small.bgr", "in.bgr"), "in.bgr", input);
  Write("in.bgr", input);
  CheckRewrite(ostrand::BgrReplaceEdges("in.bgr", 0, 1, 10), "in.bgr", input);
  Write("in.bgr", input);
  // A copy that stops at a damaged record writes no destination, so the
  // one of the run before must not be taken for it.
  std::remove(At("out.bgr").c_str());
  ostrand::BgrMove("in.bgr", "out.bgr", 1.0, -1.0, -1, -1);
  if (Read("out.bgr").size() > input.size()) __builtin_trap();
  std::remove(At("out.bgr").c_str());
  ostrand::BgrDeleteEdges("in.bgr", "out.bgr", 0, -1);
  if (Read("out.bgr").size() > input.size()) __builtin_trap();
  return 0;
}
