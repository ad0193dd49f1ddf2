// airportdb: builds the airport database that "ostrand -te" finds airports
// in, from a CSV list of airports (code, latitude, longitude in degrees; or
// a list with a header line naming those columns).
//
//   airportdb AIRPORTS.CSV [DATABASE\AIRPORT.DBD]
//
// Writes the database and its field list (extension "dbt") beside it,
// creating the folder when needed. Exit status 0 on success, 1 on failure.
#include <cstdio>
#include <string>

#include "ostrand/text/airport_database.h"
#include "ostrand/text/airport_db_builder.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr,
                 "usage: airportdb AIRPORTS.CSV [DATABASE\\AIRPORT.DBD]\n"
                 "  AIRPORTS.CSV  lines of code,latitude,longitude in degrees (north and east\n"
                 "                positive), or a header line naming the icao/code, lat and\n"
                 "                lon columns followed by such lines\n");
    return 1;
  }
  const std::string csv = argv[1];
  const std::string database = argc == 3 ? argv[2] : ostrand::kAirportDatabasePath;
  ostrand::CsvReadResult result;
  if (!ostrand::BuildAirportDatabase(csv, database, result)) {
    std::fprintf(stderr, "airportdb: %s\n", result.error.c_str());
    return 1;
  }
  std::printf("airportdb: %zu airports written to %s\n", result.airports.size(), database.c_str());
  if (result.skipped > 0)
    std::printf("airportdb: %ld lines skipped (not code, latitude, longitude), the first at line %ld\n",
                static_cast<long>(result.skipped), static_cast<long>(result.firstSkipped));
  return 0;
}
