// PointHash: the number of each point (x, z) of a table whose points are
// all different, for the exact search "which entry is this point": a table
// that only ever adds a point when no equal one is there holds each point
// once, so the entry found is the first equal one, as a scan from the
// table's first entry would find it. Open addressing over a power of two
// of slots, kept at most half full; it takes no storage until the first
// point is filed.
//
// A slot holds only the number: the point itself is asked of the table,
// through `pointAt(number)` (anything with members x and z), so that the
// hash of a table of tens of thousands of points stays small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrand {

class PointHash {
 public:
  // The number filed for (x, z), or -1.
  template <typename PointAt>
  int32_t Find(int32_t x, int32_t z, const PointAt& pointAt) const {
    if (slots_.empty()) return -1;
    for (size_t i = Home(x, z);; i = (i + 1) & (slots_.size() - 1)) {
      const int32_t number = slots_[i];
      if (number < 0) return -1;
      const auto& p = pointAt(number);
      if (p.x == x && p.z == z) return number;
    }
  }
  // The number filed for (x, z); else the number `add()` gives for it
  // (>= 0: filed for the point, which `pointAt` must give by then; < 0:
  // nothing filed). One search serves both.
  template <typename PointAt, typename Add>
  int32_t FindOrFile(int32_t x, int32_t z, const PointAt& pointAt, const Add& add) {
    if (2 * (used_ + 1) > slots_.size()) Grow(pointAt);
    size_t i = Home(x, z);
    for (;; i = (i + 1) & (slots_.size() - 1)) {
      const int32_t number = slots_[i];
      if (number < 0) break;
      const auto& p = pointAt(number);
      if (p.x == x && p.z == z) return number;
    }
    const int32_t number = add();
    if (number >= 0) {
      slots_[i] = number;
      ++used_;
    }
    return number;
  }
  // Files number (>= 0) for (x, z), a point not filed before; `pointAt`
  // must already give it.
  template <typename PointAt>
  void File(int32_t x, int32_t z, int32_t number, const PointAt& pointAt) {
    if (2 * (used_ + 1) > slots_.size()) Grow(pointAt);
    slots_[FreeSlot(x, z)] = number;
    ++used_;
  }

 private:
  // Doubles the slots (64 at first) and files every number again.
  template <typename PointAt>
  void Grow(const PointAt& pointAt) {
    std::vector<int32_t> old(slots_.empty() ? 64 : 2 * slots_.size(), -1);
    old.swap(slots_);
    for (const int32_t filed : old) {
      if (filed < 0) continue;
      const auto& p = pointAt(filed);
      slots_[FreeSlot(p.x, p.z)] = filed;
    }
  }
  size_t Home(int32_t x, int32_t z) const {
    const uint64_t key = (uint64_t{static_cast<uint32_t>(x)} << 32) | static_cast<uint32_t>(z);
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
  }
  size_t FreeSlot(int32_t x, int32_t z) const {
    size_t i = Home(x, z);
    while (slots_[i] >= 0) i = (i + 1) & (slots_.size() - 1);
    return i;
  }

  std::vector<int32_t> slots_;  // a number, or -1 for a free slot
  size_t used_ = 0;
};

}  // namespace ostrand
