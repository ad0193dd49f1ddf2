// Airport database: loading with checks, and the nearest-airport lookup.
#include "ostrand/text/airport_database.h"

#include <cstring>
#include <memory>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/format_scan.h"
#include "ostrand/frame/little_endian.h"
#include "ostrand/frame/report.h"
#include "ostrand/text/string_list.h"

namespace ostrand {
namespace {

constexpr int32_t kCountOffset = 16;
constexpr int32_t kSizeOffset = 20;
constexpr double kFullCircle = 1296000.0;  // seconds of arc
constexpr double kHalfCircle = 648000.0;

// Offset of a field from the field list: the first line whose first four
// characters are the name; the number after "%4c,". -1 with a reason when
// the field is missing or its offset leaves no room for `width` bytes.
int64_t FieldOffset(const STRING_LIST& fields, const char* name, int32_t recordSize, int32_t width,
                    std::string& reason) {
  const int32_t i = fields.Find(name, 4);
  if (i < 0) {
    reason = std::string("the field list names no field '") + name + "'";
    return -1;
  }
  const std::string line = fields.GetString(i);
  long offset = -1;
  if (line.size() < 5 || ScanText(line.c_str() + 4, ",%ld", {&offset}) != 1) {
    reason = std::string("field '") + name + "' has no offset";
    return -1;
  }
  if (offset < 0 || static_cast<int64_t>(offset) + width > recordSize) {
    reason = std::string("field '") + name + "' at offset " + std::to_string(offset) +
             " does not fit a record of " + std::to_string(recordSize) + " bytes";
    return -1;
  }
  return offset;
}

}  // namespace

int CheckDatabaseHeader(const uint8_t* header, int64_t fileLength, int32_t& count,
                        int32_t& recordSize, std::string& reason) {
  if (fileLength < kDatabaseHeaderSize) {
    reason = "the file is shorter than its header (" + std::to_string(fileLength) + " bytes)";
    return 0;
  }
  const int32_t c = static_cast<int32_t>(LoadLe32(header + kCountOffset));
  const int32_t s = static_cast<int32_t>(LoadLe32(header + kSizeOffset));
  if (c < 0 || s < 1) {
    reason = "absurd header: record count " + std::to_string(c) + ", record size " + std::to_string(s);
    return 0;
  }
  const int64_t needed = static_cast<int64_t>(c) * static_cast<int64_t>(s);
  if (needed > fileLength - kDatabaseHeaderSize) {
    reason = std::to_string(c) + " records of " + std::to_string(s) + " bytes do not fit the file (" +
             std::to_string(fileLength) + " bytes)";
    return 0;
  }
  count = c;
  recordSize = s;
  return 1;
}

void AirportDatabase::Clear() {
  count_ = 0;
  recordSize_ = 0;
  records_.clear();
  latitudes_.clear();
  longitudes_.clear();
  codeOffset_ = 0;
}

int AirportDatabase::FinishLoad(const STRING_LIST& fields, std::string& reason) {
  if (fields.Count() < 1) {
    reason = "the field list is empty or missing";
    Clear();
    return 0;
  }
  const int64_t code = FieldOffset(fields, "aica", recordSize_, 1, reason);
  const int64_t lat = code < 0 ? -1 : FieldOffset(fields, "alat", recordSize_, 8, reason);
  const int64_t lon = lat < 0 ? -1 : FieldOffset(fields, "alon", recordSize_, 8, reason);
  if (lon < 0) {
    Clear();
    return 0;
  }
  codeOffset_ = code;
  latitudes_.resize(static_cast<size_t>(count_));
  longitudes_.resize(static_cast<size_t>(count_));
  for (int32_t i = 0; i < count_; ++i) {
    const uint8_t* record = records_.data() + static_cast<size_t>(i) * static_cast<size_t>(recordSize_);
    latitudes_[static_cast<size_t>(i)] = LoadLeDouble(record + lat);
    longitudes_[static_cast<size_t>(i)] = LoadLeDouble(record + lon);
  }
  return 1;
}

int AirportDatabase::LoadImage(const uint8_t* data, size_t size, const STRING_LIST& fields,
                               std::string& reason) {
  Clear();
  int32_t count = 0;
  int32_t recordSize = 0;
  const int64_t length = size > static_cast<size_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(size);
  if (data == nullptr) return 0;
  if (!CheckDatabaseHeader(data, length, count, recordSize, reason)) return 0;
  count_ = count;
  recordSize_ = recordSize;
  const size_t bytes = static_cast<size_t>(count) * static_cast<size_t>(recordSize);
  records_.assign(data + kDatabaseHeaderSize, data + kDatabaseHeaderSize + bytes);
  return FinishLoad(fields, reason);
}

int AirportDatabase::LoadFile(const std::string& path, std::string& reason) {
  Clear();
  std::FILE* file = WrapFileOpen(path, "rb");
  if (file == nullptr) {
    reason = "the file does not open";
    return -1;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, std::fclose);
  int64_t length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    reason = "the file's length cannot be read";
    return 0;
  }
  uint8_t header[kDatabaseHeaderSize] = {0};
  if (length >= kDatabaseHeaderSize && std::fread(header, 1, sizeof header, file) != sizeof header) {
    reason = "the header cannot be read";
    return 0;
  }
  int32_t count = 0;
  int32_t recordSize = 0;
  if (!CheckDatabaseHeader(header, length, count, recordSize, reason)) return 0;
  const size_t bytes = static_cast<size_t>(count) * static_cast<size_t>(recordSize);
  records_.resize(bytes);
  if (bytes > 0 && std::fread(records_.data(), 1, bytes, file) != bytes) {
    reason = "the records cannot be read";
    Clear();
    return 0;
  }
  count_ = count;
  recordSize_ = recordSize;

