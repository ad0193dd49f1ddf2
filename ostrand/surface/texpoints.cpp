#include "ostrand/surface/texpoints.h"

#include <cmath>
#include <new>

#include "ostrand/frame/report.h"

namespace ostrand {

namespace {

// One report per run for a full table: the condition recurs for every point
// of a crowded tile.
ReportOnce g_tableFull;

int64_t Distance(int32_t a, int32_t b) {
  int64_t d = static_cast<int64_t>(a) - static_cast<int64_t>(b);
  return d < 0 ? -d : d;
}

}  // namespace

bool Equals(const IntPoint& p, int32_t x, int32_t y, int32_t z) {
  return p.x == x && p.y == y && p.z == z;
}

IntPoint Bezier(const IntPoint& p0, const IntPoint& p1, const IntPoint& p2, double t) {
  double a = (1.0 - t) * (1.0 - t);
  double b = t * (1.0 - t);
  double c = t * t;
  auto blend = [&](int32_t v0, int32_t v1, int32_t v2) {
    double twice = static_cast<double>(2 * static_cast<int64_t>(v1));
    return TruncateToInt32(a * v0 + b * twice + c * v2);
  };
  return IntPoint{blend(p0.x, p1.x, p2.x), blend(p0.y, p1.y, p2.y), blend(p0.z, p1.z, p2.z)};
}

void TEXPOINTS::TakeStorage(int32_t n) {
  try {
    points.resize(static_cast<size_t>(n));  // the vector grows by doubling
  } catch (const std::bad_alloc&) {
    FatalError("TEXPOINTS::SetSize() alloc failed  0 %d\n", capacity);
  }
}

void TEXPOINTS::Append(const IntPoint& p) {
  try {
    points.push_back(p);
  } catch (const std::bad_alloc&) {
    FatalError("TEXPOINTS::SetSize() alloc failed  0 %d\n", capacity);
  }
}

void TEXPOINTS::SetSize(int32_t newCapacity) {
  if (newCapacity < 0) newCapacity = 0;
  grid_.Clear();
  std::vector<IntPoint>().swap(points);
  base = 0;
  count = 0;
  capacity = 0;
  try {
    points.resize(static_cast<size_t>(newCapacity));
  } catch (const std::bad_alloc&) {
    FatalError("TEXPOINTS::SetSize() alloc failed  0 %d\n", newCapacity);
  }
  capacity = newCapacity;
}

void TEXPOINTS::FileNewEntries() {
  if (grid_.Filed() > count) grid_.Clear();
  for (int32_t i = grid_.Filed(); i < count; ++i) {
    const IntPoint& p = points[static_cast<size_t>(i)];
    grid_.File(i, p.x, p.z);
  }
}

int32_t TEXPOINTS::Find(int32_t x, int32_t y, int32_t z, int32_t tolerance) {
  auto within = [&](int32_t i) {
    const IntPoint& p = points[static_cast<size_t>(i)];
    return Distance(x, p.x) <= tolerance && Distance(y, p.y) <= tolerance && Distance(z, p.z) <= tolerance;
  };
  if (count < kGridFrom) {
    grid_.Clear();
    for (int32_t i = 0; i < count; ++i)
      if (within(i)) return i;
    return -1;
  }
  FileNewEntries();
  // Whole numbers within the tolerance lie within the box exactly.
  return grid_.First(x, z, tolerance, within);
}

int32_t TEXPOINTS::Add(int32_t x, int32_t y, int32_t z, int32_t tolerance, int32_t* usage) {
  if (tolerance >= 0) {
    const int32_t i = Find(x, y, z, tolerance);
    if (i >= 0) {
      if (usage != nullptr) ++usage[i];
      return i;
    }
  }
  // An entry written over after the table was emptied is filed again.
  if (count < grid_.Filed()) grid_.Clear();
  if (count >= capacity) {
    g_tableFull.Report("TEXPOINTS::Add() table full 0 %d", count);
    return 0;
  }
  const int32_t index = count;
  if (points.size() > static_cast<size_t>(index)) {
    points[static_cast<size_t>(index)] = IntPoint{x, y, z};
  } else {
    Append(IntPoint{x, y, z});
  }
  ++count;
  if (usage != nullptr) usage[index] = 1;
  return index;
}

void TEXPOINTS::CopyFrom(const TEXPOINTS& other) {
  base = other.base;
  int32_t n = other.count;
  if (n > capacity) n = capacity;
  if (n > other.capacity) n = other.capacity;
  if (n < 0) n = 0;
  if (points.size() < static_cast<size_t>(n)) TakeStorage(n);
  for (int32_t i = 0; i < n; ++i) points[static_cast<size_t>(i)] = other.points[static_cast<size_t>(i)];
  count = n;
  grid_.Clear();
}

void TEXPOINTS::Release() {
  grid_.Clear();
  base = 0;
  count = 0;
  capacity = 0;
  std::vector<IntPoint>().swap(points);
}

}  // namespace ostrand
