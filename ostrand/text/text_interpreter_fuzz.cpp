// Fuzz target of the scenery text interpreter: the input is a scenery text,
// optionally followed by a NUL byte and the exclusion list. Runs in a
// folder of its own (the working folder of the platform layer; the
// process's is left alone) with a small airport database; the files written
// are removed after each run.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ostrand/frame/options.h"
#include "ostrand/frame/platform.h"
#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/geo_tile.h"
#include "ostrand/text/text_interpreter.h"

namespace {

std::string g_folder;  // the run's own folder

std::string At(const char* name) { return g_folder + "/" + name; }

void WriteFile(const char* name, const std::string& bytes) {
  std::ofstream out(At(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Setup() {
  std::string templ = (std::filesystem::temp_directory_path() / "ostrand-te-fuzz-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) std::abort();
  g_folder = templ;
  ostrand::platform::SetWorkingFolder(g_folder);
  std::filesystem::create_directories(At("DATABASE"));
  const std::vector<uint8_t> image = ostrand::DatabaseImage({
      {"TEST", 180000, 36000},
      {"KABC", 180000, 43200},
      {"NEAR", 180197.5, 36000},
      {"WEST", 144000, -300000},
      {"ABC", 0, 0},
  });
  WriteFile("DATABASE/AIRPORT.DBD", std::string(image.begin(), image.end()));
  WriteFile("DATABASE/AIRPORT.dbt", ostrand::FieldListText());
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = Setup();
  (void)ready;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t nul = input.find('\0');
  WriteFile("scenery.txt", input.substr(0, nul));
  if (nul != std::string::npos)
    WriteFile("excllist.txt", input.substr(nul + 1));
  else
    std::filesystem::remove(At("excllist.txt"));
  // Every other input runs with the tile filter set to TEST's tile.
  ostrand::ResetOptions();
  if (size % 2 == 1) {
    ostrand::GeoTile tile;
    ostrand::GeoTileOfSeconds(180000, 36000, tile);
    ostrand::Options().tileColumn = tile.column;
    ostrand::Options().tileRow = tile.row;
  }
  ostrand::InterpretText("scenery.txt");
  std::filesystem::remove_all(At("DATA"));
  std::filesystem::remove(At("report.txt"));
  return 0;
}
