// TEXPOINTS: a fixed-capacity table of 3-D integer points (1/256 ft in the
// surface files, whole feet in networks), with optional merging of points
// that lie within a tolerance of an existing one. Polygons (TEXTURE) refer
// to its entries by index only. A table that grows beyond a few dozen
// entries answers the merging search through a grid of its points
// (PointGrid) instead of a scan, with the same answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ostrand/frame/int32_range.h"
#include "ostrand/frame/point_grid.h"

namespace ostrand {

struct IntPoint {
  int32_t x = 0;
  int32_t y = 0;
  int32_t z = 0;
};

// Exact comparison of all three coordinates.
bool Equals(const IntPoint& p, int32_t x, int32_t y, int32_t z);

// (1-t)^2 p0 + 2t(1-t) p1 + t^2 p2 per coordinate in doubles (the middle
// term from the integer 2 p1), truncated toward zero.
IntPoint Bezier(const IntPoint& p0, const IntPoint& p1, const IntPoint& p2, double t);

class TEXPOINTS {
 public:
  static constexpr int32_t kDefaultCapacity = 2000;

  TEXPOINTS() { SetSize(kDefaultCapacity); }
  explicit TEXPOINTS(int32_t initialCapacity) { SetSize(initialCapacity); }
  // A table of `initialCapacity` whose storage grows with its entries, for
  // the many tables that mostly stay empty or small: only Add and CopyFrom
  // may write to it, and only entries in use may be read.
  struct Deferred {};
  TEXPOINTS(int32_t initialCapacity, Deferred) : capacity(initialCapacity < 0 ? 0 : initialCapacity) {}

  // Drops all points (base and count 0) and allocates room for `capacity`
  // (a negative capacity is taken as 0). Allocation failure is fatal.
  void SetSize(int32_t capacity);

  // Index of the point: the first entry within `tolerance` on every axis
  // (tolerance >= 0; its usage counter is incremented), else a new entry
  // (always new when tolerance < 0) whose usage counter becomes 1. A full
  // table is reported once per run and gives index 0. `usage`, when given,
  // runs parallel to the table and has room for `capacity` counters.
  int32_t Add(int32_t x, int32_t y, int32_t z, int32_t tolerance,
              int32_t* usage = nullptr);

  // Add with tolerance < 0 (a new entry, no search), its common case inline.
  int32_t AddNew(int32_t x, int32_t y, int32_t z) {
    if (count >= capacity || count < grid_.Filed() || points.size() < static_cast<size_t>(count))
      return Add(x, y, z, -1);
    if (points.size() > static_cast<size_t>(count)) {
      points[static_cast<size_t>(count)] = IntPoint{x, y, z};
    } else {
      Append(IntPoint{x, y, z});
    }
    return count++;
  }

  // The first entry within `tolerance` (>= 0) on every axis, or -1.
  int32_t Find(int32_t x, int32_t y, int32_t z, int32_t tolerance);
  // To be called after entries in use were changed in place (through
  // operator[] or points): the search grid is filed again before the next
  // search. Emptying the table (count 0) needs no call.
  void Changed() { grid_.Clear(); }

  // Takes base and count (cut to this table's capacity) and the points.
  void CopyFrom(const TEXPOINTS& other);
  // Empties the table and frees its storage (capacity 0 afterwards, so a
  // later Add reports a full table instead of writing anywhere).
  void Release();

  // 1 when index addresses an entry in use.
  bool Holds(int64_t index) const { return index >= 0 && index < count; }

  int32_t base = 0;
  int32_t count = 0;
  int32_t capacity = 0;
  std::vector<IntPoint> points;  // capacity entries (a deferred table: at least count)

  // Table view used by writers: the points in use.
  int32_t size() const { return count; }
  const IntPoint& operator[](int32_t i) const { return points[static_cast<size_t>(i)]; }
  IntPoint& operator[](int32_t i) { return points[static_cast<size_t>(i)]; }

 private:
  // Below this many entries a scan is as quick as the grid.
  static constexpr int32_t kGridFrom = 32;
  // Feet in networks, 1/256 ft in surface tables: either way a few points
  // to a cell.
  static constexpr double kGridCell = 32.0;
  // Makes room for n entries (n <= capacity) in a deferred table.
  void TakeStorage(int32_t n);
  // Stores a point at the end of the storage of a deferred table.
  void Append(const IntPoint& p);
  // Files the entries added since the last search; starts again when the
  // table was emptied or cut.
  void FileNewEntries();
  PointGrid grid_{kGridCell};
};

}  // namespace ostrand
