// Builder of the airport database from a CSV list of airports.
#include "ostrand/text/airport_db_builder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/little_endian.h"
#include "ostrand/frame/platform.h"
#include "ostrand/text/airport_database.h"

namespace ostrand {
namespace {

constexpr int32_t kCodeField = 0;
constexpr int32_t kLatitudeField = 16;
constexpr int32_t kLongitudeField = 24;

std::string Trim(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A whole field that is a finite number.
bool ParseDegrees(const std::string& field, double& value) {
  const std::string t = Trim(field);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(v)) return false;
  value = v;
  return true;
}

int32_t ColumnNamed(const std::vector<std::string>& header, std::initializer_list<const char*> names) {
  for (const char* name : names)
    for (size_t i = 0; i < header.size(); ++i)
      if (Lower(Trim(header[i])) == name) return static_cast<int32_t>(i);
  return -1;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::FILE* f = platform::OpenFile(path, "rb");
  if (f == nullptr) return false;
  char buffer[65536];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

}  // namespace

std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  bool wasQuoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"' && Trim(field).empty()) {
      field.clear();
      quoted = true;
      wasQuoted = true;
    } else if (c == ',') {
      fields.push_back(wasQuoted ? field : Trim(field));
      field.clear();
      wasQuoted = false;
    } else if (!(wasQuoted && (c == ' ' || c == '\t' || c == '\r'))) {
      field += c;
    }
  }
  fields.push_back(wasQuoted ? field : Trim(field));
  return fields;
}

CsvReadResult ReadAirportCsv(const std::string& text) {
  CsvReadResult result;
  int32_t codeColumn = 0;
  int32_t latColumn = 1;
  int32_t lonColumn = 2;
  bool first = true;
  int32_t lineNumber = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (Trim(line).empty()) continue;
    const std::vector<std::string> fields = SplitCsvLine(line);
    if (first) {
      first = false;
      double probe = 0.0;
      if (fields.size() < 3 || !ParseDegrees(fields[1], probe)) {
        codeColumn = ColumnNamed(fields, {"icao", "code", "ident", "aica"});
        latColumn = ColumnNamed(fields, {"lat", "latitude", "alat", "latitude_deg"});
        lonColumn = ColumnNamed(fields, {"lon", "lng", "longitude", "alon", "longitude_deg"});
        if (codeColumn < 0 || latColumn < 0 || lonColumn < 0) {
          result.error = "line " + std::to_string(lineNumber) +
                         ": neither airport data (code, latitude, longitude) nor a header naming "
                         "the code, latitude and longitude columns";
          return result;
        }
        continue;
      }
    }
    AirportEntry entry;
    double lat = 0.0;
    double lon = 0.0;
    const size_t needed = static_cast<size_t>(std::max({codeColumn, latColumn, lonColumn})) + 1;
    if (fields.size() >= needed) entry.code = fields[static_cast<size_t>(codeColumn)];
    if (fields.size() < needed || entry.code.empty() || entry.code.size() > kBuiltCodeLength ||
        !ParseDegrees(fields[static_cast<size_t>(latColumn)], lat) ||
        !ParseDegrees(fields[static_cast<size_t>(lonColumn)], lon) || std::fabs(lat) > 90.0 ||
        std::fabs(lon) > 180.0) {
      if (result.skipped == 0) result.firstSkipped = lineNumber;
      ++result.skipped;
      continue;
    }
    entry.latitude = lat * 3600.0;
    entry.longitude = lon * 3600.0;
    result.airports.push_back(std::move(entry));
  }
  return result;
}

std::vector<uint8_t> DatabaseImage(const std::vector<AirportEntry>& airports) {
  const size_t count = airports.size();
  std::vector<uint8_t> image(static_cast<size_t>(kDatabaseHeaderSize) + count * kBuiltRecordSize, 0);
  StoreLe32(image.data() + 16, static_cast<uint32_t>(count));
  StoreLe32(image.data() + 20, static_cast<uint32_t>(kBuiltRecordSize));
  for (size_t i = 0; i < count; ++i) {
    uint8_t* record = image.data() + kDatabaseHeaderSize + i * kBuiltRecordSize;
    const std::string& code = airports[i].code;
    std::memcpy(record + kCodeField, code.data(), std::min<size_t>(code.size(), kBuiltCodeLength));
    StoreLeDouble(record + kLatitudeField, airports[i].latitude);
    StoreLeDouble(record + kLongitudeField, airports[i].longitude);
  }
  return image;
}

std::string FieldListText() { return "aica,0,16,C\nalat,16,8,N\nalon,24,8,N\n"; }

int BuildAirportDatabase(const std::string& csvPath, const std::string& databasePath,
                         CsvReadResult& result) {
  result = CsvReadResult();
  std::string text;
  if (!ReadWholeFile(csvPath, text)) {
    result.error = "'" + csvPath + "' cannot be read";
    return 0;
  }
  result = ReadAirportCsv(text);
  if (!result.error.empty()) return 0;
  if (result.airports.size() > static_cast<size_t>(INT32_MAX / kBuiltRecordSize)) {
    result.error = "too many airports";
    return 0;
  }
  const std::string folder = CutToDirectory(databasePath);
  if (!folder.empty() && !platform::MakeDirectory(folder)) {
    result.error = "the folder '" + folder + "' cannot be created";
    return 0;
  }
  const std::vector<uint8_t> image = DatabaseImage(result.airports);
  const std::string fields = FieldListText();
  const std::string fieldPath = ReplaceExtension(databasePath, "dbt");
  if (!platform::WriteStagedFile(databasePath, image.data(), image.size()) ||
      !platform::WriteStagedFile(fieldPath, fields.data(), fields.size())) {
    result.error = "'" + databasePath + "' cannot be written";
    return 0;
  }
  return 1;
}

}  // namespace ostrand
