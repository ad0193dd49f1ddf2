#include "ostrand/frame/block_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
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

  // Draining into a stream: the settled blocks go out as the buffer grows,
  // settled bytes are not written over, and the stream gets every byte.
  std::string sunk(model.size() + 1, '\0');
  std::FILE* sink = fmemopen(sunk.data(), sunk.size(), "wb");
  buffer.DrainInto(sink);
  const auto* bytes = reinterpret_cast<const unsigned char*>(model.data());
  for (size_t at = 0; at < model.size(); at += 1000) {
    buffer.Append(bytes + at, std::min<size_t>(1000, model.size() - at));
    if (at == 99000) buffer.Settle();  // 1.5 blocks
  }
  EXPECT_FALSE(buffer.Overwrite(kBlock - 2, four, 4));
  EXPECT_TRUE(buffer.Overwrite(150000, four, 4));
  model.replace(150000, 4, "abcd");
  EXPECT_TRUE(buffer.WriteTo(sink));
  std::fclose(sink);
  sunk.resize(model.size());
  EXPECT_TRUE(sunk == model);
}

}  // namespace
}  // namespace ostrand
