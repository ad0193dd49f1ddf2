// The copy operations: BgrMove shifts vertices and BgrDeleteEdges leaves
// out edge records while a network file is copied to a new file. Both copy
// through the record scanner, so every byte they do not change (unknown
// records, surface sections) reaches the destination in the source's order.
#pragma once

namespace ostrand {

// Copies source to dest adding east to x and north to z of the vertices
// vmin..vmax (vmin -1: all vertices; vmax -1: vmin alone). 1 on success, 0
// when a file did not open or both names are the same file.
int BgrMove(const char* source, const char* dest, double north, double east, long vmin,
            long vmax);

// Copies source to dest without the edge records between vmin and vmax in
// either direction (vmax -1: every edge at vmin), printing "Deleted %ld %ld"
// for each. 1 on success, 0 when a file did not open or both names are the
// same file.
int BgrDeleteEdges(const char* source, const char* dest, long vmin, long vmax);

}  // namespace ostrand
