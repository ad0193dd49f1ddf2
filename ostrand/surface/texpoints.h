// TEXPOINTS: a fixed-capacity table of 3-D integer points (1/256 ft in the
// surface files, whole feet in networks), with optional merging of points
// that lie within a tolerance of an existing one.
#pragma once

#include <cstdint>
#include <vector>

namespace ostrand {

struct IntPoint {
  int32_t x = 0;
  int32_t y = 0;
  int32_t z = 0;
};

// Exact comparison of all three coordinates.
bool Equals(const IntPoint& p, int32_t x, int32_t y, int32_t z);

// (1-t)^2 p0 + 2t(1-t) p1 + t^2 p2 per coordinate in doubles, truncated.
IntPoint Bezier(const IntPoint& p0, const IntPoint& p1, const IntPoint& p2, double t);

class TEXPOINTS {
 public:
  static constexpr int32_t kDefaultCapacity = 2000;

  TEXPOINTS() { SetSize(kDefaultCapacity); }
  explicit TEXPOINTS(int32_t capacity) { SetSize(capacity); }

  // Drops all points and allocates room for `capacity`.
  void SetSize(int32_t capacity);

  // Index of the point: the first entry within `tolerance` on every axis
  // (tolerance >= 0; its usage counter is incremented), else a new entry
  // (always new when tolerance < 0). A full table is reported once per run
  // and gives index 0.
  int32_t Add(int32_t x, int32_t y, int32_t z, int32_t tolerance,
              int32_t* usage = nullptr);

  void CopyFrom(const TEXPOINTS& other);
  void Release();

  int32_t base = 0;
  int32_t count = 0;
  int32_t capacity = 0;
  std::vector<IntPoint> points;  // capacity entries

  // Table view used by writers: the points in use.
  int32_t size() const { return count; }
  const IntPoint& operator[](int32_t i) const { return points[static_cast<size_t>(i)]; }
  IntPoint& operator[](int32_t i) { return points[static_cast<size_t>(i)]; }
};

// Test support: re-arms the once-per-run "table full" report.
void ResetTexpointsReports();

}  // namespace ostrand
