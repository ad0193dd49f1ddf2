// Winding of surface polygons in whole degrees: the direction of one step in
// a projection plane and the normalised turn between two steps, as used by
// TEXTURE::Orientation to decide which way a polygon runs, and the turns
// whose count that walk gives exactly by the sign of a cross product.
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

// How the whole-degree walk counts the turn from step 1 to step 2, when
// that is sure without the directions: +1 (left) or -1 (right), else 0.
// Each direction is off the true angle by less than a degree (truncation),
// so their turn is off by less than two: a true turn between 3 and 177
// degrees either way is counted as its sign. Sure here means |tan| of the
// turn above 1/16 (3.6 to 176.4 degrees) with both steps non-zero,
// tested exactly in 64-bit integers; steps with a component outside
// [-2^28, 2^28) are not sure.
inline int32_t ClearTurn(int64_t du1, int64_t dv1, int64_t du2, int64_t dv2) {
  // Offset by 2^28, a component in range lies in [0, 2^29) and any other
  // wraps around to 2^29 or more, so one test on the bits of all four
  // suffices.
  constexpr uint64_t kOffset = uint64_t{1} << 28;
  const uint64_t bits = (static_cast<uint64_t>(du1) + kOffset) | (static_cast<uint64_t>(dv1) + kOffset) |
                        (static_cast<uint64_t>(du2) + kOffset) | (static_cast<uint64_t>(dv2) + kOffset);
  if (bits >= 2 * kOffset) return 0;
  // |products| <= 2^56, so |cross|, |dot| <= 2^57 and 16 |cross| <= 2^61.
  const int64_t cross = du1 * dv2 - dv1 * du2;
  const int64_t dot = du1 * du2 + dv1 * dv2;
  // Also not clear: cross 0 (straight, right-about or a zero step).
  if (16 * (cross < 0 ? -cross : cross) <= (dot < 0 ? -dot : dot)) return 0;
  return cross > 0 ? 1 : -1;
}

// The sum of the turns (+1 / -1 each) at the n corners of a closed walk in
// a plane, when every turn is clear (ClearTurn); false otherwise, or when
// `uvAt(k, u, v)` cannot give corner k. Corner k + 1 turns from the step
// k -> k + 1 to the step k + 1 -> k + 2, the last corner back to the first.
template <typename UvAt>
bool SumOfClearTurns(int32_t n, const UvAt& uvAt, int64_t& sum) {
  int64_t u0 = 0, v0 = 0, u = 0, v = 0;
  if (n < 2 || !uvAt(0, u0, v0) || !uvAt(1, u, v)) return false;
  const int64_t firstDu = u - u0, firstDv = v - v0;
  int64_t du = firstDu, dv = firstDv;
  int64_t turns = 0;
  for (int32_t k = 2; k <= n; ++k) {
    int64_t nextU = u0, nextV = v0;
    if (k < n && !uvAt(k, nextU, nextV)) return false;
    const int64_t nextDu = nextU - u, nextDv = nextV - v;
    const int32_t turn = ClearTurn(du, dv, nextDu, nextDv);
    if (turn == 0) return false;
    turns += turn;
    u = nextU, v = nextV, du = nextDu, dv = nextDv;
  }
  const int32_t turn = ClearTurn(du, dv, firstDu, firstDv);
  if (turn == 0) return false;
  sum = turns + turn;
  return true;
}

}  // namespace ostrand
