#include "ostrand/text/airport_database.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "ostrand/frame/test_support.h"
#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/string_list.h"

namespace ostrand {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

void WriteDatabase(const std::vector<AirportEntry>& airports,
                   const std::string& fields = FieldListText()) {
  std::filesystem::create_directories("DATABASE");
  WriteFileBytes("DATABASE/AIRPORT.DBD", Bytes(DatabaseImage(airports)));
  WriteFileBytes("DATABASE/AIRPORT.dbt", fields);
  ResetAirportDatabase();
}

STRING_LIST& Fields(const std::string& text) {
  static STRING_LIST list;
  list.Create(kFieldListCapacity);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    if (end > pos) list.Add(text.substr(pos, end - pos).c_str());
    pos = end + 1;
  }
  return list;
}

TEST(AirportDatabaseTest, FindAirportTable) {
  const double lat = 180000.0;  // 50 N
  const double lon = 36000.0;   // 10 E
  struct Case {
    const char* name;
    std::vector<AirportEntry> airports;
    int found;
    const char* code;
    double lat;
    double lon;
    double askLat = 180000.0;
    double askLon = 36000.0;
  } cases[] = {
      {"200 s north is found", {{"EDXY", lat + 200, lon}}, 1, "EDXY", lat + 200, lon},
      {"300 s north is not", {{"EDXY", lat + 300, lon}}, 0, "NONE", lat, lon},
      {"just inside the limit", {{"EDXY", lat + 282, lon}}, 1, "EDXY", lat + 282, lon},
      {"just outside the limit", {{"EDXY", lat + 283, lon}}, 0, "NONE", lat, lon},
      {"first of equal distances", {{"AAAA", lat + 100, lon}, {"BBBB", lat - 100, lon}}, 1, "AAAA",
       lat + 100, lon},
      {"nearer one wins", {{"AAAA", lat + 150, lon}, {"BBBB", lat - 100, lon}}, 1, "BBBB", lat - 100,
       lon},
      {"leading K dropped", {{"KSFO", lat, lon + 10}}, 1, "SFO", lat, lon + 10},
      {"leading k dropped", {{"kabc", lat, lon}}, 1, "abc", lat, lon},
      {"K elsewhere stays", {{"EDKK", lat, lon}}, 1, "EDKK", lat, lon},
      {"three letters rejected", {{"ABC", lat, lon}}, 0, "NONE", lat, lon},
      {"nearest with three letters hides a farther one", {{"ABCD", lat + 100, lon}, {"XYZ", lat, lon}}, 0,
       "NONE", lat, lon},
      {"five letters rejected", {{"ABCDE", lat, lon}}, 0, "NONE", lat, lon},
      {"empty database", {}, 0, "NONE", lat, lon},
      // Longitude differences go the short way: stored west-negative, asked
      // east of 0 to 360 degrees, and across 180.
      {"west asked east of 0 to 360", {{"WEST", 100000, -300000}, {"DATE", 0, 647950}}, 1, "WEST",
       100000, -300000, 100000, 1296000 - 300100},
      {"across 180 degrees", {{"WEST", 100000, -300000}, {"DATE", 0, 647950}}, 1, "DATE", 0, 647950,
       0, -647950},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    WriteDatabase(c.airports);
    double la = c.askLat;
    double lo = c.askLon;
    std::string code = "junk";
    EXPECT_EQ(FindAirport(la, lo, code), c.found) << c.name;
    EXPECT_EQ(code, c.code) << c.name;
    EXPECT_DOUBLE_EQ(la, c.lat) << c.name;
    EXPECT_DOUBLE_EQ(lo, c.lon) << c.name;
  }
  ResetAirportDatabase();
}

