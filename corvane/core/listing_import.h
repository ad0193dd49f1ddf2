// Import of an airport through `ostrand -ls` (the Open command).
//
// In the chosen file's folder, made the working directory: every "*.tmp" file
// there is deleted, then "ostrand -ls T.bgr >> T_bgr.tmp" and
// "ostrand -ls T.tms >> T_tms.tmp" run through the shell one after the other
// (T the upper-cased file title; ostrand matches names without regard to
// case), "report.txt" is deleted, the two listings are read into the
// document (which is not emptied first), and the "*.tmp" files are deleted.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "corvane/core/corvane_doc.h"

namespace corvane {

// Runs one command line through the shell and waits for it.
using ShellRunner = std::function<void(const std::string& command)>;

// The default runner: /bin/sh -c command (the exit state is not examined).
void RunShellCommand(const std::string& command);

// The upper-cased file title of a path (name without folder and extension).
std::string FileTitleUpper(const std::string& path);

// The two listing command lines for a title, in the order they run.
std::vector<std::string> ListingCommands(const std::string& title);

// Deletes every file whose name ends in ".tmp" in the working directory.
void DeleteTempFiles();

// Imports the airport of `path` into doc. Returns false when the file's
// folder cannot be made the working directory (nothing is done then).
bool ImportListing(CCorvaneDoc& doc, const std::string& path,
                   const ShellRunner& run = RunShellCommand);

}  // namespace corvane
