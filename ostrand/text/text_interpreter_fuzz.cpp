// Fuzz target of the scenery text interpreter: the input is a scenery text,
// optionally followed by a NUL byte and the exclusion list. Runs in a
// folder of its own (the working folder of the platform layer; the
// process's is left alone) with a small airport database; the files written
// are removed after each run.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ostrand/frame/options.h"
#include "ostrand/frame/fuzz_folder.h"
#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/geo_tile.h"
#include "ostrand/text/text_interpreter.h"

namespace {

const ostrand::FuzzFolder& Folder() {
  static const ostrand::FuzzFolder folder("ostrand-te-fuzz");
  return folder;
}

bool Setup() {
  std::filesystem::create_directories(Folder().At("DATABASE"));
  const std::vector<uint8_t> image = ostrand::DatabaseImage({
      {"TEST", 180000, 36000},
      {"KABC", 180000, 43200},
      {"NEAR", 180197.5, 36000},
      {"WEST", 144000, -300000},
      {"ABC", 0, 0},
  });
  Folder().Write("DATABASE/AIRPORT.DBD", std::string(image.begin(), image.end()));
  Folder().Write("DATABASE/AIRPORT.dbt", ostrand::FieldListText());
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = Setup();
  (void)ready;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t nul = input.find('\0');
  Folder().Write("scenery.txt", input.substr(0, nul));
  if (nul != std::string::npos)
    Folder().Write("excllist.txt", input.substr(nul + 1));
  else
    std::filesystem::remove(Folder().At("excllist.txt"));
  // Every other input runs with the tile filter set to TEST's tile.
  ostrand::ResetOptions();
  if (size % 2 == 1) {
    ostrand::GeoTile tile;
    ostrand::GeoTileOfSeconds(180000, 36000, tile);
    ostrand::Options().tileColumn = tile.column;
    ostrand::Options().tileRow = tile.row;
  }
  ostrand::InterpretText("scenery.txt");
  std::filesystem::remove_all(Folder().At("DATA"));
  std::filesystem::remove(Folder().At("report.txt"));
  return 0;
}
