#include "ostrand/frame/point_hash.h"

#include <gtest/gtest.h>

namespace ostrand {
namespace {

// Points that differ in one coordinate only, in sign, or by whole 2^32
// steps of the key's halves, filed past several growths of the table: each
// is found as its own number, and nothing else is found.
TEST(PointHashTest, EachPointIsFoundAsItsOwnNumber) {
  PointHash hash;
  EXPECT_EQ(hash.Find(0, 0), -1);
  const int32_t values[] = {0, 1, -1, 2, INT32_MIN, INT32_MAX, 256, -256, 65536, -65536};
  int32_t number = 0;
  for (int32_t x : values)
    for (int32_t z : values) hash.File(x, z, number++);
  number = 0;
  for (int32_t x : values)
    for (int32_t z : values) EXPECT_EQ(hash.Find(x, z), number++) << x << " " << z;
  EXPECT_EQ(hash.Find(3, 0), -1);
  EXPECT_EQ(hash.Find(0, 3), -1);
  EXPECT_EQ(hash.Find(-2, -2), -1);
}

}  // namespace
}  // namespace ostrand
