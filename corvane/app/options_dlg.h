// "Messages & Options": the modal dialog of the TP file settings, showing and
// editing the document's OptionsModel (soft angles, AI type, mode).
#pragma once

#include <QDialog>
#include <functional>

#include "corvane/core/options_model.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class COptionsDlg : public QDialog {
  Q_OBJECT

 public:
  COptionsDlg(corvane::OptionsModel& model, QWidget* parent = nullptr);

  // Shows a validation message; replaced by tests.
  std::function<void(const QString&)> showMessage;

  QPushButton* okButton() const { return m_ok; }
  QPushButton* cancelButton() const { return m_cancel; }
  QCheckBox* softAnglesBox() const { return m_softAngles; }
  QRadioButton* lightButton() const { return m_light; }
  QRadioButton* heavyButton() const { return m_heavy; }
  QLineEdit* angleEdit() const { return m_editAngle; }
  QRadioButton* normalButton() const { return m_normal; }
  QRadioButton* otherButton() const { return m_other; }

 private:
  void ControlsToModel();
  void ModelToControls();
  void OnSoftAngles();
  void OnOk();
  void Refused(corvane::OptionsModel::Exchange result);

  corvane::OptionsModel& m_model;
  QPushButton* m_ok;
  QPushButton* m_cancel;
  QCheckBox* m_softAngles;
  QRadioButton* m_light;
  QRadioButton* m_heavy;
  QLineEdit* m_editAngle;
  QRadioButton* m_normal;
  QRadioButton* m_other;
};
