// Fuzz target of the whole surface generation: the input is a network file
// and the polygon file beside it. The first two bytes give the length of
// the network file (little-endian); the rest after it is the polygon file.
// Runs in a folder of its own (the working folder of the platform layer;
// the process's is left alone); the run log is emptied after each run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ostrand/frame/fuzz_folder.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/bgr_tms.h"

namespace {

const ostrand::FuzzFolder& Folder() {
  static const ostrand::FuzzFolder folder("ostrand-tm-fuzz");
  return folder;
}

bool Setup() {
  Folder();
  ostrand::SetConsole(std::fopen("/dev/null", "w"));
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = Setup();
  (void)ready;
  if (size < 2) return 0;
  const size_t networkLength = std::min<size_t>(size - 2, data[0] | (size_t{data[1]} << 8));
  const std::string network(reinterpret_cast<const char*>(data) + 2, networkLength);
  const std::string polygons(reinterpret_cast<const char*>(data) + 2 + networkLength,
                             size - 2 - networkLength);
  Folder().Write("F.BGR", network);
  Folder().Write("F.PLY", polygons);
  ostrand::BgrTms("F.BGR");
  std::filesystem::remove(Folder().At("report.txt"));
  return 0;
}
