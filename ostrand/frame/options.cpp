// The process-wide option values of one ostrand run.
#include "ostrand/frame/options.h"

namespace ostrand {
namespace {

OptionValues g_options;

}  // namespace

OptionValues& Options() { return g_options; }

void ResetOptions() { g_options = OptionValues(); }

}  // namespace ostrand
