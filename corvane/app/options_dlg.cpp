#include "corvane/app/options_dlg.h"

#include <QAbstractButton>

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace {

// Places widgets in dialog units (a quarter of the average character width,
// an eighth of the character height), so the layout follows the font.
class DialogUnits {
 public:
  explicit DialogUnits(const QWidget* w) {
    QFontMetrics fm(w->font());
    x_ = fm.averageCharWidth() / 4.0;
    y_ = fm.height() / 8.0;
  }
  QRect Rect(int x, int y, int w, int h) const {
    return QRect(qRound(x * x_), qRound(y * y_), qRound(w * x_), qRound(h * y_));
  }

 private:
  double x_;
  double y_;
};

// Sets which button of a pair is checked (-1: none).
void SetRadio(QRadioButton* first, QRadioButton* second, int index) {
  first->setAutoExclusive(false);
  second->setAutoExclusive(false);
  first->setChecked(index == 0);
  second->setChecked(index == 1);
  first->setAutoExclusive(true);
  second->setAutoExclusive(true);
}

int Radio(const QRadioButton* first, const QRadioButton* second) {
  if (first->isChecked()) return 0;
  if (second->isChecked()) return 1;
  return -1;
}

}  // namespace

COptionsDlg::COptionsDlg(corvane::OptionsModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
  setWindowTitle(QStringLiteral("Messages & Options"));
  setModal(true);
  const DialogUnits du(this);

  m_ok = new QPushButton(QStringLiteral("OK"), this);
  m_ok->setGeometry(du.Rect(65, 7, 50, 14));
  m_ok->setDefault(true);
  m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
  m_cancel->setGeometry(du.Rect(65, 25, 50, 14));
  // Enter means OK, and only when OK is enabled: Cancel never becomes the
  // default button by taking the focus.
  m_ok->setAutoDefault(false);
  m_cancel->setAutoDefault(false);
  m_softAngles = new QCheckBox(QStringLiteral("&SoftAngles"), this);
  m_softAngles->setGeometry(du.Rect(7, 7, 50, 10));
  m_editAngle = new QLineEdit(this);
  m_editAngle->setGeometry(du.Rect(7, 17, 45, 14));

  auto* aiType = new QGroupBox(QStringLiteral("AI Type"), this);
  aiType->setGeometry(du.Rect(7, 36, 55, 45));
  m_light = new QRadioButton(QStringLiteral("&Light"), aiType);
  m_light->setGeometry(du.Rect(6, 10, 31, 10));
  m_heavy = new QRadioButton(QStringLiteral("&Heavy"), aiType);
  m_heavy->setGeometry(du.Rect(6, 25, 37, 10));

  auto* mode = new QGroupBox(QStringLiteral("Mode"), this);
  mode->setGeometry(du.Rect(5, 85, 110, 65));
  m_normal = new QRadioButton(QStringLiteral("&Normal"), mode);
  m_normal->setGeometry(du.Rect(10, 10, 38, 10));
  m_other = new QRadioButton(QStringLiteral("&Other"), mode);
  m_other->setGeometry(du.Rect(10, 25, 33, 10));

  // Fonts wider than the one the layout was made for must not cut labels:
  // controls grow to their text, group boxes to their controls, the dialog
  // to all of them.
  for (QAbstractButton* b :
       std::initializer_list<QAbstractButton*>{m_softAngles, m_light, m_heavy, m_normal, m_other}) {
    b->resize(std::max(b->width(), b->sizeHint().width()), b->height());
  }
  const int margin = du.Rect(0, 0, 7, 7).width();
  for (QGroupBox* group : {aiType, mode}) {
    group->resize(std::max(group->width(), group->childrenRect().right() + margin),
                  group->height());
  }
  const QRect all = childrenRect();
  const QSize size = du.Rect(0, 0, 122, 170).size();
  setFixedSize(std::max(size.width(), all.right() + margin),
               std::max(size.height(), all.bottom() + margin));

  showMessage = [this](const QString& text) {
    QMessageBox::warning(this, QStringLiteral("Corvane"), text);
  };

  connect(m_softAngles, &QCheckBox::clicked, this, &COptionsDlg::OnSoftAngles);
  connect(m_normal, &QRadioButton::clicked, this, [this] {
    m_model.ClickMode();
    m_ok->setEnabled(m_model.controls.okEnabled);
  });
  connect(m_other, &QRadioButton::clicked, this, [this] {
    m_model.ClickMode();
    m_ok->setEnabled(m_model.controls.okEnabled);
  });
  connect(m_ok, &QPushButton::clicked, this, &COptionsDlg::OnOk);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

  m_model.Open();
  ModelToControls();
  m_softAngles->setFocus();
}

void COptionsDlg::ModelToControls() {
  const auto& c = m_model.controls;
  m_softAngles->setChecked(c.softAngles);
  SetRadio(m_light, m_heavy, c.aiType);
  m_editAngle->setText(QString::fromStdString(c.angleText));
  SetRadio(m_normal, m_other, c.mode);
  m_ok->setEnabled(c.okEnabled);
  m_editAngle->setEnabled(c.angleEnabled);
  m_other->setEnabled(c.otherEnabled);
}

void COptionsDlg::ControlsToModel() {
  auto& c = m_model.controls;
  c.softAngles = m_softAngles->isChecked();
  c.aiType = Radio(m_light, m_heavy);
  c.angleText = m_editAngle->text().toStdString();
  c.mode = Radio(m_normal, m_other);
}

void COptionsDlg::Refused(corvane::OptionsModel::Exchange result) {
  showMessage(QString::fromUtf8(corvane::OptionsModel::Message(result)));
  m_editAngle->setFocus();
  m_editAngle->selectAll();
}

void COptionsDlg::OnSoftAngles() {
  ControlsToModel();
  const auto result = m_model.ClickSoftAngles();
  m_editAngle->setEnabled(m_model.controls.angleEnabled);
  if (result != corvane::OptionsModel::Exchange::kOk) Refused(result);
}

void COptionsDlg::OnOk() {
  ControlsToModel();
  const auto result = m_model.Ok();
  if (result == corvane::OptionsModel::Exchange::kOk) {
    accept();
  } else {
    Refused(result);
  }
}
