// The readers and the writer on small made-up sources: the exact scenery
// text of each format, damage (every truncation, corrupted fields), and the
// command's exit status and care for the files it replaces.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/xml_input.hpp>

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

using Reader = std::function<Airport(const std::string& text)>;

std::string PbfOf(const std::string& osm) {
  const std::string path = (fs::temp_directory_path() / "airportimport_small.osm.pbf").string();
  osmium::io::Reader in{osmium::io::File(osm.data(), osm.size(), "osm")};
  osmium::io::Writer out{path, osmium::io::overwrite::allow};
  while (osmium::memory::Buffer buffer = in.read()) out(std::move(buffer));
  out.close();
  in.close();
  return ReadFileText(path);
}

struct Format {
  const char* file;
  const char* golden;
  Reader read;
};

const std::vector<Format>& Formats() {
  static const std::vector<Format> formats = {
      {"EDXB.groundnet.xml", "EDXB.txt",
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
      {"two_airports.apt.dat", "EDXC.txt",
       [](const std::string& t) { return ReadAptDatText(t, "two_airports.apt.dat", {"EDXC", 75, 150}); }},
      {"small_airport.osm", "small_airport.txt",
       [](const std::string& t) { return AirportFromOsm(ReadOsmBuffer(t, "osm", "small_airport.osm"), "small_airport.osm", {}); }},
      {"small_airport.json", "small_airport.txt",
       [](const std::string& t) { return AirportFromOsm(ReadOverpassJson(t, "small_airport.osm"), "small_airport.osm", {}); }},
  };
  return formats;
}

std::string Text(Airport a) {
  if (!a.hasReference) a.reference = CentreOf(a);
  a.reference = {std::round(a.reference.lat * 1e6) / 1e6, std::round(a.reference.lon * 1e6) / 1e6};
  return SceneryText(a);
}

TEST(Formats, SceneryTextOfEachSource) {
  for (const Format& f : Formats()) {
    SCOPED_TRACE(f.file);
    EXPECT_EQ(Text(f.read(ReadFileText(kData + f.file))), ReadFileText(kData + f.golden));
  }
  const std::string pbf = PbfOf(ReadFileText(kData + "small_airport.osm"));
  EXPECT_EQ(Text(AirportFromOsm(ReadOsmBuffer(pbf, "pbf", "small_airport.osm"), "small_airport.osm", {})),
            ReadFileText(kData + "small_airport.txt"));
}

// Every prefix of every source is read or refused with ImportError; what is
// read can be written and checked.
TEST(Formats, TruncatedAtEveryLength) {
  std::vector<Format> all = Formats();
  const std::string pbf = PbfOf(ReadFileText(kData + "small_airport.osm"));
  all.push_back({"pbf", "", [](const std::string& t) { return AirportFromOsm(ReadOsmBuffer(t, "pbf", "x.pbf"), "x.pbf", {}); }});
  for (const Format& f : all) {
    const std::string text = std::string(f.file) == "pbf" ? pbf : ReadFileText(kData + f.file);
    for (size_t n = 0; n < text.size(); n += std::string(f.file) == "small_airport.osm" ? 3 : 1) {
      try {
        const Airport a = f.read(text.substr(0, n));
        Text(a);
        CheckAirport(a);
      } catch (const ImportError&) {
      }
    }
  }
}

TEST(Formats, CorruptFieldsGiveTheirError) {
  struct Row {
    size_t format;
    const char* find;
    const char* replace;
    const char* error;
  };
  const Row rows[] = {
      {0, "lat=\"N50 0.000\"", "lat=\"X50 0.000\"", "EDXB.groundnet.xml:line 11: <node index=\"1\"> has no position"},
      {0, "<arc begin=\"0\" end=\"3\"", "<arc end=\"3\"", "line 16: <arc> without begin and end"},
      {0, "radius=\"20\"", "radius=\"wide\"", "radius is not a number"},
      {0, "</TaxiNodes>", "</TaxiNode>", "EDXB.groundnet.xml:line 14: Start-end tags mismatch"},
      {1, "1100 Made-up", "700 Made-up", "line 2: version 700 is not one of 850 to 1200"},
      {1, "1202 0 1 twoway", "1202 0 9 twoway", "line 23: row 1202: names a node id"},
      {1, "1201 49.00000000 008.99000000", "1201 99.00000000 008.99000000", "line 19: row 1201: position out of range"},
      {1, "100 30.00 1 0 0.25 1 2 1 09 49.00000000", "100 30.00 1 0 0.25 1 2 1 09 4x9", "line 7: row 100: field 9"},
      {1, "1300 48.99750000 009.00000000 90.00 gate", "1300 48.99750000", "line 27: row 1300: needs 5 fields"},
      {2, "lat=\"48.0000000\" lon=\"11.0000000\"", "lat=\"148.0000000\" lon=\"11.0000000\"", "node 1: has no valid position"},
      {2, "</way>", "</wax>", "small_airport.osm:line "},
      {3, "\"elements\"", "\"elementz\"", "not Overpass API JSON"},
      {3, "\"lat\": 48.0,", "\"lat\": \"48\",", "node 1: has no lat and lon numbers"},
      {3, "\"nodes\": [", "\"nodes\": [\"a\", ", "way 100: a node reference is not a whole number"},
  };
  for (const Row& r : rows) {
    const Format& f = Formats()[r.format];
    std::string text = ReadFileText(kData + f.file);
    const size_t at = text.find(r.find);
    ASSERT_NE(at, std::string::npos) << r.find;
    text.replace(at, std::strlen(r.find), r.replace);
    try {
      f.read(text);
      ADD_FAILURE() << "no error for " << r.replace;
    } catch (const ImportError& e) {
      EXPECT_NE(std::string(e.what()).find(r.error), std::string::npos) << e.what();
    }
  }
}

// Exit status, and an output file that is replaced whole with its mode kept,
// or left as it was.
TEST(Command, StatusAndTheFilesItReplaces) {
  const fs::path dir = fs::temp_directory_path() / "airportimport_command";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string out = (dir / "out.txt").string();
  std::ofstream(out) << "old";
  chmod(out.c_str(), 0640);
  const std::string bad = (dir / "bad.json").string();
  std::ofstream(bad) << "{\"elements\": [";
  struct Row {
    std::vector<std::string> args;
    int status;
    bool replaced;
  };
  const std::vector<Row> rows = {
      {{bad, "-o", out}, 1, false},
      {{kData + "missing.osm", "-o", out}, 1, false},
      {{kData + "two_airports.apt.dat", "-o", out}, 1, false},
      {{kData + "small_airport.osm", "--bogus"}, 1, false},
      {{kData + "small_airport.osm", "--ref", "91,0", "-o", out}, 1, false},
      {{kData + "EDXB.groundnet.xml", "--runways", kData + "runways.csv", "-o", out}, 0, true},
      {{kData + "small_airport.osm", "-o", out}, 2, true},
      {{"--help"}, 0, false},
  };
  for (const Row& r : rows) {
    std::ofstream(out) << "old";
    EXPECT_EQ(RunImport(r.args), r.status) << r.args[0];
    EXPECT_EQ(ReadFileText(out) != "old", r.replaced) << r.args[0];
    struct stat st {};
    stat(out.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // nothing staged left
}

}  // namespace
}  // namespace airportimport
