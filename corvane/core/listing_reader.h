// Readers of the texts the editor loads into its document:
//  - the BGR listing of `ostrand -ls X.bgr` ("<orgn>", "<vloc>", "<edge>"
//    lines; every other line ignored),
//  - the TMS surface dump of `ostrand -ls X.tms` ("<pave> n" followed by n
//    corner lines "  p: x*256 y*256 z*256 (...)"; every other line ignored),
//  - the document reader used for files opened directly: the lines of both
//    listings, the "ostrand" command-line line at the head of a listing, and
//    the project file's "ICAO", "ORGN" and "#" lines.
//
// A line is split into tokens at blanks (runs of blanks count as one); its
// first token decides what the line is. Numbers are read with atoi/atof
// semantics. Lines with fewer tokens than their rule reads are ignored; a
// "<pave>" count larger than the lines left reads the lines there are.
#pragma once

#include <string_view>

#include "corvane/core/corvane_doc.h"

namespace corvane {

void ParseBgrListing(CCorvaneDoc& doc, std::string_view text);
void ParseTmsListing(CCorvaneDoc& doc, std::string_view text);

// The document reader: sets the name to empty, then reads every line.
void ReadDocument(CCorvaneDoc& doc, std::string_view text);

}  // namespace corvane
