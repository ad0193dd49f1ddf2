// The "Messages & Options" dialog without its widgets: the values it keeps
// from one run to the next, the state of its controls while it runs, the
// exchange between the two with its validation, and its enabling rules.
//
// Each run starts with OK and the angle box disabled, whatever the values:
// OK is enabled by a click on "&Normal" (or "&Other", which stays disabled),
// the angle box by a click on "&SoftAngles" that leaves the box ticked.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

class CCorvaneDoc;

class OptionsModel {
 public:
  enum class Exchange { kOk, kNotANumber, kOutOfRange };

  // The values kept between runs (initial values of a first run).
  int32_t m_bSoftAngles = 0;
  int32_t m_nAITypeRadio = -1;  // 0 Light, 1 Heavy, -1 none
  double m_dAngle = 0.0;        // 0.0 to 360.0
  int32_t m_nModeRadio = -1;    // 0 Normal, 1 Other, -1 none

  // What the controls show while the dialog runs.
  struct Controls {
    bool softAngles = false;
    int32_t aiType = -1;
    std::string angleText;
    int32_t mode = -1;
    bool okEnabled = false;
    bool angleEnabled = false;
    bool otherEnabled = false;
  };
  Controls controls;

  // Opening: values into the controls, OK and the angle box disabled.
  void Open();
  // Click on "&SoftAngles": controls into values, then the angle box follows
  // the check box (also when the exchange failed).
  Exchange ClickSoftAngles();
  // Click on "&Normal" or "&Other".
  void ClickMode() { controls.okEnabled = true; }
  // OK: controls into values with validation; the dialog may end only on kOk.
  Exchange Ok();

  // Text shown when the exchange fails.
  static const char* Message(Exchange result);

  // After a confirmed run: copies the settings into the document.
  void ApplyTo(CCorvaneDoc& doc) const;

  // How an angle is shown in the box.
  static std::string AngleText(double angle);

 private:
  Exchange ControlsToValues();
};

}  // namespace corvane
