#include "ostrand/surface/ear_clipping.h"

namespace ostrand {

double cross(const Point2& a, const Point2& b, const Point2& c) {
  return (b.u - a.u) * (c.v - a.v) - (b.v - a.v) * (c.u - a.u);
}

bool isConvexCorner(const Point2& a, const Point2& b, const Point2& c) {
  return cross(a, b, c) >= 1e-10;
}

bool pointInTriangle(const Point2& a, const Point2& b, const Point2& c, const Point2& p) {
  return cross(b, c, p) >= 0.0 && cross(c, a, p) >= 0.0 && cross(a, b, p) >= 0.0;
}

bool isEar(const std::vector<Point2>& corners, const std::vector<int32_t>& order, int32_t m,
           int32_t a, int32_t b, int32_t c) {
  const Point2& pa = corners[static_cast<size_t>(order[static_cast<size_t>(a)])];
  const Point2& pb = corners[static_cast<size_t>(order[static_cast<size_t>(b)])];
  const Point2& pc = corners[static_cast<size_t>(order[static_cast<size_t>(c)])];
  if (!isConvexCorner(pa, pb, pc)) return false;
  for (int32_t k = 0; k < m; ++k) {
    if (k == a || k == b || k == c) continue;
    if (pointInTriangle(pa, pb, pc, corners[static_cast<size_t>(order[static_cast<size_t>(k)])]))
      return false;
  }
  return true;
}

bool EarClip(const std::vector<Point2>& corners, bool reversed, std::vector<int32_t>& out) {
  out.clear();
  const int32_t n = static_cast<int32_t>(corners.size());
  const int64_t maxTriangles = 4 * static_cast<int64_t>(n);
  std::vector<int32_t> order(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) order[static_cast<size_t>(i)] = reversed ? n - 1 - i : i;

  int32_t m = n;
  int64_t budget = 4 * static_cast<int64_t>(m);
  int32_t cursor = m - 1;
  int64_t triangles = 0;
  while (m >= 3) {
    if (triangles >= maxTriangles || budget < 1) {
      out.clear();
      return false;
    }
    --budget;
    int32_t a = cursor >= m ? 0 : cursor;
    int32_t b = a + 1 >= m ? 0 : a + 1;
    int32_t c = b + 1 >= m ? 0 : b + 1;
    cursor = b;
    if (isEar(corners, order, m, a, b, c)) {
      out.push_back(order[static_cast<size_t>(a)]);
      out.push_back(order[static_cast<size_t>(b)]);
      out.push_back(order[static_cast<size_t>(c)]);
      ++triangles;
      order.erase(order.begin() + b);
      --m;
      budget = 4 * static_cast<int64_t>(m);
    }
  }
  return true;
}

}  // namespace ostrand
