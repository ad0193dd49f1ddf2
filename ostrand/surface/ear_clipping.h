// Ear clipping of a simple polygon given as projected 2-D corners: one
// attempt clips positively turning corners ("ears") that hold no other
// remaining corner, cycling through the corners with a budget of 4 m
// candidates per remaining corner count m.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrand {

struct Point2 {
  double u = 0.0;
  double v = 0.0;
};

// (b - a) x (c - a): positive when a, b, c turn counter-clockwise.
double cross(const Point2& a, const Point2& b, const Point2& c);

// The corner a-b-c turns positively by a margin (cross >= 1e-10).
bool isConvexCorner(const Point2& a, const Point2& b, const Point2& c);

// p lies inside the triangle a, b, c or on its border (all three edge tests
// >= 0, i.e. for a counter-clockwise triangle).
bool pointInTriangle(const Point2& a, const Point2& b, const Point2& c, const Point2& p);

// Positions a, b, c of the order array (of m live entries) form an ear.
bool isEar(const std::vector<Point2>& corners, const std::vector<int32_t>& order, int32_t m,
           int32_t a, int32_t b, int32_t c);

// One attempt over corners 0..n-1 (reversed: visited n-1 down to 0). On
// success returns true with the triangles (corner indices) in `out`; on
// failure returns false with `out` empty. At most 4 n triangles.
bool EarClip(const std::vector<Point2>& corners, bool reversed, std::vector<int32_t>& out);

}  // namespace ostrand
