#include "corvane/core/options_model.h"

#include <gtest/gtest.h>

#include "corvane/core/corvane_doc.h"

namespace corvane {
namespace {

TEST(OptionsModel, AngleValidation) {
  using X = OptionsModel::Exchange;
  const struct {
    const char* text;
    X result;
    double kept;
  } cases[] = {
      {"30", X::kOk, 30},           {"0", X::kOk, 0},
      {"360", X::kOk, 360},         {" 12.5 ", X::kOk, 12.5},
      {"400", X::kOutOfRange, 400}, {"-0.5", X::kOutOfRange, -0.5},
      {"abc", X::kNotANumber, 7},   {"", X::kNotANumber, 7},
      {"12x", X::kNotANumber, 7},   {"1e999", X::kNotANumber, 7},
      {"nan", X::kNotANumber, 7},
  };
  for (const auto& c : cases) {
    OptionsModel m;
    m.m_dAngle = 7;
    m.Open();
    m.ClickMode();
    m.controls.mode = 0;
    m.controls.aiType = 1;
    m.controls.angleText = c.text;
    EXPECT_EQ(m.Ok(), c.result) << c.text;
    EXPECT_EQ(m.m_dAngle, c.kept) << c.text;
    EXPECT_EQ(m.m_nAITypeRadio, 1);  // exchanged before the angle
    EXPECT_EQ(m.m_nModeRadio, c.result == X::kOk ? 0 : -1) << c.text;
    if (c.result != X::kOk) {
      EXPECT_STRNE(OptionsModel::Message(c.result), "");
    }
  }
}

TEST(OptionsModel, EnablingRules) {
  OptionsModel m;
  m.Open();  // first use
  EXPECT_FALSE(m.controls.softAngles);
  EXPECT_EQ(m.controls.aiType, -1);
  EXPECT_EQ(m.controls.mode, -1);
  EXPECT_EQ(m.controls.angleText, "0");
  EXPECT_FALSE(m.controls.angleEnabled);
  EXPECT_FALSE(m.controls.okEnabled);
  EXPECT_FALSE(m.controls.otherEnabled);
  m.controls.softAngles = true;
  EXPECT_EQ(m.ClickSoftAngles(), OptionsModel::Exchange::kOk);
  EXPECT_TRUE(m.controls.angleEnabled);
  EXPECT_EQ(m.m_bSoftAngles, 1);
  EXPECT_FALSE(m.controls.okEnabled);
  m.controls.angleText = "400";
  m.controls.softAngles = false;
  // The box follows the check box even when the exchange fails.
  EXPECT_EQ(m.ClickSoftAngles(), OptionsModel::Exchange::kOutOfRange);
  EXPECT_FALSE(m.controls.angleEnabled);
  m.ClickMode();
  EXPECT_TRUE(m.controls.okEnabled);

  // Reopening: values shown, OK and box disabled again.
  m.controls.softAngles = true;
  m.controls.angleText = "45";
  m.controls.mode = 0;
  ASSERT_EQ(m.Ok(), OptionsModel::Exchange::kOk);
  m.Open();
  EXPECT_TRUE(m.controls.softAngles);
  EXPECT_EQ(m.controls.angleText, "45");
  EXPECT_EQ(m.controls.mode, 0);
  EXPECT_FALSE(m.controls.angleEnabled);
  EXPECT_FALSE(m.controls.okEnabled);
}

TEST(OptionsModel, ApplyTo) {
  const struct {
    int32_t ai, mode, docAi, docMode;
  } cases[] = {{-1, -1, 2, 1}, {0, 0, 1, 0}, {1, 1, 2, 1}, {-1, 0, 2, 0}};
  for (const auto& c : cases) {
    CCorvaneDoc doc;
    doc.m_nAIType = 2;
    doc.m_nMode = 1;
    OptionsModel m;
    m.m_nAITypeRadio = c.ai;
    m.m_nModeRadio = c.mode;
    m.m_bSoftAngles = 1;
    m.m_dAngle = 33;
    m.ApplyTo(doc);
    EXPECT_EQ(doc.m_nAIType, c.docAi);
    EXPECT_EQ(doc.m_nMode, c.docMode);
    EXPECT_EQ(doc.m_bSoftAngles, 1);
    EXPECT_EQ(doc.m_dSoftAngle, 33);
  }
}

}  // namespace
}  // namespace corvane
