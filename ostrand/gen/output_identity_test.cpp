// The outputs of "ostrand -te" and "ostrand -tm" checked byte for byte
// against checksums (64-bit FNV-1a) recorded from a known-good build: the
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
using testing::RunOstrandNamed;

constexpr int kColumns = 9;
const char* const kColumn[kColumns] = {"-te BGR", "-te PLY", "-te console", "-tm BGR", "-tm TMS", "-tm console",
                                       "converted -tm BGR", "converted -tm TMS", "converted -tm console"};
struct Row {
  const char* name;  // the case: an airport, or a generated input
  uint64_t fnv1a[kColumns];  // 0: no such output
};

const Row kRecorded[] = {
    {"EDDF", {0x4ec2392b1c8723d0ull, 0xbcfb45042b9bba33ull, 0x6df669ebed623cc0ull,
              0x2dd2a6367b336a81ull, 0x2efa75b58bda64f9ull, 0x2acd9b1e8c3faa74ull,
              0xfd43ec018959dec8ull, 0x4ea13ca58f8474fbull, 0xf4a6d0ebc64444f8ull}},
    {"EDDH", {0xe256e22434544118ull, 0xf3bfd6f52f0ef31aull, 0x6df669ebed623cc0ull,
              0x883c2bf863196110ull, 0x4693ad924cd7a2fbull, 0x53c760f8e77317e2ull,
              0x083b0f09eefefdd0ull, 0xe9b05a7f09cb9cc9ull, 0x5ed3b5ee755203a7ull}},
    {"EDFX", {0x4ae526eafc452fceull, 0x2690635fdd8864efull, 0x6df669ebed623cc0ull,
              0x4ae526eafc452fceull, 0xcabf2211b7f1166full, 0xcc7c18697be0998dull,
              0x3503c2288d0a8a84ull, 0x557b6ced28c42ac0ull, 0xe62f47713ca0f81dull}},
    {"EGLL", {0xa9d57a6090dbf233ull, 0x7399ffdfa4b41827ull, 0x6df669ebed623cc0ull,
              0xd84dae169ae98ca8ull, 0xbc4cc59621257c8bull, 0xb2a37daef3b9f5b1ull,
              0xd9cf7c5d494acf7full, 0xa4cd8de170af77dcull, 0xb940bcd7831e0ce4ull}},
    {"EHAM", {0x46ead5a484cd102aull, 0x09003973533b42a7ull, 0x6df669ebed623cc0ull,
              0x51c940cef29679acull, 0x85e1de2c123366abull, 0xb5282dfa1ec5b416ull,
              0x03ae809157ec142bull, 0xe2d2868d9bf9669bull, 0xe211df25761e9871ull}},
    {"KATL", {0x1965b5640cc36c8dull, 0xddfa1f3e0598cb63ull, 0x6df669ebed623cc0ull,
              0x77d9393fd00af018ull, 0x8eed06fe170b4813ull, 0xcdce90d6f3c311fdull,
              0x145afdf48248a75eull, 0x0cd00a2cdb5b278dull, 0x89e84b82b81afc9cull}},
    {"KHAF", {0x25830f4e2d4cbfe5ull, 0xbe43a79e4c46de78ull, 0x6df669ebed623cc0ull,
              0x25830f4e2d4cbfe5ull, 0xdbc0b946e2803d2full, 0xd6939a0f9877fa54ull,
              0x0fa89cb34df7984aull, 0x955bdf86ec4b366full, 0x7262cf89f84760bdull}},
    {"KLAX", {0xf70f1e73923623cdull, 0x5c33197f22701d19ull, 0x6df669ebed623cc0ull,
              0xca33195e0426df0aull, 0x7f67d7256d21ae33ull, 0xca5d56525d52bf3dull,
              0xa2d41bcbf500a28eull, 0xc62695c4db005a45ull, 0x3e80d77033c23b96ull}},
    {"KSFO", {0xaa01d7c00677c461ull, 0x2b8f8506bd636a25ull, 0x6df669ebed623cc0ull,
              0xb06a8570ecca92c6ull, 0x4ebd28399e652986ull, 0xded0634a75fba71eull,
              0x6262804360bdf09cull, 0x5ba4c63aa2e46f57ull, 0xd86e17432f93969aull}},
    {"LFPG", {0x4daae66d3623bd97ull, 0x2ddff9090f7ad53full, 0x6df669ebed623cc0ull,
              0x7ebc47f2f91234abull, 0x61179f2c3b600ad2ull, 0x60b08d8b24fab13dull,
              0xb2cd9f7d2ca8aacaull, 0x959b408d72b70a77ull, 0x469efd896ccb8bfeull}},
    {"LOWI", {0x64a52e3fa1a11a07ull, 0x1f3cdb0feec6f881ull, 0x6df669ebed623cc0ull,
              0x99987a78f1a53142ull, 0x3fccb7778de0de3aull, 0xa682d23d543e153aull,
              0x35d98b574bfef471ull, 0x8f8eeddb9605c4e0ull, 0x935c1848017206f3ull}},
    {"LSZH", {0x9178f930d632a35aull, 0x6407aaba47114e4aull, 0x6df669ebed623cc0ull,
              0x686b36258cb628fdull, 0x2eddaa42dae2cb71ull, 0xb1e6bf98a51bc6d8ull,
              0xe08dd032dd591fc5ull, 0xb0f8c8a164610661ull, 0x1157ecb90c044e8full}},
    {"largest", {0, 0, 0,
                 0x95d0bdb146d5e3d6ull, 0x2bd38e2673c1fa3cull, 0xcb7cc2296f4c16caull,
                 0, 0, 0}},
    {"text ABMM", {0x0510cd8076f909c4ull, 0x5f9d873bbd3b9f91ull, 0xf643d2bbb1325565ull,
                   0x89c400aaae96a683ull, 0x5d1ffb5b262e068dull, 0x909ffc3324b29dafull,
                   0, 0, 0}},
    {"text ADOI", {0x766928d25eb8a795ull, 0x823434424d6198b1ull, 0xf643d2bbb1325565ull,
                   0xddc1e99119da7042ull, 0x3f3bbf5c9eca038eull, 0x2c230b8b4e3f726aull,
                   0, 0, 0}},
};

