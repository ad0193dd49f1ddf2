// BlockBuffer: appending across blocks, writing over, writing out.
#include "ostrand/frame/block_buffer.h"

#include <algorithm>

namespace ostrand {

void BlockBuffer::AppendAcrossBlocks(const unsigned char* bytes, size_t n) {
  while (n > 0) {
    if (room_ == 0) {
      // Not value-initialised: every byte is written before it is read.
      blocks_.push_back(std::unique_ptr<unsigned char[]>(new unsigned char[kBlockSize]));
      room_ = kBlockSize;
    }
    const size_t part = std::min(n, room_);
    std::memcpy(blocks_.back().get() + (kBlockSize - room_), bytes, part);
    room_ -= part;
    size_ += part;
    bytes += part;
    n -= part;
  }
}

bool BlockBuffer::Overwrite(size_t offset, const unsigned char* bytes, size_t n) {
  if (offset > size_ || n > size_ - offset) return false;
  for (size_t i = 0; i < n; ++i) {
    const size_t at = offset + i;
    blocks_[at / kBlockSize][at % kBlockSize] = bytes[i];
  }
  return true;
}

bool BlockBuffer::WriteTo(std::FILE* stream) const {
  size_t left = size_;
  for (const auto& block : blocks_) {
    const size_t part = std::min(left, kBlockSize);
    if (std::fwrite(block.get(), 1, part, stream) != part) return false;
    left -= part;
  }
  return true;
}

void BlockBuffer::Release() {
  std::vector<std::unique_ptr<unsigned char[]>>().swap(blocks_);
  size_ = 0;
  room_ = 0;
}

}  // namespace ostrand
