// Option values of one ostrand run, parsed from the command line.
//
// Two of them are read while an operation runs rather than passed to it:
// the print flag (field readers of the listing) and the tile column and row
// (tile filter of the text interpreter). They live in one process-wide
// record, reached through Options().
#pragma once

#include <string>

namespace ostrand {

enum class Mode {
  kList,
  kMove,
  kDeleteEdges,
  kGraph,
  kTxp,
  kTxd,
  kMerge,
  kPurge,
  kScript,
  kText,
  kTaxiways,
};

struct OptionValues {
  Mode mode = Mode::kList;
  long vmin = -1;
  long vmax = -1;
  double north = 0.0;
  double east = 0.0;
  std::string scriptName;  // "-rs" and "-te": the rest of the argument
  int txpVariant = 0;      // "-txp" 0, "-txp0" 1; not reset by the dispatcher
  unsigned printFlag = 0;  // "-ls" 1, "-pr%x"; not reset by the dispatcher
  long tileColumn = -1;    // "-ti%03ld%03ld"; not reset; -1: no tile filter
  long tileRow = 0;
};

// The process-wide option values.
OptionValues& Options();

// Back to the values of program start (for tests).
void ResetOptions();

}  // namespace ostrand
