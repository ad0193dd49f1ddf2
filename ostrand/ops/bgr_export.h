// Exports of a network file for other tools, written beside the source
// (same name, extension replaced). The source is not changed.
//
// TXD file (all values little-endian, no padding):
//   int32 E                 edge count (written as 0, patched at the end)
//   E x 32 bytes            per edge: int32 from, int32 to, double 0.0,
//                           double 75.0, double 75.0
//   int32 N                 vertex count
//   N x 32 bytes            per vertex: double x, double z, double 0.0,
//                           double 0.0
//
// TXP file: NUL-terminated texts (a tag and a caption) and binary values:
//   "<bgno> ========== BEGIN OBJECT =========="
//   per origin: "<orgn> ---- origin ----", 3 doubles, int32 marker
//   at the first vertex: "<vert> ---- vertex pool ----", int32 N (patched),
//     then per vertex 3 doubles x, y, z ("-txp" only)
//   "-txp" with N > 0: "<poly> ---- polygon ----",
//     "<bgno> ========== BEGIN OBJECT ==========",
//     "<pvrt> ---- vertex reference list ----", int32 N, int32 0 .. N-1,
//     "<endo> ========== END OBJECT =========="
//   "<endo> ========== END OBJECT =========="
// Origins and the vertex pool appear in the order of the source's "<orgn>"
// and "<vloc>" records. The "-txp0" variant keeps the pool count at 0.
#pragma once

namespace ostrand {

// Writes the TXD file; 1 on success, 0 when a file did not open or the
// source had more than 12000 vertices (the first 12000 are written).
int BgrTxd(const char* file);

// Writes the TXP file; variant 0 is "-txp", 1 is "-txp0". 1 on success, 0
// when a file did not open.
int BgrTxp(const char* file, int variant);

}  // namespace ostrand
