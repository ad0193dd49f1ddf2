// Opening a file into the document, all or nothing. An airport file (.bgr or
// .tms, in any case) is imported through ostrand; any other file is read by
// the document reader (a project file, or a listing saved as text), which
// replaces the taxi path and keeps the network. A file that cannot be
// opened, read or imported, or that holds nothing the document can take,
// leaves the document as it was.
#pragma once

#include <string>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/listing_import.h"

namespace corvane {

bool IsAirportFile(const std::string& path);

// Loads path into doc; `work` is the private folder an import lists in.
// False when nothing was loaded.
bool LoadFile(CCorvaneDoc& doc, const std::string& path, const std::string& work,
              const ShellRunner& run = RunShellCommand);

}  // namespace corvane
