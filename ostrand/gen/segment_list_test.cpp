#include "ostrand/gen/segment_list.h"

#include <gtest/gtest.h>

#include <string>

#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/tile_grid.h"

namespace ostrand {
namespace {

TEST(SegmentListTest, FullListReportsOnceAndStillSizesTheGrid) {
  testing::ScratchDir dir;
  testing::CaptureConsole console;
  ResetReportState();
  ResetGenerationState();
  SegmentList& runways = RunwaySegments();
  for (int32_t i = 0; i < kMaxRunwaySegments + 2; ++i) {
    EXPECT_EQ(runways.Add(i, {i * 10, 0, 0}, {i * 10, 0, 500}), i < kMaxRunwaySegments ? 1 : 0);
  }
  // The taxiway list shares the one report.
  TaxiwaySegments().count = TaxiwaySegments().capacity;
  EXPECT_EQ(TaxiwaySegments().Add(7, {0, 0, 0}, {1, 0, 1}), 0);
  EXPECT_EQ(runways.count, kMaxRunwaySegments);
  EXPECT_EQ(runways.entries[5].edge, 5);
  EXPECT_EQ(runways.entries[5].line.length, 500.0);
  EXPECT_EQ(GenerationBox().maxX, (kMaxRunwaySegments + 1) * 10.0);
  EXPECT_EQ(GenerationBox().maxZ, 500.0);
  EXPECT_EQ(console.Text(), "ERROR: SegmentList::Add - too many edges\n");
  ResetGenerationState();
}

}  // namespace
}  // namespace ostrand
