// BlockBuffer: bytes gathered in memory before they are written out at
// once, held in blocks of 64 KiB so that growing never copies what is
// already held and every page is touched once. Bytes already held can be
// written over in place (a count put in front of what it counts).
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace ostrand {

class BlockBuffer {
 public:
  static constexpr size_t kBlockSize = 65536;

  // Appends n bytes.
  void Append(const unsigned char* bytes, size_t n) {
    if (n <= room_ && room_ != 0) {  // the common case: a few bytes into the last block
      std::memcpy(blocks_.back().get() + (kBlockSize - room_), bytes, n);
      room_ -= n;
      size_ += n;
      return;
    }
    AppendAcrossBlocks(bytes, n);
  }
  // Bytes held.
  size_t Size() const { return size_; }
  // Puts n bytes over those held from offset on; false (nothing changed)
  // when they are not all held.
  bool Overwrite(size_t offset, const unsigned char* bytes, size_t n);
  // Writes every byte held to the stream; false when a write fell short.
  bool WriteTo(std::FILE* stream) const;
  // Empties the buffer and gives its memory back.
  void Release();

 private:
  void AppendAcrossBlocks(const unsigned char* bytes, size_t n);

  std::vector<std::unique_ptr<unsigned char[]>> blocks_;
  size_t size_ = 0;
  size_t room_ = 0;  // free bytes at the end of the last block
};

}  // namespace ostrand
