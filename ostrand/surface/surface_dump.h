// The dump of a TMS surface file: `ostrand -ls` on a file with the extension
// "tms" prints every header value, every polygon of every tile with its
// corners (1/256 ft and feet), every light record, the coordinate range seen
// so far in the run, and the final stream position and the file length.
#pragma once

namespace ostrand {

// Prints the dump to the console; 1 in every case (a missing or unreadable
// file prints nothing).
int DumpSurfaceFile(const char* name);

// The range of printed x and z lives for the whole run; this puts it back to
// its start values (for tests).
void ResetSurfaceDumpRange();

}  // namespace ostrand
