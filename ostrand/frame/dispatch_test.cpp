#include "ostrand/frame/dispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

// What the stub operation of a mode received.
struct Call {
  bool called = false;
  Mode mode = Mode::kList;
  std::string file1;
  std::string file2;
  int fileCount = 0;
};

Call g_call;

template <Mode M>
int Record(const Invocation& inv) {
  g_call.called = true;
  g_call.mode = M;
  g_call.file1 = inv.file1 != nullptr ? inv.file1 : "";
  g_call.file2 = inv.file2 != nullptr ? inv.file2 : "";
  g_call.fileCount = (inv.file1 != nullptr) + (inv.file2 != nullptr);
  return 7;
}

const ModeEntry kTable[] = {
    {Mode::kList, 1, Record<Mode::kList>},
    {Mode::kMove, 2, Record<Mode::kMove>},
    {Mode::kDeleteEdges, 2, Record<Mode::kDeleteEdges>},
    {Mode::kGraph, 1, Record<Mode::kGraph>},
    {Mode::kTxp, 1, Record<Mode::kTxp>},
    {Mode::kTxd, 1, Record<Mode::kTxd>},
    {Mode::kMerge, 2, Record<Mode::kMerge>},
    {Mode::kPurge, 1, Record<Mode::kPurge>},
    {Mode::kScript, 1, Record<Mode::kScript>},
    {Mode::kText, 0, Record<Mode::kText>},
    {Mode::kTaxiways, 1, Record<Mode::kTaxiways>},
};
constexpr int kTableSize = static_cast<int>(sizeof kTable / sizeof kTable[0]);

const char* const kUsage =
    "paras: <options> filename [fielname2]\n"
    "       -deVMIN:VMAX      delete edge(s)\n"
    "       -lsVMIN:VMAX      list (some/all) vertices\n"
    "       -mg               merge filename into filename2\n"
    "       -gr               graph filename\n"
    "       -teNAME           interpret text file NAME\n"
    "       -mvN:E:VMIN:VMAX  move (some/all) vertices north N east E (float)\n"
    "       -pg               purge - remove unused vertices\n"
    "       -txd              generate TXD (gantrel)\n";

struct DispatchResult {
  int result = 0;
  std::string console;
};

DispatchResult RunDispatch(std::vector<std::string> args, const ModeEntry* table = kTable,
                           int size = kTableSize) {
  g_call = Call();
  args.insert(args.begin(), "ostrand");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  testing::CaptureConsole capture;
  DispatchResult r;
  r.result = Dispatch(static_cast<int>(args.size()), argv.data(), table, size);
  r.console = capture.Text();
  return r;
}

TEST(DispatchTest, UsageTextIsExact) {
  testing::CaptureConsole capture;
  PrintUsage();
  EXPECT_EQ(capture.Text(), kUsage);
}

// One command line each: the mode called with its file names and the option
// values it sees. Every case starts from program-start option values.
struct DispatchCase {
  std::vector<std::string> args;
  int result;  // 7: the stub ran; -1: usage
  Mode mode;
  std::vector<std::string> files;
  long vmin = -1, vmax = -1;
  double north = 0, east = 0;
  unsigned printFlag = 0;
  std::string name = "";
  int txpVariant = 0;
  long tileColumn = -1, tileRow = 0;
};

