// Fuzz target of the airport list reader: any CSV text. The airports read
// are written into a database image and loaded back, and each record must
// come back with its code and position.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ostrand/text/airport_database.h"
#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ostrand::CsvReadResult result = ostrand::ReadAirportCsv(text);
  if (!result.error.empty() || result.airports.empty()) return 0;
  const std::vector<uint8_t> image = ostrand::DatabaseImage(result.airports);
  ostrand::STRING_LIST fields;
  fields.Create(ostrand::kFieldListCapacity);
  fields.Add("aica,0,16,C");
  fields.Add("alat,16,8,N");
  fields.Add("alon,24,8,N");
  ostrand::AirportDatabase db;
  std::string reason;
  if (db.LoadImage(image.data(), image.size(), fields, reason) != 1) std::abort();
  if (db.Count() != static_cast<int32_t>(result.airports.size())) std::abort();
  for (int32_t i = 0; i < db.Count(); ++i) {
    const ostrand::AirportEntry& a = result.airports[static_cast<size_t>(i)];
    if (db.LatitudeOf(i) != a.latitude || db.LongitudeOf(i) != a.longitude) std::abort();
    // Codes with a NUL inside end there.
    if (db.CodeOf(i) != a.code.substr(0, a.code.find('\0'))) std::abort();
  }
  return 0;
}
