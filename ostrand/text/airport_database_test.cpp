#include "ostrand/text/airport_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/string_list.h"
#include "ostrand/text/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

const std::string kTestData = OSTRAND_SOURCE_DIR "/ostrand/text/testdata/";

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// Writes the database files; `reset` makes the next look-up read them.
void WriteDatabase(const std::string& image, bool reset = true) {
  std::filesystem::create_directories("DATABASE");
  WriteFileBytes("DATABASE/AIRPORT.DBD", image);
  WriteFileBytes("DATABASE/AIRPORT.dbt", FieldListText());
  if (reset) ResetAirportDatabase();
}

// A field list of the lines of text (';' or a newline ends a line).
STRING_LIST& Fields(std::string text) {
  static STRING_LIST list;
  list.Create(kFieldListCapacity);
  std::replace(text.begin(), text.end(), ';', '\n');
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) list.Add(line.c_str());
  return list;
}

void PutU32(std::vector<uint8_t>& image, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(AirportDatabaseTest, NearestAirportsOfTheTable) {
  const auto rows = testing::TableRows("ostrand/text/testdata/nearest_airports.txt");
  ASSERT_GE(rows.size(), 15u);
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0]);
    ScratchDir dir;
    std::vector<AirportEntry> airports;
    std::istringstream entries(row[1]);
    for (AirportEntry a; entries >> a.code >> a.latitude >> a.longitude; entries.ignore(1)) airports.push_back(a);
    WriteDatabase(Bytes(DatabaseImage(airports)));
    double la, lo, wantLa, wantLo;
    std::istringstream(row[2]) >> la >> lo;
    std::istringstream(row[5]) >> wantLa >> wantLo;
    std::string code = "junk";
    EXPECT_EQ(FindAirport(la, lo, code), std::stoi(row[3]));
    EXPECT_EQ(code, row[4]);
    EXPECT_DOUBLE_EQ(la, wantLa);
    EXPECT_DOUBLE_EQ(lo, wantLo);
  }
  ResetAirportDatabase();
}

TEST(AirportDatabaseTest, HeadersAndFieldListsOfTheTable) {
  const std::vector<uint8_t> good = DatabaseImage({{"AAAA", 10, 20}, {"BBBB", 30, 40}});
  const auto rows = testing::TableRows("ostrand/text/testdata/database_headers.txt");
  ASSERT_GE(rows.size(), 20u);
  for (const auto& row : rows) {
    std::vector<uint8_t> image = good;
    PutU32(image, 16, static_cast<uint32_t>(std::stoul(row[1])));
    PutU32(image, 20, static_cast<uint32_t>(std::stoul(row[2])));
    AirportDatabase db;
    std::string reason;
    EXPECT_EQ(db.LoadImage(image.data(), image.size(), Fields(row[3] == "built" ? FieldListText() : row[3]), reason),
              std::stoi(row[4]))
        << row[0];
    EXPECT_EQ(reason, row[5]) << row[0];
  }
}

TEST(AirportDatabaseTest, MissingDatabaseIsTriedAgainBrokenOneIsNot) {
  ScratchDir dir;
  ResetAirportDatabase();
  double la = 0, lo = 0;
  std::string code;
  EXPECT_EQ(FindAirport(la, lo, code), 0);
  EXPECT_EQ(code, "NONE");
  WriteDatabase(Bytes(DatabaseImage({{"ABCD", 0, 0}})), false);
  EXPECT_EQ(FindAirport(la, lo, code), 1);  // no reset: a missing database is tried again
  EXPECT_EQ(code, "ABCD");

  // A database that fails its checks is reported once and not read again.
  ScratchDir broken;
  WriteDatabase(std::string(10, 'x'));
  EXPECT_EQ(FindAirport(la, lo, code), 0);
  WriteFileBytes("DATABASE/AIRPORT.DBD", Bytes(DatabaseImage({{"ABCD", 0, 0}})));
  EXPECT_EQ(FindAirport(la, lo, code), 0);
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_NE(log.find("INFO: FindAirport database 'DATABASE\\AIRPORT.DBD' not used: "), std::string::npos) << log;
  EXPECT_EQ(log.find("not used"), log.rfind("not used"));  // once
  EXPECT_EQ(log.find("ERROR"), std::string::npos);
  ResetAirportDatabase();
}

TEST(AirportDatabaseTest, TruncatedAtEveryLength) {
  const std::vector<uint8_t> image = DatabaseImage({{"AAAA", 10, 20}, {"BBBB", 30, 40}, {"CCCC", 50, 60}});
  const STRING_LIST& fields = Fields(FieldListText());
  for (size_t n = 0; n <= image.size(); ++n) {
    AirportDatabase db;
    std::string reason;
    const int ok = db.LoadImage(image.data(), n, fields, reason);
    EXPECT_EQ(ok, n == image.size() ? 1 : 0) << n;
    double la = 10, lo = 20;
    std::string code;
    EXPECT_EQ(db.Find(la, lo, code), ok) << n;
    EXPECT_EQ(reason.empty(), ok == 1) << n;
    EXPECT_EQ(db.Count(), ok ? 3 : 0);
  }
  // The same through the file, for a few lengths.
  ScratchDir dir;
  for (size_t n : {size_t{0}, size_t{55}, size_t{56}, image.size() - 1, image.size()}) {
    WriteDatabase(Bytes(image).substr(0, n));
    AirportDatabase db;
    std::string reason;
    EXPECT_EQ(db.LoadFile(kAirportDatabasePath, reason), n == image.size() ? 1 : 0) << n;
  }
  AirportDatabase db;
  std::string reason;
  EXPECT_EQ(db.LoadFile("DATABASE\\MISSING.DBD", reason), -1);
}

