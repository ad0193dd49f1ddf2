#include "ostrand/frame/point_hash.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrand {
namespace {

// Points that differ in one coordinate only, in sign, or by whole 2^32
// steps of the key's halves, filed past several growths of the table: each
// is found as its own number, and nothing else is found.
TEST(PointHashTest, EachPointIsFoundAsItsOwnNumber) {
  struct XZ {
    int32_t x, z;
  };
  std::vector<XZ> table;
  auto at = [&table](int32_t number) { return table.at(static_cast<size_t>(number)); };
  PointHash hash;
  EXPECT_EQ(hash.Find(0, 0, at), -1);
  const int32_t values[] = {0, 1, -1, 2, INT32_MIN, INT32_MAX, 256, -256, 65536, -65536};
  for (int32_t x : values)
    for (int32_t z : values) table.push_back({x, z}), hash.File(x, z, static_cast<int32_t>(table.size() - 1), at);
  int32_t number = 0;
  for (int32_t x : values)
    for (int32_t z : values) EXPECT_EQ(hash.Find(x, z, at), number++) << x << " " << z;
  EXPECT_EQ(hash.Find(3, 0, at), -1);
  EXPECT_EQ(hash.Find(0, 3, at), -1);
  EXPECT_EQ(hash.Find(-2, -2, at), -1);
  // One search finds a point or files the number the table gives it; a
  // point the table refused (-1) is not filed.
  auto refuse = [] { return -1; };
  auto append = [&table] { return table.push_back({7, 7}), static_cast<int32_t>(table.size() - 1); };
  EXPECT_EQ(hash.FindOrFile(256, -256, at, refuse), 67);
  EXPECT_EQ(hash.FindOrFile(7, 7, at, refuse), -1);
  EXPECT_EQ(hash.FindOrFile(7, 7, at, append), 100);
  EXPECT_EQ(hash.FindOrFile(7, 7, at, refuse), 100);
}

}  // namespace
}  // namespace ostrand
