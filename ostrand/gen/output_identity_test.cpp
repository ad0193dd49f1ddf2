// The outputs of "ostrand -te" and "ostrand -tm" checked byte for byte
// against checksums (FNV-1a) recorded from a known-good build: the
// network, polygon and surface files and the console text (without its
// TIME line) with the exit status. Cases: every real ground network of the
// shared data, run through the import chain (airportimport, airportdb, -te,
// -tm) and converted straight to a network for -tm; the benchmarks' largest
// network with its polygon file; and their scenery text. A changed output
// is reported with its name and checksum; real cases are skipped when the
// shared data is absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/groundnet_converter.h"
#include "bench/network_generator.h"
#include "bench/scenery_text_generator.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

// Per case (an airport, or a generated input) the FNV-1a (32 bits) of each
// output of kColumn in that order, "-" where there is no such output.
const char* const kColumn[] = {"-te BGR", "-te PLY", "-te console", "-tm BGR", "-tm TMS", "-tm console",
                                       "converted -tm BGR", "converted -tm TMS", "converted -tm console"};
const char* const kRecorded[][2] = {
    {"EDDF", "234a34b0 9302f7b3 7f2c4400 6bdf1c61 908a1b39 37000f54 ae2c1a68 268e087b b29e3b78"},
    {"EDDH", "aedf5ad8 f8ccb87a 7f2c4400 9bdd2890 daf9b17b 39b13742 c8486030 127f13e9 beecc6c7"},
    {"EDFX", "ea5a3e8e d1a880ef 7f2c4400 ea5a3e8e 9ea59d0f 31a6436d f3408724 f122db20 de7f6d1d"},
    {"EGLL", "b4bc2073 cb59f707 7f2c4400 4310fd48 1c59628b 03af80d1 f3b3c3bf ccb0ccfc a69ce044"},
    {"EHAM", "b896cbaa cf681ba7 7f2c4400 d8a1274c 31358ccb 66178a36 cd78d12b 1338fbbb 6e12add1"},
    {"KATL", "c7ea310d 453abae3 7f2c4400 e407efb8 05d3ea73 19ff15bd 3d983a3e 43974b0d 23d4ac3c"},
    {"KHAF", "6889fee5 2f4efe18 7f2c4400 6889fee5 c4fdf5af c07ea814 4bbc09aa 3e1fbe2f 52459dfd"},
    {"KLAX", "d7d5416d 199fb079 7f2c4400 c45cb58a 01ba28b3 4e6397fd f36fd02e 2c6e5c65 791c8b76"},
    {"KSFO", "dff642a1 6b0dd585 7f2c4400 b00d5466 288dc726 f08f29fe c0ea4a3c 7d5aa417 a3e3deba"},
    {"LFPG", "c147c737 76dead1f 7f2c4400 b8deb8ab 9cba60f2 100b033d 669334ea 56c50ad7 c9ccde3e"},
    {"LOWI", "eb5c76c7 55bef2c1 7f2c4400 88a67d82 998cf37a d4083efa dc791151 15743300 60b82233"},
    {"LSZH", "190cb63a fd3c3daa 7f2c4400 abbaf65d eab000d1 890294f8 b204f505 de9b1de1 bb935d6f"},
    {"largest", "- - - f3983516 e87fe8bc 72acbfea - - -"},
    {"text ABMM", "9cc349e4 fe3c8cd1 a032c6e5 a804f203 932de9ed a7f39acf - - -"},
    {"text ADOI", "704d9975 2ca90f31 a032c6e5 ce39f922 b928194e e2f197ca - - -"},
};

std::string Fnv1a(const std::string& bytes) {
  uint32_t h = 2166136261u;
  for (unsigned char c : bytes) h = (h ^ c) * 16777619u;
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(h));
  return hex;
}

using Outputs = std::map<std::string, std::string>;

// Runs ostrand in the working directory (by its bare name, so the run log
// stays there) and files its console text without the TIME line.
void Run(Outputs& out, const std::string& name, const std::vector<std::string>& args) {
  const testing::RunResult r = testing::RunOstrand(args, OSTRAND_EXE, -1, "ostrand");
  std::string text;
  for (size_t at = 0, end; at < r.output.size(); at = end) {
    end = std::min(r.output.find('\n', at), r.output.size()) + 1;
    if (r.output.compare(at, 5, "TIME=") != 0) text += r.output.substr(at, end - at);
  }
  out[name + " console"] = text + "status " + std::to_string(r.status) + "\n";
}

