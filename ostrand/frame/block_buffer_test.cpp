#include "ostrand/frame/block_buffer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace ostrand {
namespace {

// The bytes held, through a memory stream.
std::string Contents(const BlockBuffer& buffer) {
  std::string out(buffer.Size() + 1, '\0');
  std::FILE* stream = fmemopen(out.data(), out.size(), "wb");
  EXPECT_TRUE(buffer.WriteTo(stream));
  std::fclose(stream);
  out.resize(buffer.Size());
  return out;
}

// Appends of every size around the block border, and writes over bytes that
// straddle it, against the same steps on a string.
TEST(BlockBufferTest, HoldsWhatAStringWouldHold) {
  constexpr size_t kBlock = BlockBuffer::kBlockSize;
  const size_t appends[] = {0, 3, kBlock - 5, 1, 4, 0, 2 * kBlock + 7, 4};
  BlockBuffer buffer;
  std::string model;
  unsigned char next = 0;
  for (size_t n : appends) {
    std::string bytes;
    for (size_t i = 0; i < n; ++i) bytes += static_cast<char>(next++);
    buffer.Append(reinterpret_cast<const unsigned char*>(bytes.data()), n);
    model += bytes;
  }
  const unsigned char four[4] = {'a', 'b', 'c', 'd'};
  for (size_t offset : {size_t{0}, kBlock - 2, 2 * kBlock - 1, model.size() - 4}) {
    EXPECT_TRUE(buffer.Overwrite(offset, four, 4));
    model.replace(offset, 4, "abcd");
  }
  EXPECT_FALSE(buffer.Overwrite(model.size() - 3, four, 4));  // beyond the end: nothing changes
  EXPECT_FALSE(buffer.Overwrite(model.size() + 1, four, 0));
  EXPECT_EQ(buffer.Size(), model.size());
  EXPECT_TRUE(Contents(buffer) == model);
  buffer.Release();
  EXPECT_EQ(Contents(buffer), "");
}

}  // namespace
}  // namespace ostrand