TEST(DispatchTest, CommandLineTable) {
  const std::string longName(5000, 'n');
  const DispatchCase cases[] = {
      // A file name alone lists it without values.
      {{"a.bgr"}, 7, Mode::kList, {"a.bgr"}},
      {{"-ls", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, -1, -1, 0, 0, 1},
      {{"-ls5", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, 5, -1, 0, 0, 1},
      {{"-ls5:20", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, 5, 20, 0, 0, 1},
      {{"-lsx", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, -1, -1, 0, 0, 1},
      {{"-ls:9", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, -1, -1, 0, 0, 1},
      {{"-ls5:x", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, 5, -1, 0, 0, 1},
      {{"-ls", "-pr0", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, -1, -1, 0, 0, 0},
      {{"-pr0", "-ls", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, -1, -1, 0, 0, 1},
      {{"-prff", "a.bgr"}, 7, Mode::kList, {"a.bgr"}, -1, -1, 0, 0, 0xff},
      {{"-pr", "a.bgr"}, 7, Mode::kList, {"a.bgr"}},
      // Options after the first file name are file names.
      {{"-ls", "a.bgr", "-pr0"}, -1, Mode::kList, {}, -1, -1, 0, 0, 1},
      {{"-mv10:-5", "a.bgr", "b.bgr"}, 7, Mode::kMove, {"a.bgr", "b.bgr"}, -1, -1, 10, -5},
      {{"-mv1.5:2.25:3:4", "a", "b"}, 7, Mode::kMove, {"a", "b"}, 3, 4, 1.5, 2.25},
      {{"-mv1:2", "a", "b"}, 7, Mode::kMove, {"a", "b"}, -1, -1, 1, 2},
      {{"-mvx", "a", "b"}, 7, Mode::kMove, {"a", "b"}},
      {{"-mv1", "a"}, -1, Mode::kMove, {}, -1, -1, 1},
      {{"-de3:4", "a", "b"}, 7, Mode::kDeleteEdges, {"a", "b"}, 3, 4},
      // Shared range: the later option's range overwrites the earlier one's.
      {{"-ls1:2", "-de3", "a", "b"}, 7, Mode::kDeleteEdges, {"a", "b"}, 3, 2, 0, 0, 1},
      {{"-de1:2", "-mv0:0:7", "a", "b"}, 7, Mode::kMove, {"a", "b"}, 7, 2},
      // The last mode wins.
      {{"-mg", "-pg", "a"}, 7, Mode::kPurge, {"a"}},
      {{"-pg", "-mg", "a", "b"}, 7, Mode::kMerge, {"a", "b"}},
      {{"-mg", "a"}, -1, Mode::kMerge, {}},
      {{"-mgxyz", "a", "b"}, 7, Mode::kMerge, {"a", "b"}},
      {{"-gr", "a"}, 7, Mode::kGraph, {"a"}},
      {{"-gr1f", "a"}, 7, Mode::kGraph, {"a"}},
      {{"-txp", "a"}, 7, Mode::kTxp, {"a"}, -1, -1, 0, 0, 0, "", 0},
      {{"-txp0", "a"}, 7, Mode::kTxp, {"a"}, -1, -1, 0, 0, 0, "", 1},
      {{"-txp1", "a"}, -1, Mode::kTxp, {}},
      {{"-txd", "a"}, 7, Mode::kTxd, {"a"}},
      {{"-tm", "a"}, 7, Mode::kTaxiways, {"a"}},
      {{"-tmx", "a"}, -1, Mode::kList, {}},
      {{"-rsedits.txt", "a"}, 7, Mode::kScript, {"a"}, -1, -1, 0, 0, 0, "edits.txt"},
      {{"-rs", "a"}, 7, Mode::kScript, {"a"}},
      // Arguments of any length.
      {{"-rs" + longName, longName + ".bgr"}, 7, Mode::kScript, {longName + ".bgr"},
       -1, -1, 0, 0, 0, longName},
      // The text interpreter takes no file name.
      {{"-te"}, 7, Mode::kText, {}},
      {{"-tescenery.txt"}, 7, Mode::kText, {}, -1, -1, 0, 0, 0, "scenery.txt"},
      {{"-teNAME", "file"}, -1, Mode::kText, {}},
      {{"-ti012034", "-te"}, 7, Mode::kText, {}, -1, -1, 0, 0, 0, "", 0, 12, 34},
      {{"-ti7", "-te"}, 7, Mode::kText, {}, -1, -1, 0, 0, 0, "", 0, 7, 0},
      {{"-ti-01002", "-te"}, 7, Mode::kText, {}, -1, -1, 0, 0, 0, "", 0, -1, 2},
      // Case matters: -LS is a file name.
      {{"-LS", "a"}, -1, Mode::kList, {}},
      {{"-LS"}, 7, Mode::kList, {"-LS"}},
      // Arguments that end before the scanned number are options.
      {{"", "a"}, 7, Mode::kList, {"a"}},
      {{"-", "-p", "-t", "-ti", "a"}, 7, Mode::kList, {"a"}},
      {{"-prz", "a"}, -1, Mode::kList, {}},
      {{}, -1, Mode::kList, {}},
      {{"a", "b", "c"}, -1, Mode::kList, {}},
  };
  for (const DispatchCase& c : cases) {
    std::string label;
    for (const std::string& a : c.args) label += "[" + a + "]";
    SCOPED_TRACE(label);
    ResetOptions();
    const DispatchResult r = RunDispatch(c.args);
    EXPECT_EQ(r.result, c.result);
    const OptionValues& o = Options();
    if (c.result == -1) {
      EXPECT_FALSE(g_call.called);
      EXPECT_EQ(r.console, kUsage);
      continue;
    }
    EXPECT_EQ(r.console, "");
    ASSERT_TRUE(g_call.called);
    EXPECT_EQ(g_call.mode, c.mode);
    ASSERT_EQ(g_call.fileCount, static_cast<int>(c.files.size()));
    EXPECT_EQ(g_call.file1, c.files.empty() ? "" : c.files[0]);
    EXPECT_EQ(g_call.file2, c.files.size() > 1 ? c.files[1] : "");
    EXPECT_EQ(o.vmin, c.vmin);
    EXPECT_EQ(o.vmax, c.vmax);
    EXPECT_DOUBLE_EQ(o.north, c.north);
    EXPECT_DOUBLE_EQ(o.east, c.east);
    EXPECT_EQ(o.printFlag, c.printFlag);
    EXPECT_EQ(o.scriptName, c.name);
    EXPECT_EQ(o.txpVariant, c.txpVariant);
    EXPECT_EQ(o.tileColumn, c.tileColumn);
    EXPECT_EQ(o.tileRow, c.tileRow);
  }
  ResetOptions();
}

TEST(DispatchTest, ResetsRangeAndNameButNotPrintFlagOrTile) {
  ResetOptions();
  RunDispatch({"-ls3:4", "-ti001002", "-txp0", "a"});
  RunDispatch({"-rsx", "a"});
  const OptionValues& o = Options();
  EXPECT_EQ(o.mode, Mode::kScript);
  EXPECT_EQ(o.vmin, -1);
  EXPECT_EQ(o.vmax, -1);
  EXPECT_EQ(o.printFlag, 1u);
  EXPECT_EQ(o.txpVariant, 1);
  EXPECT_EQ(o.tileColumn, 1);
  EXPECT_EQ(o.tileRow, 2);
  RunDispatch({"-mv1:2", "a", "b"});
  RunDispatch({"a"});
  EXPECT_EQ(Options().north, 0.0);
  EXPECT_EQ(Options().east, 0.0);
  EXPECT_EQ(Options().scriptName, "");
  ResetOptions();
}

TEST(DispatchTest, ModeWithoutTableEntryPrintsUsage) {
  ResetOptions();
  const ModeEntry only[] = {{Mode::kGraph, 1, Record<Mode::kGraph>}};
  DispatchResult r = RunDispatch({"a"}, only, 1);
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.console, kUsage);
  r = RunDispatch({"-gr", "a"}, only, 1);
  EXPECT_EQ(r.result, 7);
  r = RunDispatch({"-gr", "a"}, nullptr, 0);
  EXPECT_EQ(r.result, -1);
}

}  // namespace
}  // namespace ostrand
