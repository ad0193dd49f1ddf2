// ostrand: start-up, one operation chosen by the command line, shut-down.
#include "ostrand/frame/dispatch.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/bgr_tms.h"
#include "ostrand/ops/bgr_list.h"
#include "ostrand/text/text_interpreter.h"

namespace {

using ostrand::Invocation;
using ostrand::Mode;

int Graph(const Invocation&) {
  std::fputs("VADUDAVEDOV_usage - not implemented\n", ostrand::Console());
  return 1;
}

// One entry per mode: the number of file names it takes and its operation.
const ostrand::ModeEntry kModeTable[] = {
    {Mode::kGraph, 1, Graph},
    {Mode::kList, 1,
     [](const Invocation& inv) {
       return ostrand::BgrList(inv.file1, inv.options->vmin, inv.options->vmax);
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
