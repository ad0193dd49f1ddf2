// The About box: the program's icon, name and version, and an OK button.
#pragma once

#include <QDialog>
#include <QIcon>

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  // The program's icon, drawn at the size asked for.
  static QIcon AppIcon();
  static const char* VersionText() { return "Corvane Version 1.0"; }
};
