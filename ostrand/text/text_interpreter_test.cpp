#include "ostrand/text/text_interpreter.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/ops/test_networks.h"
#include "ostrand/text/airport_database.h"
#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

// "lat lon vertices: (x,z)>(x,z):width:type ..." of a network file, a
// vertex's y shown only when it is not 0; "unreadable" when it cannot be read.
std::string Describe(const std::string& path) {
  BgrFile f;
  double lat = 0, lon = 0, elevation = 0, x, y, z;
  if (!f.OpenRead(path) || f.ReadOrigin(lat, lon, elevation) != 1) return "unreadable";
  std::vector<std::string> nodes;
  const auto i = [](double v) { return std::to_string(static_cast<int32_t>(v)); };
  while (f.ReadNode(x, y, z))
    nodes.push_back("(" + i(x) + "," + (static_cast<int32_t>(y) != 0 ? i(y) + "," : "") + i(z) + ")");
  std::ostringstream out;
  out.precision(12);
  out << lat << " " << lon << " " << nodes.size() << ":";
  BgrEdge e;
  while (f.ReadEdge(e))
    out << " " << nodes.at(static_cast<size_t>(e.from)) << ">" << nodes.at(static_cast<size_t>(e.to)) << ":"
        << e.width << ":" << e.type;
  return out.str();
}

// The airports of the test database: TEST, KABC, NEAR and WEST.
void WriteTestDatabase() {
  std::filesystem::create_directories("DATABASE");
  const std::vector<uint8_t> image = DatabaseImage(
      {{"TEST", 180000, 36000}, {"KABC", 180000, 43200}, {"NEAR", 180197.5, 36000},
       {"WEST", 144000, -300000}});
  WriteFileBytes("DATABASE/AIRPORT.DBD", std::string(image.begin(), image.end()));
  WriteFileBytes("DATABASE/AIRPORT.dbt", FieldListText());
  ResetAirportDatabase();
}

class TextInterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(), WriteTestDatabase(); }
  void TearDown() override { ResetOptions(), ResetAirportDatabase(); }
  int Run(const std::string& text) {
    WriteFileBytes("scenery.txt", text);
    return InterpretText("scenery.txt");
  }
  ScratchDir dir_;
};

constexpr const char* kLine = "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n";

// The cases of testdata/interpreter_runs.txt (its head describes them): each
// a name and its sections, a head line and the text below it.
struct RunCase {
  std::string name;
  std::vector<std::pair<std::string, std::string>> sections;
};

std::vector<RunCase> ReadRunCases() {
  std::vector<RunCase> cases;
  std::istringstream in(ReadFileBytes(OSTRAND_SOURCE_DIR "/ostrand/text/testdata/interpreter_runs.txt"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.starts_with("#")) continue;
    if (line.starts_with("== ")) cases.push_back({line.substr(3), {}});
    else if (line.starts_with("-- ")) cases.back().sections.push_back({line.substr(3), ""});
    else if (!cases.empty() && !cases.back().sections.empty()) cases.back().sections.back().second += line + "\n";
  }
  return cases;
}

TEST_F(TextInterpreterTest, RunsAndTheFilesTheyWrite) {
  const std::vector<RunCase> cases = ReadRunCases();
  ASSERT_GE(cases.size(), 15u);
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    CaptureConsole console;
    ResetOptions();
    WriteTestDatabase();
    std::filesystem::remove_all("DATA");
    std::filesystem::remove("excllist.txt");
    for (const auto& [head, text] : c.sections) {
      if (head.starts_with("file ")) {
        WriteFileBytes(head.substr(5), text);
      } else if (head.starts_with("tile ")) {
        ASSERT_EQ(std::sscanf(head.c_str(), "tile %ld %ld", &Options().tileColumn, &Options().tileRow), 2);
      } else if (head == "no database") {
        std::filesystem::remove_all("DATABASE");
        ResetAirportDatabase();
      } else if (head.starts_with("run")) {
        std::string bytes;
        for (char ch : text) bytes += head == "run crlf" && ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        ASSERT_EQ(Run(bytes), head == "run fails" ? 0 : 1);
      } else if (head == "console") {
        EXPECT_NE(console.Text().find(text.substr(0, text.size() - 1)), std::string::npos) << console.Text();
      } else if (head.starts_with("absent ")) {
        EXPECT_FALSE(FileExistsOnDisk(head.substr(7))) << head;
      } else {
        EXPECT_EQ(head.ends_with(".BGR") ? Describe(head) + "\n" : ReadFileBytes(head), text) << head;
      }
    }
  }
}

