// ostrand: start-up, one operation chosen by the command line, shut-down.
#include <cstdio>

#include "ostrand/frame/dispatch.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/bgr_tms.h"
#include "ostrand/ops/bgr_export.h"
#include "ostrand/ops/bgr_list.h"
#include "ostrand/ops/bgr_merge.h"
#include "ostrand/ops/bgr_move.h"
#include "ostrand/ops/bgr_script.h"
#include "ostrand/text/text_interpreter.h"

namespace {

using ostrand::Invocation;
using ostrand::Mode;

int Graph(const Invocation&) {
  std::fputs("VADUDAVEDOV_usage - not implemented\n", ostrand::Console());
  return 1;
}

// One entry per mode, in the order of the usage text's modes: the number of
// file names it takes and its operation.
const ostrand::ModeEntry kModeTable[] = {
    {Mode::kList, 1,
     [](const Invocation& inv) {
       return ostrand::BgrList(inv.file1, inv.options->vmin, inv.options->vmax);
     }},
    {Mode::kMove, 2,
     [](const Invocation& inv) {
       const ostrand::OptionValues& o = *inv.options;
       return ostrand::BgrMove(inv.file1, inv.file2, o.north, o.east, o.vmin, o.vmax);
     }},
    {Mode::kDeleteEdges, 2,
     [](const Invocation& inv) {
       return ostrand::BgrDeleteEdges(inv.file1, inv.file2, inv.options->vmin, inv.options->vmax);
     }},
    {Mode::kGraph, 1, Graph},
    {Mode::kTxp, 1,
     [](const Invocation& inv) { return ostrand::BgrTxp(inv.file1, inv.options->txpVariant); }},
    {Mode::kTxd, 1, [](const Invocation& inv) { return ostrand::BgrTxd(inv.file1); }},
    {Mode::kMerge, 2, [](const Invocation& inv) { return ostrand::BgrMerge(inv.file1, inv.file2); }},
    {Mode::kPurge, 1, [](const Invocation& inv) { return ostrand::BgrPurge(inv.file1); }},
    {Mode::kScript, 1,
     [](const Invocation& inv) {
       return ostrand::BgrScript(inv.file1, inv.options->scriptName.c_str());
     }},
    {Mode::kText, 0,
     [](const Invocation& inv) { return ostrand::InterpretText(inv.options->scriptName.c_str()); }},
    {Mode::kTaxiways, 1, [](const Invocation& inv) { return ostrand::BgrTms(inv.file1); }},
};

}  // namespace

int main(int argc, char** argv) {
  ostrand::Startup(argc, argv, ostrand::kVersionText, 1);
  const int result = ostrand::Dispatch(argc, argv, kModeTable,
                                       static_cast<int>(sizeof kModeTable / sizeof kModeTable[0]));
  ostrand::Shutdown();
  return result;
}
