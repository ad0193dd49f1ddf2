// Segment lists of the surface generation.
#include "ostrand/gen/segment_list.h"

#include "ostrand/frame/report.h"
#include "ostrand/gen/tile_grid.h"

namespace ostrand {
namespace {

// One report for both lists: the overflow is reported once per run.
ReportOnce g_overflow;

}  // namespace

SegmentList::SegmentList(int32_t initialCapacity)
    : capacity(initialCapacity) {}

int SegmentList::Add(int32_t edgeIndex, const IntPoint& start, const IntPoint& end,
                     BoundingBox& box) {
  int added = 0;
  if (count < capacity) {
    if (entries.size() <= static_cast<size_t>(count)) entries.emplace_back();
    Segment& s = entries[static_cast<size_t>(count)];
    s.edge = edgeIndex;
    s.line.Set(start.x, start.z, end.x, end.z);
    for (IntPoint& c : s.corners) c = IntPoint();
    ++count;
    added = 1;
  } else {
    g_overflow.Report("SegmentList::Add - too many edges");
  }
  box.Extend(start.x, start.z);
  box.Extend(end.x, end.z);
  return added;
}

}  // namespace ostrand
