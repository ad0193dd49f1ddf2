#include "corvane/core/options_model.h"

#include "corvane/core/corvane_doc.h"
#include "corvane/core/text_number.h"

namespace corvane {

std::string OptionsModel::AngleText(double angle) { return Format("%.15g", angle); }

void OptionsModel::Open() {
  controls.softAngles = m_bSoftAngles != 0;
  controls.aiType = m_nAITypeRadio;
  controls.angleText = AngleText(m_dAngle);
  controls.mode = m_nModeRadio;
  controls.okEnabled = false;
  controls.angleEnabled = false;
  controls.otherEnabled = false;
}

OptionsModel::Exchange OptionsModel::ControlsToValues() {
  // Same order as the controls are exchanged: a failure leaves the values
  // exchanged before it in place.
  m_bSoftAngles = controls.softAngles ? 1 : 0;
  m_nAITypeRadio = controls.aiType;
  double angle = 0.0;
  if (!ParseWholeDouble(controls.angleText, angle)) return Exchange::kNotANumber;
  m_dAngle = angle;
  if (angle < 0.0 || angle > 360.0) return Exchange::kOutOfRange;
  m_nModeRadio = controls.mode;
  return Exchange::kOk;
}

OptionsModel::Exchange OptionsModel::ClickSoftAngles() {
  Exchange result = ControlsToValues();
  controls.angleEnabled = controls.softAngles;
  return result;
}

OptionsModel::Exchange OptionsModel::Ok() { return ControlsToValues(); }

const char* OptionsModel::Message(Exchange result) {
  switch (result) {
    case Exchange::kNotANumber:
      return "Enter a number for the angle.";
    case Exchange::kOutOfRange:
      return "Enter an angle from 0 to 360.";
    case Exchange::kOk:
      break;
  }
  return "";
}

void OptionsModel::ApplyTo(CCorvaneDoc& doc) const {
  doc.m_bSoftAngles = m_bSoftAngles;
  doc.m_dSoftAngle = m_dAngle;
  if (m_nAITypeRadio == 0) doc.m_nAIType = 1;
  if (m_nAITypeRadio == 1) doc.m_nAIType = 2;
  if (m_nModeRadio == 0) doc.m_nMode = 0;
  if (m_nModeRadio == 1) doc.m_nMode = 1;
}

}  // namespace corvane
