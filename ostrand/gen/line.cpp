// Plane geometry in the x-z plane: free functions, Line and IntLine.
#include "ostrand/gen/line.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "ostrand/frame/int32_range.h"

namespace ostrand {

namespace {

constexpr double kPi = std::numbers::pi;

// The bounds of the near-opposite rule of Intersect.
constexpr double kNearFullTurn = DegreesToRadians(355.0);
constexpr double kNearHalfTurn = DegreesToRadians(175.0);

// a + b, held at the int64 limits instead of overflowing.
int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) {
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  }
  return sum;
}

}  // namespace

double Length(double dx, double dz) { return std::sqrt(dx * dx + dz * dz); }

double Distance(double xa, double za, double xb, double zb) {
  return Length(xb - xa, zb - za);
}

double Heading(double xa, double za, double xb, double zb) {
  const double dx = xb - xa;
  const double dz = zb - za;
  if (dx == 0.0) return dz >= 0.0 ? kPi / 2 : -kPi / 2;
  if (dx > 0.0) return std::atan(dz / dx);
  return std::atan(dz / dx) + kPi;
}

double TurnAngle(double x1, double z1, double x2, double z2, double x3, double z3) {
  double turn = Heading(x2, z2, x3, z3) - Heading(x1, z1, x2, z2);
  if (turn < -kPi) {
    turn += 2 * kPi;
  } else if (turn > kPi) {
    turn -= 2 * kPi;
  }
  return turn;
}

int32_t RoundHalfUp(double v) {
  if (v >= 0.0) return TruncateToInt32(v + 0.5);
  return TruncateToInt32(v);
}

// ---------------------------------------------------------------- Line

Line LineOf(const IntPoint& a, const IntPoint& b) {
  Line line;
  line.Set(a.x, a.z, b.x, b.z);
  return line;
}

void Line::Set(double ax1, double az1, double ax2, double az2) {
  x1 = ax1;
  z1 = az1;
  x2 = ax2;
  z2 = az2;
  dz = z2 - z1;
  dx = x2 - x1;
  if (dx == 0.0) {
    m = kVerticalSlope;
    b = 0.0;
  } else {
    m = dz / dx;
    b = -x1 * dz / dx + z1;
  }
  norm = std::sqrt(m * m + 1.0);
  if (x1 < x2) {
    minX = x1;
    maxX = x2;
  } else {
    minX = x2;
    maxX = x1;
  }
  if (z1 < z2) {
    minZ = z1;
    maxZ = z2;
  } else {
    minZ = z2;
    maxZ = z1;
  }
  length = std::sqrt(dx * dx + dz * dz);
  heading = Heading(x1, z1, x2, z2);
  xMajor = (maxZ - minZ <= maxX - minX) ? 1 : 0;
}

void Line::ThroughPoint(double x, double z, double angle) {
  Set(x, z, x + 1000.0 * std::cos(angle), z + 1000.0 * std::sin(angle));
}

void Line::GetPoints(double& ax1, double& az1, double& ax2, double& az2) const {
  ax1 = x1;
  az1 = z1;
  ax2 = x2;
  az2 = z2;
}

void Line::GetPointsInt(int32_t& ax1, int32_t& az1, int32_t& ax2, int32_t& az2) const {
  ax1 = TruncateToInt32(x1);
  az1 = TruncateToInt32(z1);
  ax2 = TruncateToInt32(x2);
  az2 = TruncateToInt32(z2);
}

double Line::ZAtX(double x) const {
  if (dx == 0.0) return 0.0;
  return x * dz / dx + b;
}

double Line::XAtZ(double z) const {
  if (dz == 0.0) return 0.0;
  return (z - z1) * dx / dz + x1;
}

double Line::SideValue(double x, double z) const {
  if (dx == 0.0) return x - XAtZ(z);
  return z - ZAtX(x);
}

int Line::SideOf(double x, double z) const {
  const double v = SideValue(x, z);
  if (v == 0.0) return 0;
  return v > 0.0 ? 1 : -1;
}

double Line::DistanceToLine(double x, double z) const {
  if (dx == 0.0) return std::fabs(x - x1);
  if (dz == 0.0) return std::fabs(z - z1);
  return std::fabs((x * m - z + b) / norm);
}

double Line::DistanceToSegment(double x, double z) const {
  if (xMajor) {
    if (x < minX) return minX == x1 ? Distance(x, z, x1, z1) : Distance(x, z, x2, z2);
    if (x > maxX) return maxX == x1 ? Distance(x, z, x1, z1) : Distance(x, z, x2, z2);
  } else {
    if (z < minZ) return minZ == z1 ? Distance(x, z, x1, z1) : Distance(x, z, x2, z2);
    if (z > maxZ) return maxZ == z1 ? Distance(x, z, x1, z1) : Distance(x, z, x2, z2);
  }
  return DistanceToLine(x, z);
}

