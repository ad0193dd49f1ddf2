// Plane geometry in the horizontal x-z plane: distances, headings, turn
// angles, and two line-segment classes (Line in doubles for the surface
// generation, IntLine in integers for the edge edit script).
#pragma once

#include <cstdint>
#include <numbers>

#include "ostrand/surface/texpoints.h"

namespace ostrand {

// Marker slope of a vertical line (dx = 0); compared for exact equality.
inline constexpr double kVerticalSlope = 99999.9;

// An angle in degrees as radians; constant angles are written with it.
constexpr double DegreesToRadians(double degrees) { return degrees * (std::numbers::pi / 180.0); }

double Length(double dx, double dz);
double Distance(double xa, double za, double xb, double zb);
// Direction of a -> b in radians, -pi/2 .. 3pi/2.
double Heading(double xa, double za, double xb, double zb);
// Heading(p2->p3) - Heading(p1->p2), brought into -pi..pi.
double TurnAngle(double x1, double z1, double x2, double z2, double x3, double z3);
// v >= 0: v + 0.5 truncated; v < 0: v truncated.
int32_t RoundHalfUp(double v);

class Line {
 public:
  void Set(double x1, double z1, double x2, double z2);
  void ThroughPoint(double x, double z, double angle);
  void GetPoints(double& ax1, double& az1, double& ax2, double& az2) const;
  void GetPointsInt(int32_t& ax1, int32_t& az1, int32_t& ax2, int32_t& az2) const;
  double ZAtX(double x) const;
  double XAtZ(double z) const;
  double SideValue(double x, double z) const;
  int SideOf(double x, double z) const;
  double DistanceToLine(double x, double z) const;
  double DistanceToSegment(double x, double z) const;
  int IsNear(double x, double z, double limit) const;
  int Intersect(const Line& other, double& x, double& z, double angleTol) const;
  int Bisector(const Line& a, const Line& b, double angleTol);
  void Offset(double ax1, double az1, double ax2, double az2);
  void Extend(double d1, double d2);
  void ShiftSideways(double d);

  double x1 = 0, z1 = 0, x2 = 0, z2 = 0;
  double dz = 0, dx = 0;
  double m = kVerticalSlope, b = 0;
  double norm = 0;
  double minX = 0, maxX = 0, minZ = 0, maxZ = 0;
  double length = 0;
  double heading = 0;
  int xMajor = 1;
};

// The line from a to b in the x-z plane.
Line LineOf(const IntPoint& a, const IntPoint& b);

class IntLine {
 public:
  void Set(int32_t x1, int32_t z1, int32_t x2, int32_t z2);
  int32_t ZAtX(int32_t x) const;
  int32_t DistanceToLine(int32_t x, int32_t z) const;
  int IsNear(int32_t x, int32_t z, int32_t tol) const;

  int32_t x1 = 0, z1 = 0, x2 = 0, z2 = 0;
  int32_t dz = 0, dx = 0;  // clamped to 32 bits; exact for points < 2^31 apart
  double m = kVerticalSlope;
  // (-x1 * dz) / dx + z1 in integers; 64 bits wide because a steep line's
  // intercept leaves the 32-bit range long before its points do.
  int64_t b = 0;
  double norm = 0;

 private:
  int64_t wideDz_ = 0;
  int64_t wideDx_ = 0;
};

}  // namespace ostrand
