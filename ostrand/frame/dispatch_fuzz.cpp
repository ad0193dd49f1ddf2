// Fuzz target: arbitrary command lines through option parsing and dispatch.
// The input is split at NUL bytes into arguments.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ostrand/frame/dispatch.h"
#include "ostrand/frame/report.h"

namespace {

int Accept(const ostrand::Invocation& inv) {
  // Touch what an operation would read.
  int sum = 0;
  if (inv.file1 != nullptr) sum += static_cast<int>(std::string(inv.file1).size());
  if (inv.file2 != nullptr) sum += static_cast<int>(std::string(inv.file2).size());
  return sum > 0 ? 1 : 0;
}

const ostrand::ModeEntry kTable[] = {
    {ostrand::Mode::kList, 1, Accept},        {ostrand::Mode::kMove, 2, Accept},
    {ostrand::Mode::kDeleteEdges, 2, Accept}, {ostrand::Mode::kGraph, 1, Accept},
    {ostrand::Mode::kTxp, 1, Accept},         {ostrand::Mode::kTxd, 1, Accept},
    {ostrand::Mode::kMerge, 2, Accept},       {ostrand::Mode::kPurge, 1, Accept},
    {ostrand::Mode::kScript, 1, Accept},      {ostrand::Mode::kText, 0, Accept},
    {ostrand::Mode::kTaxiways, 1, Accept},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  ostrand::SetConsole(sink);
  std::vector<std::string> args{"ostrand"};
  std::string current;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  args.push_back(current);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  ostrand::ResetOptions();
  ostrand::Dispatch(static_cast<int>(args.size()), argv.data(), kTable,
                    static_cast<int>(sizeof kTable / sizeof kTable[0]));
  return 0;
}