TEST(AirportDatabaseTest, MissingDatabaseIsTriedAgainBrokenOneIsNot) {
  ScratchDir dir;
  ResetAirportDatabase();
  double la = 0, lo = 0;
  std::string code;
  EXPECT_EQ(FindAirport(la, lo, code), 0);
  EXPECT_EQ(code, "NONE");
  WriteDatabase({{"ABCD", 0, 0}});
  // WriteDatabase resets; without the reset a missing database is retried.
  {
    ScratchDir other;
    ResetAirportDatabase();
    EXPECT_EQ(FindAirport(la, lo, code), 0);
  }
  EXPECT_EQ(FindAirport(la, lo, code), 1);
  EXPECT_EQ(code, "ABCD");

  // A database that fails its checks is reported once and not read again.
  ScratchDir broken;
  std::filesystem::create_directories("DATABASE");
  WriteFileBytes("DATABASE/AIRPORT.DBD", std::string(10, 'x'));
  WriteFileBytes("DATABASE/AIRPORT.dbt", FieldListText());
  ResetAirportDatabase();
  EXPECT_EQ(FindAirport(la, lo, code), 0);
  WriteFileBytes("DATABASE/AIRPORT.DBD", Bytes(DatabaseImage({{"ABCD", 0, 0}})));
  EXPECT_EQ(FindAirport(la, lo, code), 0);
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_NE(log.find("INFO: FindAirport database 'DATABASE\\AIRPORT.DBD' not used: "), std::string::npos)
      << log;
  EXPECT_EQ(log.find("not used"), log.rfind("not used"));  // once
  EXPECT_EQ(log.find("ERROR"), std::string::npos);
  ResetAirportDatabase();
}

TEST(AirportDatabaseTest, TruncatedAtEveryLength) {
  const std::vector<uint8_t> image =
      DatabaseImage({{"AAAA", 10, 20}, {"BBBB", 30, 40}, {"CCCC", 50, 60}});
  const STRING_LIST& fields = Fields(FieldListText());
  for (size_t n = 0; n <= image.size(); ++n) {
    AirportDatabase db;
    std::string reason;
    const int ok = db.LoadImage(image.data(), n, fields, reason);
    EXPECT_EQ(ok, n == image.size() ? 1 : 0) << n;
    if (!ok) {
      EXPECT_FALSE(reason.empty()) << n;
      EXPECT_EQ(db.Count(), 0);
      double la = 10, lo = 20;
      std::string code;
      EXPECT_EQ(db.Find(la, lo, code), 0);
    }
  }
  // The same through the file, for a few lengths.
  ScratchDir dir;
  std::filesystem::create_directories("DATABASE");
  WriteFileBytes("DATABASE/AIRPORT.dbt", FieldListText());
  for (size_t n : {size_t{0}, size_t{1}, size_t{55}, size_t{56}, image.size() - 1, image.size()}) {
    WriteFileBytes("DATABASE/AIRPORT.DBD", Bytes(image).substr(0, n));
    AirportDatabase db;
    std::string reason;
    EXPECT_EQ(db.LoadFile(kAirportDatabasePath, reason), n == image.size() ? 1 : 0) << n;
  }
}

