// BlockBuffer: bytes gathered in memory before they are written out, held in
// blocks of 64 KiB so that growing never copies what is already held and
// every page is touched once. Bytes already held can be written over in
// place (a count put in front of what it counts) until they are settled.
//
// With a stream to drain into (DrainInto), a block whose bytes are all
// settled is written out as soon as the buffer needs a further block, and
// its memory serves as that block: a writer that settles what it will not
// write over again holds little more than the bytes still open. Without
// one, everything is held until WriteTo.
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
  // Bytes appended so far (written out or held).
  size_t Size() const { return size_; }
  // Puts n bytes over those appended from offset on; false (nothing
  // changed) when they are not all held, or some are settled.
  bool Overwrite(size_t offset, const unsigned char* bytes, size_t n);
  // The bytes appended so far will not be written over.
  void Settle() { settled_ = size_; }
  // Settled blocks go to the stream from now on, as the buffer grows.
  void DrainInto(std::FILE* stream) { sink_ = stream; }
  // Writes every byte still held to the stream; false when a write fell
  // short, here or on the way.
  bool WriteTo(std::FILE* stream) const;
  // Empties the buffer and gives its memory back.
  void Release();

 private:
  void AppendAcrossBlocks(const unsigned char* bytes, size_t n);
  // Writes out the held blocks that are wholly settled; the first of them
  // is kept, empty, for reuse.
  void DrainSettled();

  std::vector<std::unique_ptr<unsigned char[]>> blocks_;  // the held blocks, oldest first
  std::unique_ptr<unsigned char[]> spare_;                // a drained block, for the next one
  size_t size_ = 0;
  size_t room_ = 0;      // free bytes at the end of the last block
  size_t drained_ = 0;   // bytes written out (the first held block starts here)
  size_t settled_ = 0;   // bytes that will not be written over
  std::FILE* sink_ = nullptr;
  bool failed_ = false;  // a write to the sink fell short
};

}  // namespace ostrand
