// Conversions into the 32-bit integers of the file formats with a defined
// result for every value: out-of-range doubles and 64-bit values are held
// at the int32 limits (an out-of-range conversion would be undefined), and
// a NaN counts as 0.
#pragma once

#include <cstdint>

namespace ostrand {

// Truncated toward zero into the 32-bit range; NaN gives 0.
inline int32_t TruncateToInt32(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// Held to the 32-bit range.
inline int32_t ClampToInt32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

}  // namespace ostrand
