// Fuzz target of the whole surface generation: the input is a network file
// and the polygon file beside it. The first two bytes give the length of
// the network file (little-endian); the rest after it is the polygon file.
// Runs in a folder of its own (the working folder of the platform layer;
// the process's is left alone); the run log is emptied after each run.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/bgr_tms.h"

namespace {

std::string g_folder;  // the run's own folder

std::string At(const char* name) { return g_folder + "/" + name; }

void WriteFile(const char* name, const std::string& bytes) {
  std::ofstream out(At(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Setup() {
  std::string templ = (std::filesystem::temp_directory_path() / "ostrand-tm-fuzz-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) std::abort();
  g_folder = templ;
  ostrand::platform::SetWorkingFolder(g_folder);
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
  WriteFile("F.BGR", network);
  WriteFile("F.PLY", polygons);
  ostrand::BgrTms("F.BGR");
  std::filesystem::remove(At("report.txt"));
  return 0;
}
