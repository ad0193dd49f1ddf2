#include "ostrand/surface/texture.h"

#include <cmath>
#include <cstdlib>
#include <new>
#include <numbers>
#include <utility>

#include "ostrand/frame/report.h"
#include "ostrand/surface/ear_clipping.h"
#include "ostrand/surface/winding.h"

namespace ostrand {

namespace {

constexpr double kPi = std::numbers::pi;

// The point of a vertex for the winding test (its index taken relative to
// the table's base); false when the index is outside the table.
bool RelativePoint(const TEXPOINTS& points, int32_t pointIndex, IntPoint& out) {
  int64_t i = static_cast<int64_t>(pointIndex) - points.base;
  if (!points.Holds(i)) return false;
  out = points[static_cast<int32_t>(i)];
  return true;
}

// Projection of the winding test: axis 0 -> (y, z), 1 -> (z, x), 2 -> (x, y).
void ProjectForWinding(const IntPoint& p, int axis, int64_t& u, int64_t& v) {
  switch (axis) {
    case 0: u = p.y; v = p.z; break;
    case 1: u = p.z; v = p.x; break;
    default: u = p.x; v = p.y; break;
  }
}

// Projection of the ear clipping: axis 0 -> (z, y), 1 -> (x, z), 2 -> (y, x).
Point2 ProjectForClipping(const IntPoint& p, int axis) {
  switch (axis) {
    case 0: return Point2{static_cast<double>(p.z), static_cast<double>(p.y)};
    case 1: return Point2{static_cast<double>(p.x), static_cast<double>(p.z)};
    default: return Point2{static_cast<double>(p.y), static_cast<double>(p.x)};
  }
}

// The sum of the corners' turns in the plane (U, V) (the projection of
// ProjectForWinding), walked forwards: false, leaving the walk to count,
// when a corner lies outside the table or turns by an angle that is not
// clear (SumOfClearTurns).
template <int32_t IntPoint::*U, int32_t IntPoint::*V>
bool SumClearTurns(const TexVertex* corners, int32_t n, const TEXPOINTS& points, int64_t& sum) {
  const IntPoint* const table = points.points.data();
  return SumOfClearTurns(n, [&](int32_t k, int64_t& u, int64_t& v) {
    const int64_t i = static_cast<int64_t>(corners[k].point) - points.base;
    if (!points.Holds(i)) return false;
    u = table[i].*U, v = table[i].*V;
    return true;
  }, sum);
}

}  // namespace

TEXTURE::TEXTURE() {
  try {
    vertices.resize(kMaxVertices);
  } catch (const std::bad_alloc&) {
    FatalError("TEXTURE::TEXTURE() alloc failed  0 %d\n", kMaxVertices);
  }
}

void TEXTURE::Release() {
  header.reserved = 0;
  header.vertexCount = 0;
  std::vector<TexVertex>().swap(vertices);
  ReleaseTriangles();
}

void TEXTURE::CopyFrom(const TEXTURE& other) {
  if (vertices.size() < static_cast<size_t>(kMaxVertices)) {
    try {
      vertices.resize(kMaxVertices);
    } catch (const std::bad_alloc&) {
      FatalError("TEXTURE::TEXTURE() alloc failed  0 %d\n", kMaxVertices);
    }
  }
  header = other.header;
  int32_t n = other.UsableCount();
  for (int32_t i = 0; i < n; ++i) vertices[static_cast<size_t>(i)] = other.vertices[static_cast<size_t>(i)];
  header.vertexCount = n;
}

int32_t TEXTURE::UsableCount() const {
  int32_t n = header.vertexCount;
  if (n < 0) return 0;
  int32_t held = static_cast<int32_t>(vertices.size());
  return n > held ? held : n;
}

void TEXTURE::Reverse() {
  int32_t n = UsableCount();
  for (int32_t i = 0; i < n / 2; ++i)
    std::swap(vertices[static_cast<size_t>(i)], vertices[static_cast<size_t>(n - 1 - i)]);
}

int TEXTURE::ChooseAxis() const {
  int64_t ax = std::llabs(header.normal[0]);
  int64_t ay = std::llabs(header.normal[1]);
  int64_t az = std::llabs(header.normal[2]);
  if (ax >= ay && ax >= az) return 0;
  if (ay >= ax && ay >= az) return 1;
  return 2;
}

int TEXTURE::Orientation(const TEXPOINTS& points, int fallback) const {
  const int32_t n = UsableCount();
  if (n < 3) return 0;
  if (header.normal[0] == 0 && header.normal[1] == 32766 && header.normal[2] == 0) return fallback;
  const int axis = ChooseAxis();
  int64_t sum = 0;
  const bool clear = axis == 0   ? SumClearTurns<&IntPoint::y, &IntPoint::z>(vertices.data(), n, points, sum)
                     : axis == 1 ? SumClearTurns<&IntPoint::z, &IntPoint::x>(vertices.data(), n, points, sum)
                                 : SumClearTurns<&IntPoint::x, &IntPoint::y>(vertices.data(), n, points, sum);
  if (!clear) return WalkedOrientation(points, fallback);
  // Walked backwards every turn is mirrored.
  return (header.normal[axis] >= 0 ? sum < 0 : sum > 0) ? 1 : 0;
}

int TEXTURE::WalkedOrientation(const TEXPOINTS& points, int fallback) const {
  int32_t n = UsableCount();
  if (n < 3) return 0;
  if (header.normal[0] == 0 && header.normal[1] == 32766 && header.normal[2] == 0) return fallback;
  int axis = ChooseAxis();
  bool forward = header.normal[axis] >= 0;
  // Each step between two corners is met at two corners in turn; the
  // steps are asked for in walking order, and the direction of the last
  // one is kept, so that each is worked out once.
  int64_t lastDu = 0, lastDv = 0;
  int32_t lastDirection = StepDirection(0, 0);
  auto direction = [&](int64_t du, int64_t dv) {
    if (du != lastDu || dv != lastDv) lastDu = du, lastDv = dv, lastDirection = StepDirection(du, dv);
    return lastDirection;
  };
  int64_t sum = 0;
  for (int32_t i = 0; i < n; ++i) {
    IntPoint p[3];
    bool ok = true;
    for (int32_t k = 0; k < 3 && ok; ++k)
      ok = RelativePoint(points, vertices[static_cast<size_t>((i + k) % n)].point, p[k]);
    if (!ok) continue;  // a corner outside the table adds no turn
    int64_t u[3], v[3];
    for (int k = 0; k < 3; ++k) ProjectForWinding(p[k], axis, u[k], v[k]);
    int32_t turn;
    if (forward) {
      const int32_t first = direction(u[1] - u[0], v[1] - v[0]);
      turn = NormaliseTurn(first, direction(u[2] - u[1], v[2] - v[1]));
    } else {
      // Walked backwards: the step P2->P1 followed by the step P1->P0.
      const int32_t second = direction(u[0] - u[1], v[0] - v[1]);
      turn = NormaliseTurn(direction(u[1] - u[2], v[1] - v[2]), second);
    }
    if (turn >= 1) ++sum;
    else if (turn < 0) --sum;
  }
  return sum < 0 ? 1 : 0;
}

int TEXTURE::IsConvexFlat(const TEXPOINTS& points) const {
  int32_t n = UsableCount();
  if (n < 3) return 0;
  bool positive = false;
  bool negative = false;
  for (int32_t i = 0; i < n; ++i) {
    IntPoint p[3];
    for (int32_t k = 0; k < 3; ++k) {
      int32_t index = vertices[static_cast<size_t>((i + k) % n)].point;
      if (!points.Holds(index)) return 0;
      p[k] = points[index];
      if (p[k].y != 0) return 0;
    }
    double first = std::atan2(static_cast<double>(static_cast<int64_t>(p[1].z) - p[0].z),
                              static_cast<double>(static_cast<int64_t>(p[1].x) - p[0].x));
    double second = std::atan2(static_cast<double>(static_cast<int64_t>(p[2].z) - p[1].z),
                               static_cast<double>(static_cast<int64_t>(p[2].x) - p[1].x));
    double turn = second - first;
    if (turn > kPi) turn -= 2.0 * kPi;
    else if (turn < -kPi) turn += 2.0 * kPi;
    if (turn >= 0.0) positive = true;
    else negative = true;
  }
  if (!negative) return 1;
  return positive ? 0 : 1;
}

void TEXTURE::ReleaseTriangles() {
  std::vector<Triangle>().swap(triangles);
  hasTriangles = false;
}

bool TEXTURE::FanTriangulate(int32_t n) {
  triangles.resize(static_cast<size_t>(n - 2));
  for (int32_t i = 0; i < n - 2; ++i) triangles[static_cast<size_t>(i)] = Triangle{{0, i + 1, i + 2}};
  hasTriangles = true;
  return true;
}

const Triangle* TEXTURE::Triangulate(const TEXPOINTS& points, int32_t index, int allowFan) {
  int32_t n = UsableCount();
  if (n < 3 || index < 0) return nullptr;
  if (index == 0) {
    ReleaseTriangles();
    if (n <= 4 || IsConvexFlat(points)) {
      FanTriangulate(n);
    } else {
      // Ear clipping addresses the table by vertex position: corner i is
      // point i. A polygon with more corners than the table holds has no
      // triangulation of its own (only the fan, when allowed).
      std::vector<int32_t> corners;
      bool clipped = false;
      if (n <= points.count) {
        std::vector<Point2> projected(static_cast<size_t>(n));
        int axis = ChooseAxis();
        for (int32_t i = 0; i < n; ++i) projected[static_cast<size_t>(i)] = ProjectForClipping(points[i], axis);
        clipped = EarClip(projected, false, corners) || EarClip(projected, true, corners);
      }
      if (clipped) {
        triangles.resize(corners.size() / 3);
        for (size_t t = 0; t < triangles.size(); ++t)
          triangles[t] = Triangle{{corners[3 * t], corners[3 * t + 1], corners[3 * t + 2]}};
        hasTriangles = true;
      } else if (allowFan != 0) {
        FanTriangulate(n);
      }
    }
  }
  if (hasTriangles && index < triangleCount()) return &triangles[static_cast<size_t>(index)];
  ReleaseTriangles();
  return nullptr;
}

}  // namespace ostrand
