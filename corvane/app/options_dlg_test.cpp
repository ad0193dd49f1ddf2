#include "corvane/app/options_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "corvane/app/test_support.h"

namespace {

// Enabled: OK, the angle, "other"; checked: light, heavy, normal, soft
// angles; shown; then the angle's text.
std::string State(const COptionsDlg& d) {
  std::string s;
  for (bool b : {d.okButton()->isEnabled(), d.angleEdit()->isEnabled(),
                 d.otherButton()->isEnabled(), d.lightButton()->isChecked(),
                 d.heavyButton()->isChecked(), d.normalButton()->isChecked(),
                 d.softAnglesBox()->isChecked(), d.isVisible()})
    s += b ? '1' : '0';
  return s + " " + d.angleEdit()->text().toStdString();
}

TEST(OptionsDlg, OkDisabledUntilNormalAnd400Refused) {
  EnsureApp();
  corvane::OptionsModel model;
  COptionsDlg dlg(model);
  QStringList messages;
  dlg.showMessage = [&](const QString& m) { messages.append(m); };
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Messages & Options"));
  QTest::keyClick(&dlg, Qt::Key_Return);  // neither OK (disabled) nor Cancel
  EXPECT_EQ(State(dlg), "00000001 0");

  dlg.softAnglesBox()->click();
  EXPECT_EQ(State(dlg), "01000011 0");
  dlg.angleEdit()->setText(QStringLiteral("400"));
  dlg.lightButton()->click();
  dlg.normalButton()->click();
  dlg.okButton()->click();
  EXPECT_EQ(State(dlg), "11010111 400");
  EXPECT_EQ(messages.size(), 1);
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(model.m_nAITypeRadio == 0 && model.m_nModeRadio == -1);

  dlg.angleEdit()->setText(QStringLiteral("30"));
  QTest::keyClick(&dlg, Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(model.m_dAngle == 30.0 && model.m_nModeRadio == 0);

  // The next run shows the values, with OK and the box disabled again.
  EXPECT_EQ(State(COptionsDlg(model)), "00010110 30");
}

}  // namespace
