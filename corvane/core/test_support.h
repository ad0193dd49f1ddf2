// Helpers shared by the core's tests.
#pragma once

#include "corvane/core/corvane_doc.h"

namespace corvane {

inline TaxiPoint MakePoint(uint8_t kind, int32_t type, double x, double z, int32_t stopNo = 0,
                           uint8_t pivot = 0, uint8_t factory = 0) {
  TaxiPoint p;
  p.kind = kind;
  p.type = type;
  p.x = x;
  p.z = z;
  p.stopNo = stopNo;
  p.pivot = pivot;
  p.factory = factory;
  return p;
}

}  // namespace corvane
