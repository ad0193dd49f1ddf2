// The main window: menus, toolbar and status bar of the editor, and the
// commands that need the user (file dialogs, message boxes, printing, the
// options dialog). The document and the view model do the work.
//
// Files: Open, a recent file, a file dropped on the window or named on the
// command line are all opened the same way: a .bgr or .tms file is imported
// through `ostrand -ls`, any other file is read by the document reader. A
// file that cannot be opened, read or imported gives "Can't open
// file...sorry." and leaves the document as it was. Save As and Save write
// the project file, "&Save taxi path" writes "__CORVANE_project.txt" in the
// working directory, "&Options" writes the TP file, Export Picture the view.
//
// Changes to the path are recorded in the document's history (undo, redo,
// the modified mark "*" in the title). New, Open, a drop, the recent list
// and closing the window ask first whether to save a modified path.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QMap>
#include <QMessageBox>
#include <functional>

#include "corvane/core/corvane_doc.h"

class CCorvaneView;
class CDocumentHistory;
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
  CDocumentHistory& History() { return *m_history; }
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

  // Opens a file as Open, the recent list, a drop and the command line do,
  // after asking to save a modified path. False when nothing was opened.
  bool OpenDocumentFile(const QString& path);
  // Asks whether to save a modified path: true when the caller may go on
  // (saved, discarded or nothing to save), false on Cancel.
  bool MaybeSave();

  // What asks the user; tests replace these.
  std::function<void(const QString&)> showMessage;
  std::function<QString(const QString& filter)> askOpenFile;
  std::function<QString(const QString& filter)> askSaveFile;  // default suffix "TXT"
  std::function<QString()> askPictureFile;
  std::function<bool(COptionsDlg&)> runOptions;
  std::function<QMessageBox::StandardButton()> askSaveChanges;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateView();
  void UseDialogs();
  // The handlers of the commands that need the window, by command number.
  void BindHandlers();
  // One action for each row of the command table.
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void ConnectView();
  void UpdateStatusPanes();
  void UpdateRecentMenu();
  void AddRecentFile(const QString& path);
  void SetTitle(const QString& path);
  void UpdateTitle();
  void OnHistoryChanged();
  bool LoadFile(const QString& path);

  void OnFileNew();
  void OnFileOpen();
  bool OnFileSave();
  bool OnFileSaveAs();
  bool SaveProjectTo(const QString& path);
  void OnExportPicture();
  void OnMakeTaxiPathFile();
  void OnPrint();
  void OnPrintPreview();
  void OnPrintSetup();
  void PrintTo(QPrinter* printer);

  corvane::CCorvaneDoc m_doc;
  CCorvaneView* m_view = nullptr;
  CDocumentHistory* m_history = nullptr;
  QString m_docPath;  // the file named in the title
  QMap<int, QAction*> m_actions;
  QHash<int, std::function<void()>> m_handlers;
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
