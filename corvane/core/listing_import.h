// Import of an airport through `ostrand -ls` (the Open command of a .bgr or
// .tms file).
//
// The listings are made in a folder of the caller's own (a private temporary
// folder): "ostrand -ls DIR/T.bgr >> T_bgr.tmp" and
// "ostrand -ls DIR/T.tms >> T_tms.tmp" run there through the shell one after
// the other (DIR the file's folder, T the upper-cased file title; ostrand
// matches names without regard to case), so its run log lands there too and
// nothing in the airport's folder is written or deleted. The two listings are
// read into the document, which is not emptied first. The chosen file's
// folder becomes the working directory.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "corvane/core/corvane_doc.h"

namespace corvane {

// Runs one command line through the shell in `folder` and waits for it.
using ShellRunner = std::function<void(const std::string& command, const std::string& folder)>;

// The default runner: /bin/sh -c command (the exit state is not examined).
void RunShellCommand(const std::string& command, const std::string& folder = std::string());

// The upper-cased file title of a path (name without folder and extension).
std::string FileTitleUpper(const std::string& path);

// The two listing command lines for the airport T in `folder`, in the order
// they run.
std::vector<std::string> ListingCommands(const std::string& folder, const std::string& title);

// Imports the airport of `path` into doc, making the listings in `work`.
// False, with the document and the working directory as they were, when the
// file cannot be read or its listings hold no vertex, edge or polygon.
bool ImportListing(CCorvaneDoc& doc, const std::string& path, const std::string& work,
                   const ShellRunner& run = RunShellCommand);

}  // namespace corvane
