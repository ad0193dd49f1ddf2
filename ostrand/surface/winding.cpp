#include "ostrand/surface/winding.h"

#include <cmath>
#include <numbers>

namespace ostrand {

namespace {
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
}

int32_t StepDirection(int64_t du, int64_t dv) {
  if (dv == 0) return du < 0 ? 180 : 0;
  if (du == 0) return dv < 0 ? -90 : 90;
  double ratio = static_cast<double>(dv) / std::fabs(static_cast<double>(du));
  // |atan| < 90 degrees, so the truncation always fits.
  int32_t a = static_cast<int32_t>(std::atan(ratio) * kDegreesPerRadian);
  if (du < 0) a = 180 - a;
  if (a > 180) a -= 360;
  return a;
}

int32_t NormaliseTurn(int32_t first, int32_t second) {
  int64_t d = static_cast<int64_t>(second) - static_cast<int64_t>(first);
  // Same as subtracting 360 while d > 360 and adding 360 while d < -360,
  // without looping over arbitrary inputs.
  if (d > 360) d = (d - 1) % 360 + 1;
  if (d < -360) d = -((-d - 1) % 360 + 1);
  if (d >= 181) d -= 360;
  if (d < -179) d += 360;
  return static_cast<int32_t>(d);
}

}  // namespace ostrand