int Line::IsNear(double x, double z, double limit) const {
  return DistanceToSegment(x, z) <= limit ? 1 : 0;
}

int Line::Intersect(const Line& other, double& x, double& z, double angleTol) const {
  if (m - other.m == 0.0) return 0;
  if (angleTol != 0.0) {
    double d = std::fabs(heading - other.heading);
    if (d >= kNearFullTurn) {
      d -= 2 * kPi;
    } else if (d >= kNearHalfTurn) {
      d -= kPi;
    }
    if (std::fabs(d) < angleTol) return 0;
  }
  if (m == kVerticalSlope) {
    x = x1;
    z = other.ZAtX(x);
  } else if (other.m == kVerticalSlope) {
    x = other.x1;
    z = ZAtX(x);
  } else {
    x = (other.b - b) / (m - other.m);
    z = ZAtX(x);
  }
  return 1;
}

int Line::Bisector(const Line& a, const Line& bLine, double angleTol) {
  double x = 0.0;
  double z = 0.0;
  if (!a.Intersect(bLine, x, z, angleTol)) return 0;
  double mean = (a.heading + bLine.heading) / 2;
  const double diff = bLine.heading - a.heading;
  if (diff < -kPi || diff > kPi) mean += kPi;
  ThroughPoint(x, z, mean);
  return 1;
}

void Line::Offset(double ax1, double az1, double ax2, double az2) {
  Set(x1 + ax1, z1 + az1, x2 + ax2, z2 + az2);
}

void Line::Extend(double d1, double d2) {
  if (length == 0.0) return;
  Offset(-d1 * dx / length, -d1 * dz / length, d2 * dx / length, d2 * dz / length);
}

void Line::ShiftSideways(double d) {
  if (length == 0.0) return;
  const double ox = -d * dz / length;
  const double oz = d * dx / length;
  Offset(ox, oz, ox, oz);
}

// ---------------------------------------------------------------- IntLine

void IntLine::Set(int32_t ax1, int32_t az1, int32_t ax2, int32_t az2) {
  x1 = ax1;
  z1 = az1;
  x2 = ax2;
  z2 = az2;
  const int64_t wideDz = int64_t{z2} - z1;
  const int64_t wideDx = int64_t{x2} - x1;
  // The differences are kept in 64 bits for the arithmetic below; the
  // 32-bit fields hold them clamped (they only exceed 32 bits for
  // coordinates more than 2^31 apart).
  dz = ClampToInt32(wideDz);
  dx = ClampToInt32(wideDx);
  wideDz_ = wideDz;
  wideDx_ = wideDx;
  if (wideDx == 0) {
    m = kVerticalSlope;
    b = 0;
  } else {
    m = static_cast<double>(wideDz) / static_cast<double>(wideDx);
    // (-x1 * dz) / dx + z1, truncating; |x1 * dz| < 2^63.
    b = SaturatingAdd((-int64_t{x1} * wideDz) / wideDx, z1);
  }
  norm = std::sqrt(m * m + 1.0);
}

int32_t IntLine::ZAtX(int32_t x) const {
  if (wideDx_ == 0) return 0;
  // (dz * x) / dx + b; |dz * x| < 2^63, the sum saturates.
  return ClampToInt32(SaturatingAdd((wideDz_ * x) / wideDx_, b));
}

int32_t IntLine::DistanceToLine(int32_t x, int32_t z) const {
  if (wideDx_ == 0) return ClampToInt32(std::llabs(int64_t{x} - x1));
  if (wideDz_ == 0) return ClampToInt32(std::llabs(int64_t{z} - z1));
  const double d = (static_cast<double>(x) * m - static_cast<double>(z) + static_cast<double>(b)) / norm;
  const int32_t t = TruncateToInt32(d);
  return t < 0 ? ClampToInt32(-int64_t{t}) : t;
}

int IntLine::IsNear(int32_t x, int32_t z, int32_t tol) const {
  if (DistanceToLine(x, z) > tol) return 0;
  const int64_t t = tol;
  const int64_t minX = x1 < x2 ? x1 : x2;
  const int64_t maxX = x1 < x2 ? x2 : x1;
  const int64_t minZ = z1 < z2 ? z1 : z2;
  const int64_t maxZ = z1 < z2 ? z2 : z1;
  return (x + t >= minX && x - t <= maxX && z + t >= minZ && z - t <= maxZ) ? 1 : 0;
}

}  // namespace ostrand
