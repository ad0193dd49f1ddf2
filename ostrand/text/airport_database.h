// Airport database: finds the airport nearest to a reference point, for the
// scenery text interpreter. The database is two files in the folder
// "DATABASE" of the working directory.
//
// "AIRPORT.DBD", binary, integers 32-bit little-endian:
//
//   bytes  0-15   not used
//   bytes 16-19   record count
//   bytes 20-23   record size in bytes
//   bytes 24-55   not used
//   byte  56 on   record count x record size bytes of records
//
// The field list, the same name with the extension "dbt": a text file with
// one line per field, "%4c,%ld,%ld,%c": a four-character field name, the
// field's byte offset within a record, a second number (the field's length,
// not used) and a type letter (not used). Three fields are used, their
// names compared without regard to case:
//
//   "aica"  the airport's code, a NUL-terminated text (ends at the end of
//           the record when no NUL comes first)
//   "alat"  latitude, a little-endian 64-bit real, seconds of arc, north +
//   "alon"  longitude, a little-endian 64-bit real, seconds of arc, east +
//
// Nothing in the files is trusted: the record count and size must fit the
// file's length (checked before anything is allocated), the field list must
// name all three fields, and every offset must leave room for its value in
// a record. A database that fails a check is not used.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ostrand {

class STRING_LIST;

inline constexpr const char* kAirportDatabasePath = "DATABASE\\AIRPORT.DBD";
inline constexpr int32_t kDatabaseHeaderSize = 56;
inline constexpr int32_t kFieldListCapacity = 32768;
// Squared distance limit in square seconds of arc (about 282.8 seconds).
inline constexpr double kAirportSearchLimit = 80000.0;

class AirportDatabase {
 public:
  // Reads the database file and its field list. 1 when usable; 0 when the
  // files opened but failed a check (reason says which); -1 when the
  // database file does not open.
  int LoadFile(const std::string& path, std::string& reason);

  // The same checks on a database image held in memory and a field list.
  int LoadImage(const uint8_t* data, size_t size, const STRING_LIST& fields, std::string& reason);

  // Index of the nearest record within the search limit (the first of
  // equally near ones), or -1. Longitude differences are taken across the
  // shorter way round the globe.
  int32_t Nearest(double latitude, double longitude) const;

  // FindAirport on this database: 1 when the nearest record within the
  // limit has a four-character code; then the position becomes the
  // airport's and code its code, a leading 'K' dropped. Otherwise 0, code
  // "NONE", position unchanged.
  int Find(double& latitude, double& longitude, std::string& code) const;

  int32_t Count() const { return count_; }
  // The code text of record i, read within the record.
  std::string CodeOf(int32_t i) const;
  double LatitudeOf(int32_t i) const { return latitudes_[static_cast<size_t>(i)]; }
  double LongitudeOf(int32_t i) const { return longitudes_[static_cast<size_t>(i)]; }

 private:
  int FinishLoad(const STRING_LIST& fields, std::string& reason);
  void Clear();

  int32_t count_ = 0;
  int32_t recordSize_ = 0;
  std::vector<uint8_t> records_;
  int64_t codeOffset_ = 0;
  std::vector<double> latitudes_;
  std::vector<double> longitudes_;
};

// Checks the header of a database of fileLength bytes: count and size must
// be non-negative, the size at least 1, and count x size bytes must follow
// the header. 1 when it fits.
int CheckDatabaseHeader(const uint8_t* header, int64_t fileLength, int32_t& count,
                        int32_t& recordSize, std::string& reason);

// The process-wide lookup over "DATABASE\AIRPORT.DBD", opened at the first
// call. A database that does not open is tried again at the next call; one
// that opened but failed a check is logged once as an information line and
// not tried again.
int FindAirport(double& latitude, double& longitude, std::string& code);

// Forgets the process-wide database (tests).
void ResetAirportDatabase();

}  // namespace ostrand
