// Command-line parsing and dispatch: the options select one mode, the mode
// table says how many file names it takes and which operation it calls.
#pragma once

#include "ostrand/frame/options.h"

namespace ostrand {

// Arguments an operation receives: the file names in command-line order and
// the option values.
struct Invocation {
  const char* file1 = nullptr;
  const char* file2 = nullptr;
  const OptionValues* options = nullptr;
};

using Operation = int (*)(const Invocation&);

// One entry per mode.
struct ModeEntry {
  Mode mode;
  int fileNames;  // the exact number of file names the mode needs
  Operation run;
};

// Takes the argument as an option when it is one (updating Options()); 1 if
// it was an option, 0 if not.
int ParseOption(const char* argument);

// Resets the option values, parses the options, checks the number of file
// names and runs the operation of the mode. Returns the operation's result,
// or -1 after printing the usage text. The table needs an entry for every
// mode; a mode without one prints the usage text.
int Dispatch(int argc, char** argv, const ModeEntry* table, int tableSize);

// Prints the nine-line usage text to the console.
void PrintUsage();

}  // namespace ostrand
