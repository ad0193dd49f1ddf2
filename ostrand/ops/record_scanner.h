// The record scanner shared by the listing, the copy operations (move,
// delete edges) and the TXP export: it finds tags by scanning for '<'
// rather than by reading records in a fixed order, so it walks files whose
// records are in any order or that carry sections it does not know, and can
// copy every byte it reads to a second stream.
//
// When the print flag (Options().printFlag) is set, skipped bytes are
// printed as " %02X" and field values as " %lf" / " %ld".
//
// A field that the end of the file cuts short reads as 0 (the addend is not
// applied) and its bytes are copied to the output stream unchanged, so a
// copy of a truncated file is the same truncated file.
#pragma once

#include <cstdio>

namespace ostrand {

// Size of a tag buffer: a tag holds at most 62 characters ('<' to '>') and
// its terminator.
inline constexpr int kTagBufferSize = 64;

// Reads the next tag into the buffer; 1 when a tag was read, 0 at the end of
// the file or on a malformed tag (62 characters without '>', or no NUL after
// '>'). Every byte read is also written to `copy` when given.
int ScanTag(char (&tag)[kTagBufferSize], std::FILE* in, std::FILE* copy);

// Reads a little-endian double, adds the addend, writes the result to `out`
// when given, prints " %lf" when the print flag is set; returns the result.
double ReadRealField(std::FILE* in, std::FILE* out, double addend);

// Reads a little-endian 32-bit integer, adds the addend, writes the result
// to `out` when given, prints (result / divisor) as " %ld" when the print
// flag is set and quiet is 0; returns the undivided result.
long ReadLongField(std::FILE* in, std::FILE* out, long addend, long divisor, int quiet);

}  // namespace ostrand
