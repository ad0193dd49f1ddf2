// Synthetic scenery text for the benchmarks and the output checks: an
// airport database of airports far apart on a grid over the globe, and a
// text of runways, taxiway polylines, aprons and lights spread over some of
// them. Deterministic, so every run reads the same text.
#pragma once

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ostrand/text/airport_database.h"
#include "ostrand/text/airport_db_builder.h"

namespace ostrand::bench {

// Airport i of the database: a grid of 150 rows by 200 columns over the
// globe, every one far from the others; codes "AAAA", "AAAB", ...
inline AirportEntry DatabaseAirport(int i) {
  AirportEntry a;
  const int row = i / 200;
  const int column = i % 200;
  a.latitude = (-60.0 + row * 0.85) * 3600.0;
  a.longitude = (-179.0 + column * 1.79) * 3600.0;
  for (int k = 0, v = i; k < 4; ++k, v /= 26) a.code.insert(a.code.begin(), static_cast<char>('A' + v % 26));
  return a;
}

// The airport of the database that airport `a` of the text lies at.
inline int TextAirport(int a) { return 1000 + a * 1400; }

// Writes DATABASE/AIRPORT.DBD and its field list with the first `count`
// airports of the grid, and the exclusion list the text needs.
inline void WriteAirportDatabase(int count) {
  std::vector<AirportEntry> airports;
  for (int i = 0; i < count; ++i) airports.push_back(DatabaseAirport(i));
  const std::vector<uint8_t> image = DatabaseImage(airports);
  std::ofstream("DATABASE/AIRPORT.DBD", std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  std::ofstream("DATABASE/AIRPORT.dbt") << FieldListText();
  std::ofstream("excllist.txt") << "ARE 10 \"SCENERY\\BENCH\\\"\nXCL 5 0 0 1 1 1\n";
}

namespace scenery_detail {

inline std::string Coordinate(double seconds, char positive, char negative) {
  char text[64];
  const double v = std::fabs(seconds);
  const int degrees = static_cast<int>(v / 3600);
  const int minutes = static_cast<int>((v - degrees * 3600) / 60);
  std::snprintf(text, sizeof text, "%c%d:%d:%.4f", seconds < 0 ? negative : positive, degrees, minutes,
                v - degrees * 3600 - minutes * 60);
  return text;
}

inline std::string Reference(double lat, double lon) {
  return Coordinate(lat, 'N', 'S') + " " + Coordinate(lon, 'E', 'W');
}

}  // namespace scenery_detail

// `lines` lines over `airports` airports (TextAirport(0), TextAirport(1),
// ...), the same number for each: two runways, then blocks of a reference
// point, a taxiway polyline of 20 edges, an apron and lights.
inline void WriteSceneryText(const char* name, int lines, int airports) {
  using scenery_detail::Reference;
  std::ofstream out(name);
  const int perAirport = lines / airports;
  for (int a = 0; a < airports; ++a) {
    const AirportEntry ap = DatabaseAirport(TextAirport(a));
    int written = 0;
    out << "SRC \"SCENERY\\BENCH\\airport" << a << ".bgl\"\n";
    out << "RWY 09 27 ASPH 0 9000 150 " << Reference(ap.latitude, ap.longitude - 40) << " "
        << Reference(ap.latitude, ap.longitude + 40) << "\n";
    out << "RWY 18 36 ASPH 0 9000 150 " << Reference(ap.latitude + 40, ap.longitude) << " "
        << Reference(ap.latitude - 40, ap.longitude) << "\n";
    written += 3;
    for (int block = 0; written < perAirport; ++block) {
      out << "REF " << Reference(ap.latitude + (block % 7), ap.longitude + (block % 5)) << "\n";
      out << "MOV " << (block % 40) * 150 - 3000 << " 0 " << (block / 40) * 150 - 3000 << " 0 0\n";
      written += 2;
      for (int k = 1; k <= 20 && written < perAirport; ++k, ++written)
        out << "LIN " << (block % 40) * 150 - 3000 + k * 7 << " 0 " << (block / 40) * 150 - 3000 + (k % 2) * 20
            << " 50 15\n";
      for (int k = 0; k < 4 && written < perAirport; ++k, ++written)
        out << "POI " << (k % 2) * 100 << " 0 " << (k / 2) * 100 << "\n";
      if (written < perAirport) {
        out << "PLY \"apron " << block << "\"\n";
        ++written;
      }
      for (int k = 0; k < 3 && written < perAirport; ++k, ++written)
        out << "LGT 1 0 0 " << k * 10 << " 500 0 " << k * 10 << " " << (k + 1) * 3 << "\n";
    }
  }
  out << "EXI\n";
}

}  // namespace ostrand::bench
