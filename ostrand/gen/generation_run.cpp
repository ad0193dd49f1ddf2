// One surface generation run: its start and its vertex degrees.
#include "ostrand/gen/generation_run.h"

#include "ostrand/frame/report.h"

namespace ostrand {

GenerationRun::GenerationRun() : degrees_(static_cast<size_t>(kDegreeTableSize), 0) {
  ResetReportOnce();
}

int32_t GenerationRun::PointDegree(int32_t vertex) const {
  if (vertex < 0 || vertex >= kDegreeTableSize) return 0;
  return degrees_[static_cast<size_t>(vertex)];
}

void GenerationRun::AddPointDegree(int32_t vertex, int32_t amount) {
  if (vertex < 0 || vertex >= kDegreeTableSize) return;
  degrees_[static_cast<size_t>(vertex)] += amount;
}

void GenerationRun::ClearPointDegrees() {
  for (int32_t& d : degrees_) d = 0;
}

}  // namespace ostrand