// testdata/code_at_record_end.dbd: two records of 20 bytes, latitude,
// longitude and a four-letter code that fills the record without a NUL.
TEST(AirportDatabaseTest, CodeIsReadWithinItsRecord) {
  const std::string image = ReadFileBytes(kTestData + "code_at_record_end.dbd");
  AirportDatabase db;
  std::string reason;
  ASSERT_EQ(db.LoadImage(reinterpret_cast<const uint8_t*>(image.data()), image.size(),
                         Fields("aica,16,4,C;alat,0,8,N;alon,8,8,N"), reason), 1) << reason;
  EXPECT_EQ(db.CodeOf(0) + "," + db.CodeOf(1) + "," + db.CodeOf(2), "ABCD,WXYZ,");
  double la = 5000, lo = 5000;
  std::string code;
  EXPECT_EQ(db.Find(la, lo, code), 1);
  EXPECT_EQ(code, "WXYZ");
}

// testdata/eddh.dbd: the header and one record, Hamburg at 193069.44 and
// 35957.628 seconds of arc.
TEST(AirportDbBuilderTest, ImageBytes) {
  EXPECT_EQ(Bytes(DatabaseImage({{"EDDH", 193069.44, 35957.628}})), ReadFileBytes(kTestData + "eddh.dbd"));
  EXPECT_EQ(FieldListText(), "aica,0,16,C\nalat,16,8,N\nalon,24,8,N\n");
}

TEST(AirportDbBuilderTest, CsvReading) {
  EXPECT_EQ(SplitCsvLine("a, b ,\"c,d\",\"e\"\"f\" ,"), (std::vector<std::string>{"a", "b", "c,d", "e\"f", ""}));
  for (auto row : testing::TableRows("ostrand/text/testdata/airport_lists.txt")) {
    for (const auto& [escape, c] : {std::pair<std::string, char>{"\\n", '\n'}, {"\\r", '\r'}})
      for (size_t at; (at = row[0].find(escape)) != std::string::npos;) row[0].replace(at, 2, 1, c);
    const CsvReadResult r = ReadAirportCsv(row[0]);
    std::string codes;
    for (const AirportEntry& a : r.airports) codes += (codes.empty() ? "" : " ") + a.code;
    EXPECT_EQ(codes, row[1]) << row[0];
    EXPECT_EQ(r.skipped, std::stoi(row[2])) << row[0];
    EXPECT_EQ(!r.error.empty(), row[3] == "1") << row[0];
  }
  const CsvReadResult r = ReadAirportCsv("EDDH,53.5,-9.25\n");
  ASSERT_EQ(r.airports.size(), 1u);
  EXPECT_DOUBLE_EQ(r.airports[0].latitude, 53.5 * 3600);
  EXPECT_DOUBLE_EQ(r.airports[0].longitude, -9.25 * 3600);
}

// Built from a list, then found; a missing list is an error and the
// database stays as it was. With the real airport list too, when present.
TEST(AirportDbBuilderTest, BuildThenFind) {
  ScratchDir dir;
  WriteFileBytes("airports.csv", "EDDH,53.6304,9.98823\nKSFO,37.618806,-122.375417\n");
  std::vector<std::string> lists = {"airports.csv"};
  if (!testing::RealDataDir().empty()) lists.push_back(testing::RealDataDir() + "/airports/airportsdata_airports.csv");
  CsvReadResult result;
  for (const std::string& list : lists) {
    ASSERT_EQ(BuildAirportDatabase(list, kAirportDatabasePath, result), 1) << result.error;
    EXPECT_GE(result.airports.size(), list == "airports.csv" ? 2u : 20000u);
    EXPECT_EQ(ReadFileBytes("DATABASE/AIRPORT.dbt"), FieldListText());
    EXPECT_FALSE(testing::StagedFileLeft("DATABASE"));
    ResetAirportDatabase();
    double la = 53.6304 * 3600 + 100, lo = 9.98823 * 3600;  // 100 seconds of arc from Hamburg
    std::string code;
    EXPECT_EQ(FindAirport(la, lo, code), 1);
    EXPECT_EQ(code, "EDDH");
    EXPECT_DOUBLE_EQ(la, 53.6304 * 3600);
  }
  const std::string before = ReadFileBytes("DATABASE/AIRPORT.DBD");
  EXPECT_EQ(BuildAirportDatabase("missing.csv", kAirportDatabasePath, result), 0);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(ReadFileBytes("DATABASE/AIRPORT.DBD"), before);
  ResetAirportDatabase();
}

}  // namespace
}  // namespace ostrand
