// Builder of the airport database (the "DBD" file and its "dbt" field
// list, laid out as airport_database.h describes) from a CSV list of
// airports with their code, latitude and longitude in degrees.
//
// Records written, 32 bytes each:
//
//   bytes  0-15  "aica"  code, NUL-padded (at most 15 characters)
//   bytes 16-23  "alat"  latitude, 64-bit little-endian real, seconds of arc
//   bytes 24-31  "alon"  longitude, 64-bit little-endian real, seconds of arc
//
// and the field list lines "aica,0,16,C", "alat,16,8,N", "alon,24,8,N".
//
// CSV: fields separated by commas, optionally in double quotes ("" inside
// quotes is one quote). Without a header line the columns are code,
// latitude, longitude. A first line whose latitude column is not a number is
// a header: the columns are then found by name ("icao", "code", "ident" or
// "aica"; "lat", "latitude" or "alat"; "lon", "lng", "longitude" or
// "alon"), so that larger airport lists can be used as they are. Rows with
// an empty or over-long code, or a position that is not a number or out of
// range, are skipped and counted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ostrand {

inline constexpr int32_t kBuiltRecordSize = 32;
inline constexpr int32_t kBuiltCodeLength = 15;

struct AirportEntry {
  std::string code;
  double latitude = 0.0;   // seconds of arc, north +
  double longitude = 0.0;  // seconds of arc, east +
};

struct CsvReadResult {
  std::vector<AirportEntry> airports;
  int32_t skipped = 0;        // data rows that were not airports
  int32_t firstSkipped = 0;   // line number of the first skipped row, 0: none
  std::string error;          // set when the list cannot be used at all
};

// Splits one CSV line into its fields.
std::vector<std::string> SplitCsvLine(const std::string& line);

// Reads the airports from CSV text.
CsvReadResult ReadAirportCsv(const std::string& text);

// The database image (header and records) and the field list text.
std::vector<uint8_t> DatabaseImage(const std::vector<AirportEntry>& airports);
std::string FieldListText();

// Reads the CSV file and writes the database and its field list (each
// through a temporary file that replaces the old one when complete),
// creating the database's folder when it does not exist. 1 on success;
// 0 with the reason in result.error.
int BuildAirportDatabase(const std::string& csvPath, const std::string& databasePath,
                         CsvReadResult& result);

}  // namespace ostrand