  STRING_LIST fields;
  if (!fields.Create(kFieldListCapacity) || fields.Load(ReplaceExtension(path, "dbt").c_str()) < 1) {
    reason = "the field list is empty or missing";
    Clear();
    return 0;
  }
  return FinishLoad(fields, reason);
}

int32_t AirportDatabase::Nearest(double latitude, double longitude) const {
  double best = kAirportSearchLimit;
  int32_t bestIndex = -1;
  for (int32_t i = 0; i < count_; ++i) {
    const double dLat = latitudes_[static_cast<size_t>(i)] - latitude;
    double dLon = longitudes_[static_cast<size_t>(i)] - longitude;
    if (dLon > kHalfCircle)
      dLon -= kFullCircle;
    else if (dLon < -kHalfCircle)
      dLon += kFullCircle;
    const double d2 = dLat * dLat + dLon * dLon;
    if (d2 < best) {
      best = d2;
      bestIndex = i;
    }
  }
  return bestIndex;
}

std::string AirportDatabase::CodeOf(int32_t i) const {
  if (i < 0 || i >= count_) return std::string();
  const char* text = reinterpret_cast<const char*>(records_.data()) +
                     static_cast<size_t>(i) * static_cast<size_t>(recordSize_) + codeOffset_;
  const size_t room = static_cast<size_t>(recordSize_ - codeOffset_);
  const void* nul = std::memchr(text, '\0', room);
  return std::string(text, nul == nullptr ? room : static_cast<size_t>(static_cast<const char*>(nul) - text));
}

int AirportDatabase::Find(double& latitude, double& longitude, std::string& code) const {
  code = "NONE";
  const int32_t i = Nearest(latitude, longitude);
  if (i < 0) return 0;
  std::string found = CodeOf(i);
  if (found.size() != 4) return 0;
  latitude = latitudes_[static_cast<size_t>(i)];
  longitude = longitudes_[static_cast<size_t>(i)];
  if (found[0] == 'K' || found[0] == 'k') found.erase(0, 1);
  code = found;
  return 1;
}

namespace {

enum class DatabaseState { kNotOpen, kLoaded, kFailed };

struct ProcessDatabase {
  DatabaseState state = DatabaseState::kNotOpen;
  AirportDatabase database;
};

ProcessDatabase& TheDatabase() {
  static ProcessDatabase db;
  return db;
}

}  // namespace

int FindAirport(double& latitude, double& longitude, std::string& code) {
  code = "NONE";
  ProcessDatabase& db = TheDatabase();
  if (db.state == DatabaseState::kNotOpen) {
    std::string reason;
    const int loaded = db.database.LoadFile(kAirportDatabasePath, reason);
    if (loaded > 0) {
      db.state = DatabaseState::kLoaded;
    } else if (loaded == 0) {
      db.state = DatabaseState::kFailed;
      const std::string line = std::string("INFO: FindAirport database '") + kAirportDatabasePath +
                               "' not used: " + reason;
      ReportError(">%s", line.c_str());
    }
  }
  if (db.state != DatabaseState::kLoaded) return 0;
  return db.database.Find(latitude, longitude, code);
}

void ResetAirportDatabase() {
  ProcessDatabase& db = TheDatabase();
  db.state = DatabaseState::kNotOpen;
  db.database = AirportDatabase();
}

}  // namespace ostrand
