// The listing of a BGR network file (option -ls, and the default mode): a
// readable account of every record on the console, which the taxi-path
// editor also reads back. A file with the extension "tms" is handed to the
// surface section dump instead.
//
// Listing text, one line per tag the scanner finds (print flag set):
//   "<bgno>" / "<node>" / "<endo>" / "<flow>" ...  the tag alone (only when
//                                                 all vertices are listed)
//   "<orgn>  lat lon elev 1 (51 20'27.0000\"N 1 0'00.0000\"E)"
//   "<vloc> (index) x y z"
//   "<edge>  from to"
//   "<thck> code feetft sp=XX"
//   "<type>  type"
// and last "WS= minx minz, EN= maxx maxz". With the print flag at 0 the
// values vanish; skipped bytes print as " %02X" when it is set.
#pragma once

#include <climits>
#include <cstdio>

namespace ostrand {

// Upper end of the vertex range when every vertex is listed.
inline constexpr long kEveryVertex = LONG_MAX;

// Lists the file; vmin -1 lists all vertices, vmax -1 only vertex vmin.
// 1 when the file was listed, 0 when it did not open.
int BgrList(const char* name, long vmin, long vmax);

// Lists an open stream (not closed here) with the vertex range already
// resolved; the listing of BgrList after the file is open. Tags that carry
// no listed values are printed when vmax is 9999 or kEveryVertex.
void ListNetworkStream(std::FILE* in, long vmin, long vmax);

}  // namespace ostrand
