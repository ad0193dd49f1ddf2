// PointGrid: a spatial index over the entries of a point table, for the
// searches that a scan of the table from its first entry used to answer:
// "the first entry within a tolerance of this point", "is any entry near
// this point". The plane (x, z) is cut into square cells; every entry is
// filed under the cell its point lies in. A search visits the cells that
// cover a box around the point and, among the entries filed there, takes
// the lowest-numbered one that passes the caller's test: the entry the scan
// would have found, ties included, as long as every entry that passes the
// test lies within the box (exact arithmetic on the box's bounds).
//
// Entries are numbered by the caller (0, 1, ... as its table grows) and
// filed in ascending order of their numbers, each once. A table whose
// points change in place is filed again from scratch (Clear, then File).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrand {

class PointGrid {
 public:
  // Cells are `cellSize` wide (> 0) along both axes.
  explicit PointGrid(double cellSize) : cellSize_(cellSize) {}

  // Files entry `number` (greater than every number filed before) at (x, z).
  void File(int32_t number, double x, double z);
  // Forgets every entry.
  void Clear();
  // Entries filed so far.
  int32_t Filed() const { return static_cast<int32_t>(order_.size()); }

  // The lowest-numbered entry filed in the cells that cover the box
  // [x - reach, x + reach] × [z - reach, z + reach] for which accept(number)
  // is true; -1 when there is none.
  template <typename Accept>
  int32_t First(double x, double z, double reach, Accept accept) const {
    const int64_t x0 = Cell(x - reach), x1 = reach == 0 ? x0 : Cell(x + reach);
    const int64_t z0 = Cell(z - reach), z1 = reach == 0 ? z0 : Cell(z + reach);
    // A box of more cells than there are entries: every entry in order.
    const double cells = static_cast<double>(x1 - x0 + 1) * static_cast<double>(z1 - z0 + 1);
    if (cells > static_cast<double>(order_.size())) {
      for (int32_t k : order_)
        if (accept(k)) return k;
      return -1;
    }
    int32_t best = -1;
    for (int64_t cx = x0; cx <= x1; ++cx) {
      for (int64_t cz = z0; cz <= z1; ++cz) {
        const Slot* slot = Find(cx, cz);
        if (slot == nullptr) continue;
        // Entries of a cell run in ascending order.
        for (int32_t k = slot->first; k >= 0 && (best < 0 || k < best);
             k = next_[static_cast<size_t>(k)]) {
          if (accept(k)) {
            best = k;
            break;
          }
        }
      }
    }
    return best;
  }

 private:
  // One cell in use: its key and the first and last entry filed there.
  // Cells whose keys are equal share a slot; their entries still run in
  // ascending order, and the caller's test sorts out the other cell's.
  struct Slot {
    uint64_t key = 0;
    int32_t first = -1;  // -1: a free slot
    int32_t last = -1;
  };
  // Held within +-2^50 (far beyond any airport) so that neighbouring cell
  // numbers never overflow; NaN falls in cell 0 and matches nothing anyway.
  int64_t Cell(double v) const {
    const double c = std::floor(v / cellSize_);
    if (!(c == c)) return 0;
    constexpr double kLimit = 1125899906842624.0;  // 2^50
    return static_cast<int64_t>(c > kLimit ? kLimit : c < -kLimit ? -kLimit : c);
  }
  static uint64_t Key(int64_t cx, int64_t cz) {
    return (static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull) ^ (static_cast<uint64_t>(cz) * 0xC2B2AE3D27D4EB4Full);
  }
  size_t Home(uint64_t key) const { return static_cast<size_t>(key >> 32) & (slots_.size() - 1); }
  // The slot of a cell in use, or nullptr.
  const Slot* Find(int64_t cx, int64_t cz) const {
    if (slots_.empty()) return nullptr;
    const uint64_t key = Key(cx, cz);
    for (size_t i = Home(key);; i = (i + 1) & (slots_.size() - 1)) {
      const Slot& slot = slots_[i];
      if (slot.first < 0) return nullptr;
      if (slot.key == key) return &slot;
    }
  }
  // The slot of a key, taken into use when it is free (the table is kept at
  // most half full).
  Slot& Take(uint64_t key);

  double cellSize_;
  std::vector<Slot> slots_;     // open addressing, a power of two of them
  size_t used_ = 0;             // slots in use
  std::vector<int32_t> next_;   // per entry number: the next entry of its cell, or -1
  std::vector<int32_t> order_;  // the numbers filed, ascending
};

}  // namespace ostrand
