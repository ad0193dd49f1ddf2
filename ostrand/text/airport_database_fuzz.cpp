// Fuzz target of the airport database loader: the first byte gives the
// length of the field list text that follows it; the rest is the database
// image (header and records).
#include <cstdint>
#include <string>

#include "ostrand/text/airport_database.h"
#include "ostrand/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t fieldLength = data[0] < size - 1 ? data[0] : size - 1;
  const std::string fieldText(reinterpret_cast<const char*>(data + 1), fieldLength);
  ostrand::STRING_LIST fields;
  fields.Create(ostrand::kFieldListCapacity);
  size_t pos = 0;
  while (pos < fieldText.size()) {
    size_t end = fieldText.find('\n', pos);
    if (end == std::string::npos) end = fieldText.size();
    const std::string line = fieldText.substr(pos, end - pos);
    if (!line.empty() && line.find('\0') == std::string::npos) fields.Add(line.c_str());
    pos = end + 1;
  }
  ostrand::AirportDatabase db;
  std::string reason;
  const uint8_t* image = data + 1 + fieldLength;
  if (db.LoadImage(image, size - 1 - fieldLength, fields, reason) != 1) return 0;
  for (int32_t i = 0; i < db.Count() && i < 64; ++i) {
    double lat = db.LatitudeOf(i);
    double lon = db.LongitudeOf(i) + 1296000.0;
    std::string code;
    db.Find(lat, lon, code);
    (void)db.CodeOf(i);
  }
  double lat = 0, lon = 0;
  std::string code;
  db.Find(lat, lon, code);
  return 0;
}
