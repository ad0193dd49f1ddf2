// The readers and the writer on small made-up sources: the exact scenery
// text of each format, damage (every truncation, corrupted fields), and the
// command's exit status and care for the files it replaces.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/xml_input.hpp>

#include "ostrand/text/test_support.h"
#include "tools/airportimport/aptdat_reader.h"
#include "tools/airportimport/file_text.h"
#include "tools/airportimport/groundnet_reader.h"
#include "tools/airportimport/import_command.h"
#include "tools/airportimport/import_error.h"
#include "tools/airportimport/network_check.h"
#include "tools/airportimport/osm_data.h"
#include "tools/airportimport/scenery_writer.h"

namespace airportimport {
namespace {

namespace fs = std::filesystem;
const std::string kData = OSTRAND_SOURCE_DIR "/tools/airportimport/testdata/";

std::string PbfOf(const std::string& osm) {
  const std::string path = (fs::temp_directory_path() / ("airportimport_small_" + std::to_string(getpid()) + ".osm.pbf")).string();
  osmium::io::Reader in{osmium::io::File(osm.data(), osm.size(), "osm")};
  osmium::io::Writer out{path, osmium::io::overwrite::allow};
  while (osmium::memory::Buffer buffer = in.read()) out(std::move(buffer));
  out.close();
  in.close();
  const std::string bytes = ReadFileText(path);
  fs::remove(path);
  return bytes;
}

// A source (its bytes), its reader and the file of the scenery text it gives.
struct Format {
  std::string file, bytes, golden;
  std::function<Airport(const std::string& bytes)> read;
};

const std::vector<Format>& Formats() {
  static const std::vector<Format> formats = {
      {"EDXB.groundnet.xml", ReadFileText(kData + "EDXB.groundnet.xml"), "EDXB.txt",
       [](const std::string& t) {
         GroundnetOptions o;
         o.code = "EDXB";
         Airport a = ReadGroundnetText(t, "EDXB.groundnet.xml", o);
         // The runway from the thresholds file, as ReadGroundnet adds it.
         o.thresholdPath = kData + "EDXB.threshold.xml";
         o.runwaysCsv = kData + "runways.csv";
         a.runways = ReadGroundnet(kData + "EDXB.groundnet.xml", o).runways;
         return a;
       }},
      {"two_airports.apt.dat", ReadFileText(kData + "two_airports.apt.dat"), "EDXC.txt",
       [](const std::string& t) { return ReadAptDatText(t, "two_airports.apt.dat", {"EDXC", 75, 150}); }},
      {"small_airport.osm", ReadFileText(kData + "small_airport.osm"), "small_airport.txt",
       [](const std::string& t) { return AirportFromOsm(ReadOsmBuffer(t, "osm", "small_airport.osm"), "small_airport.osm", {}); }},
      {"small_airport.json", ReadFileText(kData + "small_airport.json"), "small_airport.txt",
       [](const std::string& t) { return AirportFromOsm(ReadOverpassJson(t, "small_airport.osm"), "small_airport.osm", {}); }},
      {"pbf", PbfOf(ReadFileText(kData + "small_airport.osm")), "small_airport.txt",
       [](const std::string& t) { return AirportFromOsm(ReadOsmBuffer(t, "pbf", "small_airport.osm"), "small_airport.osm", {}); }},
  };
  return formats;
}

std::string Text(Airport a) {
  if (!a.hasReference) a.reference = CentreOf(a);
  a.reference = {std::round(a.reference.lat * 1e6) / 1e6, std::round(a.reference.lon * 1e6) / 1e6};
  return SceneryText(a);
}

// The exact scenery text of each source; every prefix of it is read or
// refused with ImportError, and what is read can be written and checked.
TEST(Formats, SceneryTextAndTruncationOfEachSource) {
  for (const Format& f : Formats()) {
    SCOPED_TRACE(f.file);
    EXPECT_EQ(Text(f.read(f.bytes)), ReadFileText(kData + f.golden));
    for (size_t n = 0; n < f.bytes.size(); n += f.file == "small_airport.osm" ? 3 : 1) {
      try {
        const Airport a = f.read(f.bytes.substr(0, n));
        Text(a);
        CheckAirport(a);
      } catch (const ImportError&) {
      }
    }
  }
}

// The rows of testdata/corruptions.txt: one field corrupted, and its error.
TEST(Formats, CorruptFieldsGiveTheirError) {
  const auto rows = ostrand::testing::TableRows("tools/airportimport/testdata/corruptions.txt");
  ASSERT_GE(rows.size(), 16u);
  for (const auto& row : rows) {
    SCOPED_TRACE(row[2]);
    const Format& f = *std::find_if(Formats().begin(), Formats().end(), [&](const Format& g) { return g.file == row[0]; });
    std::string text = f.bytes;
    const size_t at = text.find(row[1]);
    ASSERT_NE(at, std::string::npos) << row[1];
    try {
      f.read(text.replace(at, row[1].size(), row[2]));
      ADD_FAILURE() << "no error";
    } catch (const ImportError& e) {
      EXPECT_NE(std::string(e.what()).find(row[3]), std::string::npos) << e.what();
    }
  }
}

// Exit status, and an output file that is replaced whole with its mode kept,
// or left as it was.
TEST(Command, StatusAndTheFilesItReplaces) {
  const fs::path dir = fs::temp_directory_path() / ("airportimport_command_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string out = (dir / "out.txt").string(), bad = (dir / "bad.json").string();
  std::ofstream(out) << "old";
  const fs::perms mode = static_cast<fs::perms>(0640);
  fs::permissions(out, mode);
  std::ofstream(bad) << "{\"elements\": [";
  const std::tuple<std::vector<std::string>, int, bool> rows[] = {
      {{bad, "-o", out}, 1, false},
      {{kData + "missing.osm", "-o", out}, 1, false},
      {{kData + "two_airports.apt.dat", "-o", out}, 1, false},
      {{kData + "small_airport.osm", "--bogus"}, 1, false},
      {{kData + "small_airport.osm", "--ref", "91,0", "-o", out}, 1, false},
      {{kData + "EDXB.groundnet.xml", "--runways", kData + "runways.csv", "-o", out}, 0, true},
      {{kData + "small_airport.osm", "-o", out}, 2, true},
      {{"--help"}, 0, false},
  };
  for (const auto& [args, status, replaced] : rows) {
    std::ofstream(out) << "old";
    EXPECT_EQ(RunImport(args), status) << args[0];
    EXPECT_EQ(ReadFileText(out) != "old", replaced) << args[0];
    EXPECT_EQ(fs::status(out).permissions(), mode);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // nothing staged left
  fs::remove_all(dir);
}

}  // namespace
}  // namespace airportimport
