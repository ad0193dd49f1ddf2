// Working units of the surface generation: 1/256 ft integers (feet shifted
// left by 8), and the safe conversion of computed doubles back to them.
#pragma once

#include <cstdint>

#include "ostrand/frame/int32_range.h"

namespace ostrand {

inline constexpr int32_t kUnitsPerFoot = 256;

// Feet to working units; callers keep |feet| within kMaxWorkingFeet
// (taxiway_list.h), so the product always fits.
constexpr int32_t FeetToUnits(int32_t feet) { return feet * kUnitsPerFoot; }

}  // namespace ostrand
