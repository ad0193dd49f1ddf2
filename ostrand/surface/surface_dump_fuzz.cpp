// Fuzz target: the TMS reader through the section dump. Any bytes must dump
// without crashing, hanging or reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/report.h"
#include "ostrand/surface/surface_dump.h"
#include "ostrand/surface/surface_file.h"

namespace {

const std::string& InputName() {
  static const std::string name = "surface_dump_fuzz_input.tms";
  return name;
}

// The reader in another order than the dump's: lights first, then the
// polygon kinds from the last to the first.
void ReadBackwards(const std::string& name) {
  ostrand::SurfaceFile surface;
  if (!surface.Open(name)) return;
  double a, b, c;
  surface.ReadOrigin(a, b, c);
  surface.ReadGrid();
  while (surface.ReadTile()) {
    while (surface.ReadLights() || surface.ReadCentre() || surface.ReadEdgeMark() ||
           surface.ReadPave()) {
    }
    surface.ReadTileEnd();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::FILE* sink = ostrand::WrapFileOpen("/dev/null", "w");
  ostrand::SetConsole(sink);
  std::FILE* out = ostrand::WrapFileOpen(InputName(), "wb");
  if (out == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, out);
  std::fclose(out);
  ostrand::DumpSurfaceFile(InputName().c_str());
  ReadBackwards(InputName());
  return 0;
}
