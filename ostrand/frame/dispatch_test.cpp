#include "ostrand/frame/dispatch.h"

#include <gtest/gtest.h>

#include <sstream>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

// In the order of Mode: the name printed for the mode and the number of file
// names its table entry takes.
const char* const kModeNames[] = {"ls", "mv", "de", "gr", "txp", "txd",
                                  "mg", "pg", "rs", "te", "tm"};
constexpr int kFileNames[] = {1, 2, 2, 1, 1, 1, 2, 1, 1, 0, 1};

// The entry that ran and the file names it received, as "<mode> <files>".
std::string g_call;

// The stub operation of the entry of mode M.
template <int M>
int Record(const Invocation& inv) {
  g_call = kModeNames[M];
  for (const char* file : {inv.file1, inv.file2})
    if (file != nullptr) g_call += std::string(" ") + file;
  return 7;
}

template <int... M>
std::vector<ModeEntry> MakeTable(std::integer_sequence<int, M...>) {
  return {{static_cast<Mode>(M), kFileNames[M], Record<M>}...};
}
const std::vector<ModeEntry> kTable = MakeTable(std::make_integer_sequence<int, 11>());

const std::string kUsage = testing::ReadFileBytes(testing::TestData("ostrand/frame", "usage.txt"));

// Runs the dispatcher on the arguments: "usage" when it printed exactly the
// usage text (a golden file) and returned -1, else the call the stub
// received followed by every option value that differs from its value at
// program start.
std::string RunDispatch(std::vector<std::string> args, const ModeEntry* table = kTable.data(),
                        int size = static_cast<int>(kTable.size())) {
  g_call = "none";
  args.insert(args.begin(), "ostrand");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::CaptureConsole capture;
  const int result = Dispatch(static_cast<int>(args.size()), argv.data(), table, size);
  if (result == -1 && capture.Text() == kUsage && g_call == "none") return "usage";
  const OptionValues& o = Options();
  std::ostringstream out;
  out << g_call << (result == 7 && capture.Text().empty() ? "" : " (wrong result)");
  if (o.vmin != -1 || o.vmax != -1) out << " v=" << o.vmin << ":" << o.vmax;
  if (o.north != 0 || o.east != 0) out << " at=" << o.north << ":" << o.east;
  if (o.printFlag != 0) out << " pr=" << o.printFlag;
  if (!o.scriptName.empty()) out << " name=" << o.scriptName;
  if (o.txpVariant != 0) out << " txp=" << o.txpVariant;
  if (o.tileColumn != -1 || o.tileRow != 0) out << " ti=" << o.tileColumn << "," << o.tileRow;
  return out.str();
}

TEST(DispatchTest, CommandLineTable) {
  for (const auto& row :
       testing::ReadTable(testing::TestData("ostrand/frame", "command_lines.txt"))) {
    SCOPED_TRACE(row[0]);
    std::istringstream in(row[0]);
    const std::vector<std::string> args{std::istream_iterator<std::string>(in), {}};
    ResetOptions();
    EXPECT_EQ(RunDispatch(args), row[1]);
  }
  ResetOptions();
  // A mode without a table entry prints the usage text.
  const ModeEntry only[] = {{Mode::kGraph, 1, Record<3>}};
  EXPECT_EQ(RunDispatch({"a"}, only, 1), "usage");
  EXPECT_EQ(RunDispatch({"-gr", "a"}, only, 1), "gr a");
  EXPECT_EQ(RunDispatch({"-gr", "a"}, nullptr, 0), "usage");
  EXPECT_EQ(RunDispatch({}), "usage");
  EXPECT_EQ(RunDispatch({"", "a"}), "ls a");
  const std::string longName(5000, 'n');  // arguments of any length
  EXPECT_EQ(RunDispatch({"-rs" + longName, longName}), "rs " + longName + " name=" + longName);
  // The range, move and name are reset for every run; the print flag, TXP
  // variant and tile are not.
  RunDispatch({"-ls3:4", "-ti001002", "-txp0", "a"});
  EXPECT_EQ(RunDispatch({"-rsx", "a"}), "rs a pr=1 name=x txp=1 ti=1,2");
  RunDispatch({"-mv1:2", "a", "b"});
  EXPECT_EQ(RunDispatch({"a"}), "ls a pr=1 txp=1 ti=1,2");
  ResetOptions();
}

}  // namespace
}  // namespace ostrand
