// Segment lists of the surface generation: the runways (32 entries) and the
// taxiways (6000 entries) as lines in working units, each with the four
// corners of its pavement quad. Adding a segment also extends the run's
// bounding box by its two ends.
#pragma once

#include <cstdint>
#include <vector>

#include "ostrand/gen/line.h"
#include "ostrand/surface/texpoints.h"

namespace ostrand {

struct BoundingBox;

inline constexpr int32_t kMaxRunwaySegments = 32;
inline constexpr int32_t kMaxTaxiwaySegments = 6000;

struct Segment {
  int32_t edge = 0;
  Line line;
  // Pavement quad: left start, right start, right end, left end.
  IntPoint corners[4];
};

class SegmentList {
 public:
  explicit SegmentList(int32_t initialCapacity);

  // Appends the segment of edge `edgeIndex` from start to end (x and z)
  // and extends the box by both; when the list is full, reports
  // "SegmentList::Add - too many edges" once per run and adds nothing.
  // Returns 1 when added.
  int Add(int32_t edgeIndex, const IntPoint& start, const IntPoint& end, BoundingBox& box);

  int32_t capacity = 0;
  int32_t count = 0;
  std::vector<Segment> entries;  // at least count entries, taken as the list grows
};

}  // namespace ostrand