uint64_t Fnv1a(const std::string& bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
  return h;
}

using Outputs = std::map<std::string, std::string>;

// Runs ostrand in the working directory (by its bare name, so the run log
// stays there) and files its console text without the TIME line.
void Run(Outputs& out, const std::string& name, const std::vector<std::string>& args) {
  const testing::RunResult r = RunOstrandNamed("ostrand", args);
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
    RunOstrandNamed("airportimport", {xml.string(), "-o", "airport.txt", "--row", "airports.csv"}, AIRPORTIMPORT_EXE);
    RunOstrandNamed("airportdb", {"airports.csv", "DATABASE\\AIRPORT.DBD"}, AIRPORTDB_EXE);
    TextThenSurface(out, icao, "airport.txt");
  }
  return out;
}

TEST(OutputIdentity, TeAndTmOutputsAreTheRecordedOnes) {
  const std::string real = testing::RealDataDir();
  Outputs out = GeneratorCases();
  if (!real.empty()) out.merge(RealCases(real));
  for (const Row& row : kRecorded) {
    const std::string name = row.name;
    if (real.empty() && name.find("largest") != 0 && name.find("text") != 0) continue;
    for (int c = 0; c < kColumns; ++c) {
      const auto found = out.find(name + " " + kColumn[c]);
      const uint64_t made = found == out.end() ? 0 : Fnv1a(found->second);
      EXPECT_EQ(made, row.fnv1a[c]) << name << " " << kColumn[c] << std::hex << ": 0x" << made;
      if (found != out.end()) out.erase(found);
    }
  }
  for (const auto& [name, bytes] : out) ADD_FAILURE() << name << " is not in the table";
  if (real.empty()) GTEST_SKIP() << "no real airport data: only the generated cases were checked";
}

}  // namespace
}  // namespace ostrand
