// PointHash: the number of each point (x, z) of a table whose points are
// all different, for the exact search "which entry is this point": a table
// that only ever adds a point when no equal one is there holds each point
// once, so the entry found is the first equal one, as a scan from the
// table's first entry would find it. Open addressing over a power of two
// of slots, kept at most half full; it takes no storage until the first
// point is filed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrand {

class PointHash {
 public:
  // The number filed for (x, z), or -1.
  int32_t Find(int32_t x, int32_t z) const {
    if (slots_.empty()) return -1;
    const uint64_t key = Key(x, z);
    for (size_t i = Home(key);; i = (i + 1) & (slots_.size() - 1)) {
      const Slot& slot = slots_[i];
      if (slot.number < 0) return -1;
      if (slot.key == key) return slot.number;
    }
  }
  // Files number (>= 0) for (x, z), a point not filed before.
  void File(int32_t x, int32_t z, int32_t number);

 private:
  struct Slot {
    uint64_t key = 0;
    int32_t number = -1;  // -1: a free slot
  };
  static uint64_t Key(int32_t x, int32_t z) {
    return (uint64_t{static_cast<uint32_t>(x)} << 32) | static_cast<uint32_t>(z);
  }
  size_t Home(uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
  }

  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace ostrand
