// Payloads of the network records that the scanner-based operations (move,
// delete edges, TXP export) know. The record scanner finds tags by looking
// for '<', so a binary value with a byte 0x3C that it skips would start a
// false tag and could end the scan in the middle of the file (an edge to
// vertex 1084 is stored as 3C 04 00 00). These operations therefore take
// the payload of each record they know as a whole, unchanged:
//
//   "<orgn>" 28 bytes (3 f64, i32)   "<vloc>" 24 bytes (3 f64)
//   "<edge>" 8 bytes (2 i32)         "<thck>", "<type>", "<flow>" 4 bytes
//
// and a scan that ends on a malformed tag before the end of the source is
// reported instead of passing for a complete copy.
#pragma once

#include <cstdio>

namespace ostrand {

// Bytes of payload after the tag for the records above; 0 for any other.
int KnownPayloadSize(const char* tag);

// Reads n bytes and writes them to out when given; false when the source
// ended first (what was read is still written).
bool CopyPayload(std::FILE* in, std::FILE* out, int n);

// After the scan loop: true when it stopped on a malformed tag rather than
// at the end of the source.
bool StoppedEarly(std::FILE* in);

}  // namespace ostrand