// -te on a text, then -tm on every network it wrote. The case is `label`,
// followed by the network's code when the text gave several.
void TextThenSurface(Outputs& out, const std::string& label, const std::string& text) {
  Outputs te;
  Run(te, "-te", {"-te" + text});
  std::vector<std::string> codes;
  for (const auto& f : fs::directory_iterator("DATA"))
    if (f.path().extension() == ".BGR") codes.push_back(f.path().stem().string());
  std::sort(codes.begin(), codes.end());
  for (const std::string& code : codes) {
    const std::string name = label + (codes.size() > 1 ? " " + code : "");
    const std::string bgr = "DATA/" + code + ".BGR";
    out[name + " -te console"] = te["-te console"];
    out[name + " -te BGR"] = ReadFileBytes(bgr);
    out[name + " -te PLY"] = ReadFileBytes("DATA/" + code + ".PLY");
    Run(out, name + " -tm", {"-tm", bgr});
    out[name + " -tm BGR"] = ReadFileBytes(bgr);
    out[name + " -tm TMS"] = ReadFileBytes("DATA/" + code + ".TMS");
  }
}

Outputs GeneratorCases() {
  Outputs out;
  testing::ScratchDir dir;
  bench::WriteGridNetwork("LARGEST.BGR");
  std::ofstream("LARGEST.PLY") << bench::LargestPolygonText();
  Run(out, "largest -tm", {"-tm", "LARGEST.BGR"});
  out["largest -tm BGR"] = ReadFileBytes("LARGEST.BGR");
  out["largest -tm TMS"] = ReadFileBytes("LARGEST.TMS");
  fs::create_directories("DATABASE");
  bench::WriteAirportDatabase(bench::TextAirport(1) + 1);
  bench::WriteSceneryText("bench.txt", 10000, 2);
  TextThenSurface(out, "text", "bench.txt");
  return out;
}

Outputs RealCases(const std::string& real) {
  Outputs out;
  std::vector<fs::path> groundnets;
  for (const auto& f : fs::directory_iterator(fs::path(real) / "groundnet")) groundnets.push_back(f.path());
  std::sort(groundnets.begin(), groundnets.end());
  for (const fs::path& xml : groundnets) {
    const std::string icao = xml.filename().string().substr(0, 4);
    testing::ScratchDir dir;
    if (bench::ConvertGroundnet(xml.string(), "N.BGR").vertices > 0) {
      Run(out, icao + " converted -tm", {"-tm", "N.BGR"});
      out[icao + " converted -tm BGR"] = ReadFileBytes("N.BGR");
      out[icao + " converted -tm TMS"] = ReadFileBytes("N.TMS");
    }
    testing::RunOstrand({xml.string(), "-o", "airport.txt", "--row", "airports.csv"}, AIRPORTIMPORT_EXE, -1, "airportimport");
    testing::RunOstrand({"airports.csv", "DATABASE\\AIRPORT.DBD"}, AIRPORTDB_EXE, -1, "airportdb");
    TextThenSurface(out, icao, "airport.txt");
  }
  return out;
}

TEST(OutputIdentity, TeAndTmOutputsAreTheRecordedOnes) {
  const std::string real = testing::RealDataDir();
  Outputs out = GeneratorCases();
  if (!real.empty()) out.merge(RealCases(real));
  for (const auto& [name, sums] : kRecorded) {
    if (real.empty() && std::string(name).find("largest") != 0 && std::string(name).find("text") != 0) continue;
    std::string made;  // the row as it is now
    for (const char* column : kColumn) {
      const auto found = out.find(name + std::string(" ") + column);
      made += (made.empty() ? "" : " ") + (found == out.end() ? "-" : Fnv1a(found->second));
      if (found != out.end()) out.erase(found);
    }
    EXPECT_EQ(made, sums) << name;
  }
  for (const auto& [name, bytes] : out) ADD_FAILURE() << name << " is not in the table";
  if (real.empty()) GTEST_SKIP() << "no real airport data: only the generated cases were checked";
}

}  // namespace
}  // namespace ostrand
