// The main window: menus, toolbar and status bar of the editor, and the
// commands that need the user (file dialogs, message boxes, printing, the
// options dialog). The document and the view model do the work.
//
// Files: Open imports a .bgr or .tms file through `ostrand -ls`; a recent
// file, a file dropped on the window or named on the command line is read by
// the document reader (a .bgr or .tms one is imported); Save As and Save
// write the project file, "&Save taxi path" writes "__CORVANE_project.txt" in
// the working directory, "&Options" writes the TP file.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <functional>

#include "corvane/core/corvane_doc.h"

class CCorvaneView;
class COptionsDlg;
class QAction;
class QLabel;
class QMenu;
class QPrinter;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  corvane::CCorvaneDoc& Document() { return m_doc; }
  CCorvaneView* View() const { return m_view; }
  QAction* Action(int id) const { return m_actions.value(id); }
  QMenu* ContextMenu() const { return m_contextMenu; }
  QStringList RecentFiles() const;
  // The printer of Print, Print Preview and Print Setup (made on first use).
  QPrinter* Printer();

  // Runs a command by its number, as the menus, toolbar and keys do.
  void OnCommand(int id);
  // Check marks and enabling of every item, as when a menu opens.
  void UpdateCommandUi();

  // The framework's open (recent files, dropped files, the command line).
  bool OpenDocumentFile(const QString& path);
  // The Open command after its dialog.
  void ImportFile(const QString& path);

  // What asks the user; tests replace these.
  std::function<void(const QString&)> showMessage;
  std::function<QString(const QString& filter)> askOpenFile;
  std::function<QString(const QString& filter)> askSaveFile;  // default suffix "TXT"
  std::function<bool(COptionsDlg&)> runOptions;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QAction* MakeAction(int id, const QString& text, const QString& prompt = QString(),
                      bool checkable = false);
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void UpdateStatusPanes();
  void UpdateRecentMenu();
  void AddRecentFile(const QString& path);
  void SetTitle(const QString& path);

  void OnFileNew();
  void OnFileOpen();
  void OnFileSave();
  void OnFileSaveAs();
  void SaveProjectTo(const QString& path);
  void OnMakeTaxiPathFile();
  void OnPrint();
  void OnPrintPreview();
  void OnPrintSetup();
  void PrintTo(QPrinter* printer);

  corvane::CCorvaneDoc m_doc;
  CCorvaneView* m_view = nullptr;
  QMap<int, QAction*> m_actions;
  QMenu* m_contextMenu = nullptr;
  QMenu* m_fileMenu = nullptr;
  QAction* m_recentSeparator = nullptr;
  QList<QAction*> m_recentActions;
  QLabel* m_xPane = nullptr;
  QLabel* m_zPane = nullptr;
  QPrinter* m_printer = nullptr;
  QString m_projectPath;  // where "&Save" writes: last Save As or open
};

// Writes a file in one piece through QSaveFile.
bool SaveWithQt(const std::string& path, const std::string& text);
