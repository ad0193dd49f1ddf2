#include "corvane/core/options_model.h"

#include <gtest/gtest.h>

#include <sstream>

#include "corvane/core/corvane_doc.h"

namespace corvane {
namespace {

// The values, then the controls as shown: check box, AI type, angle text,
// mode, and which of OK, the angle box and "Other" are enabled.
std::string State(const OptionsModel& m) {
  const OptionsModel::Controls& c = m.controls;
  std::ostringstream out;
  out << m.m_bSoftAngles << " " << m.m_nAITypeRadio << " " << m.m_dAngle << " " << m.m_nModeRadio
      << " | " << c.softAngles << " " << c.aiType << " '" << c.angleText << "' " << c.mode << " "
      << c.okEnabled << c.angleEnabled << c.otherEnabled;
  return out.str();
}

TEST(OptionsModel, AngleValidation) {
  using X = OptionsModel::Exchange;
  const struct {
    const char* text;
    X result;
    const char* state;
  } rows[] = {
      {"30", X::kOk, "0 1 30 0 | 0 1 '30' 0 100"},
      {"0", X::kOk, "0 1 0 0 | 0 1 '0' 0 100"},
      {"360", X::kOk, "0 1 360 0 | 0 1 '360' 0 100"},
      {" 12.5 ", X::kOk, "0 1 12.5 0 | 0 1 ' 12.5 ' 0 100"},
      // The AI type is exchanged before the angle, the mode after it.
      {"400", X::kOutOfRange, "0 1 400 -1 | 0 1 '400' 0 100"},
      {"-0.5", X::kOutOfRange, "0 1 -0.5 -1 | 0 1 '-0.5' 0 100"},
      {"abc", X::kNotANumber, "0 1 7 -1 | 0 1 'abc' 0 100"},
      {"", X::kNotANumber, "0 1 7 -1 | 0 1 '' 0 100"},
      {"12x", X::kNotANumber, "0 1 7 -1 | 0 1 '12x' 0 100"},
      {"1e999", X::kNotANumber, "0 1 7 -1 | 0 1 '1e999' 0 100"},
      {"nan", X::kNotANumber, "0 1 7 -1 | 0 1 'nan' 0 100"},
  };
  for (const auto& c : rows) {
    OptionsModel m;
    m.m_dAngle = 7;
    m.Open();
    m.ClickMode();
    m.controls.mode = 0;
    m.controls.aiType = 1;
    m.controls.angleText = c.text;
    EXPECT_EQ(m.Ok(), c.result) << c.text;
    EXPECT_EQ(State(m), c.state) << c.text;
  }
  EXPECT_STREQ(OptionsModel::Message(X::kNotANumber), "Enter a number for the angle.");
  EXPECT_STREQ(OptionsModel::Message(X::kOutOfRange), "Enter an angle from 0 to 360.");
}

TEST(OptionsModel, EnablingRules) {
  using X = OptionsModel::Exchange;
  OptionsModel m;
  m.Open();  // first use
  EXPECT_EQ(State(m), "0 -1 0 -1 | 0 -1 '0' -1 000");
  m.controls.softAngles = true;
  EXPECT_EQ(m.ClickSoftAngles(), X::kOk);
  EXPECT_EQ(State(m), "1 -1 0 -1 | 1 -1 '0' -1 010");
  // The box follows the check box even when the exchange fails.
  m.controls.angleText = "400";
  m.controls.softAngles = false;
  EXPECT_EQ(m.ClickSoftAngles(), X::kOutOfRange);
  m.ClickMode();
  EXPECT_EQ(State(m), "0 -1 400 -1 | 0 -1 '400' -1 100");
  // Reopening shows the values, with OK and the box disabled again.
  m.controls.softAngles = true;
  m.controls.angleText = "45";
  m.controls.mode = 0;
  ASSERT_EQ(m.Ok(), X::kOk);
  m.Open();
  EXPECT_EQ(State(m), "1 -1 45 0 | 1 -1 '45' 0 000");
}

TEST(OptionsModel, ApplyTo) {
  const struct {
    int32_t ai, mode, docAi, docMode;
  } rows[] = {{-1, -1, 2, 1}, {0, 0, 1, 0}, {1, 1, 2, 1}, {-1, 0, 2, 0}};
  for (const auto& c : rows) {
    CCorvaneDoc doc;
    doc.m_nAIType = 2;
    doc.m_nMode = 1;
    OptionsModel m;
    m.m_nAITypeRadio = c.ai;
    m.m_nModeRadio = c.mode;
    m.m_bSoftAngles = 1;
    m.m_dAngle = 33;
    m.ApplyTo(doc);
    EXPECT_TRUE(doc.m_nAIType == c.docAi && doc.m_nMode == c.docMode && doc.m_bSoftAngles == 1 &&
                doc.m_dSoftAngle == 33);
  }
}

}  // namespace
}  // namespace corvane
