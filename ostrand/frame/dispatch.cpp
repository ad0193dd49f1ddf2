// Command-line parsing and dispatch.
#include "ostrand/frame/dispatch.h"

#include <cstring>

#include "ostrand/frame/format_scan.h"
#include "ostrand/frame/report.h"

namespace ostrand {
namespace {

// Resets the values the dispatcher owns; the print flag, TXP variant and
// tile numbers keep their values across runs of the dispatcher.
void ResetDispatchValues(OptionValues& o) {
  o.mode = Mode::kList;
  o.vmin = -1;
  o.vmax = -1;
  o.north = 0.0;
  o.east = 0.0;
  o.scriptName.clear();
}

struct UsageLine {
  const char* option;
  const char* description;
};

constexpr UsageLine kUsageLines[] = {
    {"-deVMIN:VMAX", "delete edge(s)"},
    {"-lsVMIN:VMAX", "list (some/all) vertices"},
    {"-mg", "merge filename into filename2"},
    {"-gr", "graph filename"},
    {"-teNAME", "interpret text file NAME"},
    {"-mvN:E:VMIN:VMAX", "move (some/all) vertices north N east E (float)"},
    {"-pg", "purge - remove unused vertices"},
    {"-txd", "generate TXD (gantrel)"},
};

}  // namespace

int ParseOption(const char* argument) {
  if (argument == nullptr) return 0;
  OptionValues& o = Options();
  // Prefix options compare their first three characters; the parameter is
  // the rest of the argument.
  auto prefix = [argument](const char* option) { return std::strncmp(argument, option, 3) == 0; };
  const char* rest = std::strlen(argument) >= 3 ? argument + 3 : "";

  if (prefix("-ls")) {
    ScanText(rest, "%ld:%ld", {&o.vmin, &o.vmax});
    o.printFlag = 1;
    o.mode = Mode::kList;
    return 1;
  }
  if (prefix("-de")) {
    ScanText(rest, "%ld:%ld", {&o.vmin, &o.vmax});
    o.mode = Mode::kDeleteEdges;
    return 1;
  }
  if (prefix("-gr")) {
    unsigned unused = 0;  // a graph parameter that no operation reads
    ScanText(rest, "%x", {&unused});
    o.mode = Mode::kGraph;
    return 1;
  }
  if (prefix("-mg")) {
    o.mode = Mode::kMerge;
    return 1;
  }
  if (prefix("-mv")) {
    ScanText(rest, "%lf:%lf:%ld:%ld", {&o.north, &o.east, &o.vmin, &o.vmax});
    o.mode = Mode::kMove;
    return 1;
  }
  if (prefix("-pg")) {
    o.mode = Mode::kPurge;
    return 1;
  }
  if (ScanText(argument, "-pr%x", {&o.printFlag}) != 0) return 1;
  if (prefix("-rs")) {
    o.mode = Mode::kScript;
    o.scriptName = rest;
    return 1;
  }
  if (prefix("-te")) {
    o.mode = Mode::kText;
    o.scriptName = rest;
    return 1;
  }
  if (ScanText(argument, "-ti%03ld%03ld", {&o.tileColumn, &o.tileRow}) != 0) return 1;
  if (std::strcmp(argument, "-tm") == 0) {
    o.mode = Mode::kTaxiways;
    return 1;
  }
  if (std::strcmp(argument, "-txp") == 0) {
    o.mode = Mode::kTxp;
    o.txpVariant = 0;
    return 1;
  }
  if (std::strcmp(argument, "-txp0") == 0) {
    o.mode = Mode::kTxp;
    o.txpVariant = 1;
    return 1;
  }
  if (std::strcmp(argument, "-txd") == 0) {
    o.mode = Mode::kTxd;
    return 1;
  }
  return 0;
}

int Dispatch(int argc, char** argv, const ModeEntry* table, int tableSize) {
  OptionValues& o = Options();
  ResetDispatchValues(o);
  int first = 1;  // index of the first file name
  while (argv != nullptr && first < argc && ParseOption(argv[first])) ++first;
  const int fileNames = argc > first ? argc - first : 0;

  const ModeEntry* entry = nullptr;
  for (int k = 0; table != nullptr && k < tableSize; ++k) {
    if (table[k].mode == o.mode) {
      entry = &table[k];
      break;
    }
  }
  if (entry == nullptr || entry->run == nullptr || entry->fileNames != fileNames) {
    PrintUsage();
    return -1;
  }
  Invocation invocation;
  invocation.file1 = fileNames >= 1 ? argv[first] : nullptr;
  invocation.file2 = fileNames >= 2 ? argv[first + 1] : nullptr;
  invocation.options = &o;
  return entry->run(invocation);
}

void PrintUsage() {
  std::FILE* console = Console();
  std::fputs("paras: <options> filename [fielname2]\n", console);
  for (const UsageLine& line : kUsageLines) {
    std::fprintf(console, "       %-18s%s\n", line.option, line.description);
  }
  std::fflush(console);
}

}  // namespace ostrand
