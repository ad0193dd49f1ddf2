// Working units of the surface generation: 1/256 ft integers (feet shifted
// left by 8), and the safe conversion of computed doubles back to them.
#pragma once

#include <cstdint>

namespace ostrand {

inline constexpr int32_t kUnitsPerFoot = 256;

// Feet to working units; callers keep |feet| within kMaxCoordinateFeet
// (taxiway_list.h), so the product always fits.
constexpr int32_t FeetToUnits(int32_t feet) { return feet * kUnitsPerFoot; }

// A double truncated toward zero into the 32-bit range (NaN gives 0), so
// that a far-off computed point never reaches an undefined conversion.
inline int32_t TruncToInt32(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// A 64-bit integer held to the 32-bit range.
inline int32_t ClampToInt32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

}  // namespace ostrand
