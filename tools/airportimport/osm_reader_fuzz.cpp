// Fuzz target: OpenStreetMap input. The first byte chooses the form (OSM
// XML, PBF, Overpass API JSON); the rest goes through the reader, the
// conversion, the writer and the checks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/airportimport/fuzz_sink.h"
#include "tools/airportimport/import_error.h"
#include "tools/airportimport/osm_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    airportimport::OsmData osm;
    switch (data[0] % 3) {
      case 0: osm = airportimport::ReadOsmBuffer(text, "osm", "fuzz.osm"); break;
      case 1: osm = airportimport::ReadOsmBuffer(text, "pbf", "fuzz.pbf"); break;
      default: osm = airportimport::ReadOverpassJson(text, "fuzz.json"); break;
    }
    airportimport::WriteAndCheck(airportimport::AirportFromOsm(osm, "fuzz", {}));
  } catch (const airportimport::ImportError&) {
  }
  return 0;
}
