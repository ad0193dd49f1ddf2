// Merge and purge: two operations that rewrite a network file in place
// through a staged copy (see bgr_rewrite.h). BgrMerge appends the network
// of one file to that of a second file; BgrPurge keeps only the vertices
// that edges use, folds vertices within 5 feet of each other into one and
// renumbers the edges.
#pragma once

#include <cstdint>

#include "ostrand/ops/bgr_rewrite.h"

namespace ostrand {

// Vertices within this distance in x and in z are one vertex for a purge.
inline constexpr double kPurgeTolerance = 5.0;

// Capacity of the merged vertex table (the point table's default).
inline constexpr int32_t kMergeCapacity = 2000;

// Merges file into file2: file2's origin and vertices first, then file's
// vertices (whole feet) and edges with end numbers shifted by file2's vertex
// count. 1 when file2 was replaced, 0 otherwise (file2 unchanged).
int BgrMerge(const char* file, const char* file2);

// Purges the file: vertex 0 is (0, 0, 0), then the vertices in the order
// edges first refer to them, folded within 5 feet. 1 when the file was
// replaced, 0 otherwise (file unchanged).
int BgrPurge(const char* file);

// The kept index of a source vertex: 0 for an index outside the source;
// else the first kept entry whose x and z each lie within the tolerance of
// the vertex's (y not compared); else the vertex appended to the kept table
// (through insert_double_points, keptCapacity entries at most).
int32_t FindOrAddPoint(int32_t sourceIndex, const DoublePoint* source, int32_t sourceCount,
                       DoublePoint* kept, int32_t& keptCount, double tolerance,
                       int32_t keptCapacity = kMaxDoublePoints);

}  // namespace ostrand
