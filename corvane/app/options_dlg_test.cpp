#include "corvane/app/options_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "corvane/app/test_support.h"

namespace {

TEST(OptionsDlg, OkDisabledUntilNormalAnd400Refused) {
  EnsureApp();
  corvane::OptionsModel model;
  COptionsDlg dlg(model);
  QStringList messages;
  dlg.showMessage = [&](const QString& m) { messages.append(m); };
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Messages & Options"));
  EXPECT_FALSE(dlg.okButton()->isEnabled());
  EXPECT_FALSE(dlg.angleEdit()->isEnabled());
  EXPECT_FALSE(dlg.otherButton()->isEnabled());
  EXPECT_FALSE(dlg.lightButton()->isChecked() || dlg.heavyButton()->isChecked());
  EXPECT_EQ(dlg.angleEdit()->text(), QStringLiteral("0"));
  QTest::keyClick(&dlg, Qt::Key_Return);  // neither OK (disabled) nor Cancel
  EXPECT_TRUE(dlg.isVisible());

  dlg.softAnglesBox()->click();
  EXPECT_TRUE(dlg.angleEdit()->isEnabled());
  dlg.angleEdit()->setText(QStringLiteral("400"));
  dlg.lightButton()->click();
  dlg.normalButton()->click();
  ASSERT_TRUE(dlg.okButton()->isEnabled());
  dlg.okButton()->click();
  EXPECT_EQ(messages.size(), 1);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(model.m_nAITypeRadio, 0);
  EXPECT_EQ(model.m_nModeRadio, -1);

  dlg.angleEdit()->setText(QStringLiteral("30"));
  QTest::keyClick(&dlg, Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(model.m_dAngle, 30.0);
  EXPECT_EQ(model.m_nModeRadio, 0);

  // The next run shows the values, with OK and the box disabled again.
  COptionsDlg again(model);
  EXPECT_TRUE(again.softAnglesBox()->isChecked());
  EXPECT_TRUE(again.lightButton()->isChecked());
  EXPECT_TRUE(again.normalButton()->isChecked());
  EXPECT_EQ(again.angleEdit()->text(), QStringLiteral("30"));
  EXPECT_FALSE(again.angleEdit()->isEnabled());
  EXPECT_FALSE(again.okButton()->isEnabled());
}

}  // namespace
