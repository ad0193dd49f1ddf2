// BlockBuffer: appending across blocks, writing over, writing out.
#include "ostrand/frame/block_buffer.h"

#include <algorithm>

namespace ostrand {

void BlockBuffer::DrainSettled() {
  size_t whole = (settled_ - drained_) / kBlockSize;
  if (whole == 0) return;
  for (size_t i = 0; i < whole; ++i)
    failed_ = failed_ || std::fwrite(blocks_[i].get(), 1, kBlockSize, sink_) != kBlockSize;
  if (spare_ == nullptr) spare_ = std::move(blocks_[0]);
  blocks_.erase(blocks_.begin(), blocks_.begin() + static_cast<std::ptrdiff_t>(whole));
  drained_ += whole * kBlockSize;
}

void BlockBuffer::AppendAcrossBlocks(const unsigned char* bytes, size_t n) {
  while (n > 0) {
    if (room_ == 0) {
      if (sink_ != nullptr) DrainSettled();
      if (spare_ != nullptr) {
        blocks_.push_back(std::move(spare_));
      } else {
        // Not value-initialised: every byte is written before it is read.
        blocks_.push_back(std::unique_ptr<unsigned char[]>(new unsigned char[kBlockSize]));
      }
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
  if (offset < settled_ || offset > size_ || n > size_ - offset) return false;
  for (size_t i = 0; i < n; ++i) {
    const size_t at = offset + i - drained_;
    blocks_[at / kBlockSize][at % kBlockSize] = bytes[i];
  }
  return true;
}

bool BlockBuffer::WriteTo(std::FILE* stream) const {
  size_t left = size_ - drained_;
  for (const auto& block : blocks_) {
    const size_t part = std::min(left, kBlockSize);
    if (std::fwrite(block.get(), 1, part, stream) != part) return false;
    left -= part;
  }
  return !failed_;
}

void BlockBuffer::Release() {
  std::vector<std::unique_ptr<unsigned char[]>>().swap(blocks_);
  spare_.reset();
  size_ = room_ = drained_ = settled_ = 0;
  sink_ = nullptr;
  failed_ = false;
}

}  // namespace ostrand
