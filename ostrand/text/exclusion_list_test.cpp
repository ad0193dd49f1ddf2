#include "ostrand/text/exclusion_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ostrand/frame/test_support.h"
#include "ostrand/text/test_support.h"

namespace ostrand {
namespace {

using testing::ScratchDir;
using testing::TableRows;

// The areas and boxes of testdata/excllist.txt, as testdata/exclusions.txt lists them.
TEST(ExclusionListTest, AreasAndBoxes) {
  ScratchDir dir;
  ExclusionList list;
  EXPECT_EQ(list.Load("missing.txt"), -1);  // a missing list: no areas, no boxes
  EXPECT_EQ(list.FindArea(""), kNoArea);
  EXPECT_EQ(list.IsExcluded(kNoArea, 0, 0), -1);
  std::filesystem::copy_file(OSTRAND_SOURCE_DIR "/ostrand/text/testdata/excllist.txt", "excllist.txt");
  ASSERT_EQ(list.Load(), 12);
  const auto rows = TableRows("ostrand/text/testdata/exclusions.txt");
  ASSERT_GE(rows.size(), 27u);
  for (const auto& r : rows) {
    SCOPED_TRACE(r[0] + " " + r[1] + " " + r[2]);
    EXPECT_EQ(r[0] == "area" ? list.FindArea(r[1]) : list.IsExcluded(std::stoi(r[1]), std::stod(r[2]), std::stod(r[3])),
              std::stoi(r.back()));
  }
}

}  // namespace
}  // namespace ostrand