void PutU32(std::vector<uint8_t>& image, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) image[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(AirportDatabaseTest, AbsurdHeadersAndFieldLists) {
  const std::vector<uint8_t> good = DatabaseImage({{"AAAA", 10, 20}, {"BBBB", 30, 40}});
  struct Case {
    const char* name;
    uint32_t count;
    uint32_t size;
    std::string fields;
    int ok;
  } cases[] = {
      {"as built", 2, 32, FieldListText(), 1},
      {"fewer records than stored", 1, 32, FieldListText(), 1},
      {"no records", 0, 32, FieldListText(), 1},
      {"negative count", 0xFFFFFFFFu, 32, FieldListText(), 0},
      {"huge count", 0x7FFFFFFFu, 32, FieldListText(), 0},
      {"zero size", 2, 0, FieldListText(), 0},
      {"negative size", 2, 0x80000000u, FieldListText(), 0},
      {"count times size overflows 32 bits", 65536, 65536, FieldListText(), 0},
      {"size larger than the records", 2, 33, FieldListText(), 0},
      {"empty field list", 2, 32, "", 0},
      {"no alat", 2, 32, "aica,0,16,C\nalon,24,8,N\n", 0},
      {"no aica", 2, 32, "alat,16,8,N\nalon,24,8,N\n", 0},
      {"offset past the record", 2, 32, "aica,0,16,C\nalat,25,8,N\nalon,24,8,N\n", 0},
      {"negative offset", 2, 32, "aica,-1,16,C\nalat,16,8,N\nalon,24,8,N\n", 0},
      {"code at the last byte", 2, 32, "aica,31,1,C\nalat,16,8,N\nalon,24,8,N\n", 1},
      {"code past the record", 2, 32, "aica,32,1,C\nalat,16,8,N\nalon,24,8,N\n", 0},
      {"offset not a number", 2, 32, "aica,x,16,C\nalat,16,8,N\nalon,24,8,N\n", 0},
      {"huge offset", 2, 32, "aica,99999999999,16,C\nalat,16,8,N\nalon,24,8,N\n", 0},
      {"names in other case", 2, 32, "AICA,0,16,C\nALat,16,8,N\naLON,24,8,N\n", 1},
      {"short line", 2, 32, "aica\nalat,16,8,N\nalon,24,8,N\n", 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> image = good;
    PutU32(image, 16, c.count);
    PutU32(image, 20, c.size);
    AirportDatabase db;
    std::string reason;
    EXPECT_EQ(db.LoadImage(image.data(), image.size(), Fields(c.fields), reason), c.ok)
        << c.name << ": " << reason;
    EXPECT_EQ(reason.empty(), c.ok == 1) << c.name;
  }
}

TEST(AirportDatabaseTest, CodeIsReadWithinItsRecord) {
  // A code that fills its record to the last byte, without a NUL.
  std::vector<uint8_t> image(56 + 2 * 20, 0);
  PutU32(image, 16, 2);
  PutU32(image, 20, 20);
  auto putF64 = [&](size_t at, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i) image[at + static_cast<size_t>(i)] = static_cast<uint8_t>(bits >> (8 * i));
  };
  putF64(56 + 0, 100.0);
  putF64(56 + 8, 200.0);
  std::memcpy(&image[56 + 16], "ABCD", 4);
  putF64(56 + 20, 5000.0);
  putF64(56 + 28, 5000.0);
  std::memcpy(&image[56 + 36], "WXYZ", 4);
  AirportDatabase db;
  std::string reason;
  ASSERT_EQ(db.LoadImage(image.data(), image.size(), Fields("aica,16,4,C\nalat,0,8,N\nalon,8,8,N\n"),
                         reason),
            1)
      << reason;
  EXPECT_EQ(db.CodeOf(0), "ABCD");
  EXPECT_EQ(db.CodeOf(1), "WXYZ");
  EXPECT_EQ(db.CodeOf(2), "");
  double la = 100, lo = 200;
  std::string code;
  EXPECT_EQ(db.Find(la, lo, code), 1);
  EXPECT_EQ(code, "ABCD");
}

TEST(AirportDbBuilderTest, ImageBytes) {
  const std::vector<uint8_t> image = DatabaseImage({{"EDDH", 193069.44, 35957.628}});
  ASSERT_EQ(image.size(), 56u + 32u);
  const std::string header(image.begin(), image.begin() + 24);
  EXPECT_EQ(header, std::string(16, '\0') + std::string("\x01\0\0\0\x20\0\0\0", 8));
  EXPECT_EQ(std::string(image.begin() + 56, image.begin() + 72), std::string("EDDH") + std::string(12, '\0'));
  double lat, lon;
  std::memcpy(&lat, &image[56 + 16], 8);
  std::memcpy(&lon, &image[56 + 24], 8);
  EXPECT_EQ(lat, 193069.44);
  EXPECT_EQ(lon, 35957.628);
  EXPECT_EQ(FieldListText(), "aica,0,16,C\nalat,16,8,N\nalon,24,8,N\n");
}

TEST(AirportDbBuilderTest, CsvReading) {
  EXPECT_EQ(SplitCsvLine("a, b ,\"c,d\",\"e\"\"f\" ,"),
            (std::vector<std::string>{"a", "b", "c,d", "e\"f", ""}));
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> codes;
    int skipped;
    bool error;
  } cases[] = {
      {"plain", "EDDH,53.6304,9.98823\nLSZH,47.4647,8.54917\n", {"EDDH", "LSZH"}, 0, false},
      {"CRLF and blank lines", "EDDH,53.6304,9.98823\r\n\r\nLSZH,47.4647,8.54917\r\n", {"EDDH", "LSZH"}, 0,
       false},
      {"header by name", "\"name\",\"icao\",\"lon\",\"lat\"\n\"Hamburg\",\"EDDH\",9.98823,53.6304\n", {"EDDH"},
       0, false},
      {"plain header", "code,latitude,longitude\nEDDH,53.6304,9.98823\n", {"EDDH"}, 0, false},
      {"unknown header", "a,b,c\nEDDH,53.6304,9.98823\n", {}, 0, true},
      {"bad rows skipped",
       "EDDH,53.6304,9.98823\n,1,2\nX,91,0\nY,0,181\nZ,abc,1\nW,1\nVERYLONGCODE1234,1,1\nOK,1e400,1\n", {"EDDH"},
       7, false},
      {"empty", "", {}, 0, false},
  };
  for (const Case& c : cases) {
    const CsvReadResult r = ReadAirportCsv(c.text);
    std::vector<std::string> codes;
    for (const AirportEntry& a : r.airports) codes.push_back(a.code);
    EXPECT_EQ(codes, c.codes) << c.name;
    EXPECT_EQ(r.skipped, c.skipped) << c.name;
    EXPECT_EQ(!r.error.empty(), c.error) << c.name;
  }
  const CsvReadResult r = ReadAirportCsv("EDDH,53.5,-9.25\n");
  ASSERT_EQ(r.airports.size(), 1u);
  EXPECT_DOUBLE_EQ(r.airports[0].latitude, 53.5 * 3600);
  EXPECT_DOUBLE_EQ(r.airports[0].longitude, -9.25 * 3600);
}

