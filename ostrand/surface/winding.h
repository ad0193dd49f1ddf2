// Winding of surface polygons in whole degrees: the direction of one step in
// a projection plane and the normalised turn between two steps, as used by
// TEXTURE::Orientation to decide which way a polygon runs.
#pragma once

#include <cstdint>

namespace ostrand {

// Direction of the step (du, dv) in whole degrees, in (-180, 180]: axis
// steps give 0, 90, 180 or -90 exactly; any other step is atan(dv / |du|)
// truncated toward zero, mirrored to 180 - a when du < 0 and brought back
// below 180 by subtracting 360.
int32_t StepDirection(int64_t du, int64_t dv);

// The turn second - first brought into (-180, 180] (a right-about turn
// counts as +180).
int32_t NormaliseTurn(int32_t first, int32_t second);

}  // namespace ostrand
