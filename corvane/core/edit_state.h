// Everything an editing command can change, taken as one value so that a
// change can be undone and redone by putting the value before or after it
// back: the taxi path, recording on or off, the stop counter, the TP file
// settings with the options dialog's values, and the view's flags for the
// next click. The network, the zoom and what is shown are not part of it.
#pragma once

#include <cstdint>
#include <vector>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/view_model.h"

namespace corvane {

struct EditState {
  std::vector<TaxiPoint> points;
  uint8_t stopped = 1;
  int32_t stopCount = 0;
  int32_t aiType = 0;
  double softAngle = 0.0;
  int32_t softAngles = 0;
  int32_t mode = 0;
  int32_t optionSoftAngles = 0;
  int32_t optionAIType = -1;
  double optionAngle = 0.0;
  int32_t optionMode = -1;
  uint8_t pathKind = 0;
  uint8_t pointType = 0;
  uint8_t factory = 0;
  uint8_t pivot = 0;

  bool operator==(const EditState&) const = default;

  static EditState Capture(const CCorvaneDoc& doc, const ViewModel& view);
  void Restore(CCorvaneDoc& doc, ViewModel& view) const;
};

}  // namespace corvane