// LIN lines beyond 5999 edges are ignored.
TEST_F(TextInterpreterTest, EdgeLimit) {
  std::string text = "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\n";
  for (int i = 1; i <= 6010; ++i) text += "LIN " + std::to_string(i * 10) + " 0 0 50 1\n";
  ASSERT_EQ(Run(text), 1);
  const std::string network = Describe("DATA/TEST.BGR");
  EXPECT_EQ(std::count(network.begin(), network.end(), '>'), 5999);
  EXPECT_TRUE(network.ends_with("(59980,0)>(59990,0):50:1")) << network.substr(network.size() - 60);
}

// An airport file that cannot be extended whole stays as it was (bytes and
// mode), and the run fails; one that can keeps its mode.
TEST_F(TextInterpreterTest, AirportFilesThatCannotBeExtended) {
  const std::string oversized = NetBytes(GridNet(12002));  // 6001 edges
  Run(kLine);
  const std::string network = ReadFileBytes("DATA/TEST.BGR");
  struct Case { std::string before; int mode, result; } const cases[] = {
      {"not a network", 0644, 0}, {network, 0444, 0}, {oversized, 0644, 0}, {network, 0600, 1}};
  for (const Case& c : cases) {
    CaptureConsole console;
    std::filesystem::remove("DATA/TEST.BGR");
    WriteFileBytes("DATA/TEST.BGR", c.before);
    WriteFileBytes("DATA/TEST.PLY", "ORG 0 0\n");
    std::filesystem::permissions("DATA/TEST.BGR", static_cast<std::filesystem::perms>(c.mode));
    EXPECT_EQ(Run("REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 300 50 1\nPOI 1 0 1\nPLY x\n"), c.result);
    EXPECT_EQ(static_cast<int>(std::filesystem::status("DATA/TEST.BGR").permissions()), c.mode);
    EXPECT_EQ(ReadFileBytes("DATA/TEST.BGR") == c.before, c.result == 0);
    EXPECT_EQ(ReadFileBytes("DATA/TEST.PLY") == "ORG 0 0\n", c.result == 0);
  }
}

// Runs killed at random moments leave every file they replace as it was or
// as a whole run makes it, never a part (timing-dependent, so sanitizer
// builds skip it).
TEST_F(TextInterpreterTest, KilledRunsLeaveOldOrNewFiles) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "timing test";
#endif
  std::filesystem::create_directory("DATA");
  std::string text = "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\n";
  for (int i = 1; i <= 5000; ++i)
    text += "LIN " + std::to_string(i % 300) + " 0 " + std::to_string(i) + " 50 1\nPOI 1 0 1\n";
  WriteFileBytes("scenery.txt", text + "PLY x\n");
  WriteFileBytes("script.txt", "<bgr-width-edges> 30 40\n");
  const std::vector<std::string> files = {"DATA/TEST.BGR", "DATA/TEST.PLY", "DATA/TEST.TMS"};
  std::mt19937 rng(11);
  for (const char* option : {"-pg", "-rsscript.txt", "-tm", "-tescenery.txt"}) {
    SCOPED_TRACE(option);
    const bool te = std::string(option).starts_with("-te");
    const std::string old = NetBytes(GridNet(te ? 2000 : 12000));
    std::vector<std::string> done;
    long micros = 0;
    for (int run = 0; run <= 50; ++run) {
      for (const std::string& f : files) WriteFileBytes(f, f == files[0] ? old : "old\n");
      const auto start = std::chrono::steady_clock::now();
      const pid_t pid = fork();
      if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        execl(OSTRAND_EXE, OSTRAND_EXE, option, te ? nullptr : "DATA/TEST.BGR", nullptr);
        _exit(127);
      }
      if (run > 0) {
        usleep(static_cast<useconds_t>(rng() % (micros + 1)));
        kill(pid, SIGKILL);
      }
      waitpid(pid, nullptr, 0);
      using std::chrono::steady_clock, std::chrono::microseconds, std::chrono::duration_cast;
      if (run == 0) micros = duration_cast<microseconds>(steady_clock::now() - start).count();
      for (size_t k = 0; k < files.size(); ++k) {
        const std::string now = ReadFileBytes(files[k]);
        if (run == 0) done.push_back(now);
        EXPECT_TRUE(now == done[k] || now == (k == 0 ? old : "old\n")) << files[k] << " " << run;
      }
    }
  }
}

TEST_F(TextInterpreterTest, WholeProgramAndMissingFiles) {
  WriteFileBytes("scenery.txt", kLine);
  const RunResult r = RunOstrand({"-tescenery.txt"});
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(Describe("DATA/TEST.BGR"), "180000 36000 2: (0,0)>(100,0):50:1");
  EXPECT_EQ(RunOstrand({"-temissing.txt"}).status, 0);
  EXPECT_EQ(InterpretText("missing.txt"), 0);
  EXPECT_EQ(InterpretText(nullptr), 0);
}

}  // namespace
}  // namespace ostrand
