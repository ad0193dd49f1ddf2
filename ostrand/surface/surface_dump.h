// The dump of a TMS surface file: `ostrand -ls` on a file with the extension
// "tms" prints every header value, every polygon of every tile with its
// corners (1/256 ft and feet), every light record, the coordinate range seen
// so far in the run, and the final stream position and the file length.
// The taxi-path editor reads this text back. Lines, in order:
//
//   <orgn> (51 20'27.0000"N 1 0'00.0000"E)      latitude and longitude text
//   <tlxz> 8 8                                   tiles along x and z
//   <feet> 1148846080 (0x447a0000 1000.000000)   tile edge: the single's bits
//   <lowl> -4000.000000 0.000000 -4000.000000    lower-left corner, feet
//   per tile: an empty line, then "<indx> x z", then per record:
//     "<pave> n", "<edmk> n" or "<cntr> n", then per corner
//       "%3ld:" point index, " x y z (x y z ft)"  (1/256 ft, then feet)
//     "<lite> count, type t, step_ft s", then per position
//       "%3d:" position number, " x y z (x y z ft)" (y is 0)
//   Range X: min max, Z: min max                  of every printed x and z
//   Tell= %08lX, len= %08lX                       stream position, file length
//
// Feet are the coordinates divided by 256, truncated toward zero. A corner
// whose index lies outside its section's point table prints as 0 0 0 and
// leaves the range alone.
#pragma once

namespace ostrand {

// Prints the dump to the console; 1 in every case (a missing or unreadable
// file prints nothing).
int DumpSurfaceFile(const char* name);

// The range of printed x and z lives for the whole run; this puts it back to
// its start values (for tests).
void ResetSurfaceDumpRange();

}  // namespace ostrand