TEST(AirportDbBuilderTest, BuildThenFind) {
  ScratchDir dir;
  WriteFileBytes("airports.csv", "EDDH,53.6304,9.98823\nKSFO,37.618806,-122.375417\n");
  CsvReadResult result;
  ASSERT_EQ(BuildAirportDatabase("airports.csv", kAirportDatabasePath, result), 1) << result.error;
  EXPECT_EQ(result.airports.size(), 2u);
  EXPECT_TRUE(testing::FileExistsOnDisk("DATABASE/AIRPORT.DBD"));
  EXPECT_EQ(ReadFileBytes("DATABASE/AIRPORT.dbt"), FieldListText());
  EXPECT_FALSE(testing::FileExistsOnDisk("DATABASE/AIRPORT.DBD.tmp"));
  ResetAirportDatabase();
  double la = 37.62 * 3600, lo = -122.375 * 3600;
  std::string code;
  EXPECT_EQ(FindAirport(la, lo, code), 1);
  EXPECT_EQ(code, "SFO");
  EXPECT_DOUBLE_EQ(la, 37.618806 * 3600);
  // A missing list is an error, and the database stays as it was.
  EXPECT_EQ(BuildAirportDatabase("missing.csv", kAirportDatabasePath, result), 0);
  EXPECT_FALSE(result.error.empty());
  ResetAirportDatabase();
}

TEST(AirportDbBuilderTest, RealAirportList) {
  const std::string real = testing::RealDataDir();
  if (real.empty()) GTEST_SKIP() << "no real data";
  ScratchDir dir;
  CsvReadResult result;
  ASSERT_EQ(BuildAirportDatabase(real + "/airports/airportsdata_airports.csv", kAirportDatabasePath, result),
            1)
      << result.error;
  EXPECT_GT(result.airports.size(), 20000u);
  ResetAirportDatabase();
  // Hamburg, from a point 100 seconds of arc away.
  double la = 53.6304 * 3600 + 100, lo = 9.98823 * 3600;
  std::string code;
  EXPECT_EQ(FindAirport(la, lo, code), 1);
  EXPECT_EQ(code, "EDDH");
  ResetAirportDatabase();
}

}  // namespace
}  // namespace ostrand
