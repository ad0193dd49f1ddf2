#include "corvane/app/main_frame.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "corvane/app/about_dlg.h"
#include "corvane/app/corvane_view.h"
#include "corvane/app/options_dlg.h"
#include "corvane/app/qt_painter.h"
#include "corvane/core/commands.h"
#include "corvane/core/listing_import.h"
#include "corvane/core/listing_reader.h"
#include "corvane/core/taxi_path.h"
#include "corvane/core/text_file.h"

using namespace corvane;

namespace {

constexpr int kRecentFiles = 4;
const char* const kProjectName = "__CORVANE_project.txt";
const QString kOpenFilter =
    QStringLiteral("BGR TMS Files (.bgr .tms) (*.bgr *.tms *.BGR *.TMS);;All files (*.*) (*)");
const QString kProjectFilter =
    QStringLiteral("TXT Files (.txt) (*.txt *.TXT);;All files (*.*) (*)");
const QString kTaxiPathFilter = QStringLiteral("TXT Files (.txt) (*.txt *.TXT)");

QSettings Settings() {
  return QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                   QStringLiteral("Corvane"));
}

bool IsAirportFile(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == QLatin1String("bgr") || suffix == QLatin1String("tms");
}

// The working directory follows the folder of the file last chosen in a
// file dialog.
void EnterFolderOf(const QString& path) { QDir::setCurrent(QFileInfo(path).absolutePath()); }

QString AskSave(QWidget* parent, const QString& filter) {
  QFileDialog dialog(parent, QString(), QDir::currentPath(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("TXT"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace

bool SaveWithQt(const std::string& path, const std::string& text) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
  m_view = new CCorvaneView(m_doc, this);
  setCentralWidget(m_view);
  setWindowIcon(CAboutDlg::AppIcon());
  setAcceptDrops(true);
  resize(900, 680);

  showMessage = [this](const QString& text) {
    QMessageBox::information(this, QStringLiteral("Corvane"), text);
  };
  askOpenFile = [this](const QString& filter) {
    return QFileDialog::getOpenFileName(this, QString(), QDir::currentPath(), filter);
  };
  askSaveFile = [this](const QString& filter) { return AskSave(this, filter); };
  runOptions = [](COptionsDlg& dialog) { return dialog.exec() == QDialog::Accepted; };

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  SetTitle(QString());
  UpdateRecentMenu();

  connect(m_view, &CCorvaneView::mouseMoved, this, &CMainFrame::UpdateStatusPanes);
  connect(m_view, &CCorvaneView::contextMenuAboutToShow, this, &CMainFrame::UpdateCommandUi);
}

CMainFrame::~CMainFrame() { delete m_printer; }

QAction* CMainFrame::MakeAction(int id, const QString& text, const QString& prompt,
                                bool checkable) {
  auto* action = new QAction(text, this);
  action->setData(id);
  action->setCheckable(checkable);
  if (!prompt.isEmpty()) {
    // A prompt is the status text, then optionally a line feed and the tip.
    const QStringList parts = prompt.split(QLatin1Char('\n'));
    action->setStatusTip(parts.first());
    if (parts.size() > 1) action->setToolTip(parts[1]);
  }
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  m_actions.insert(id, action);
  return action;
}

void CMainFrame::CreateActions() {
  MakeAction(ID_FILE_NEW, QStringLiteral("&New\tCtrl+N"),
             QStringLiteral("Create a new document\nNew"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
  MakeAction(ID_FILE_OPEN, QStringLiteral("&Open...\tCtrl+O"),
             QStringLiteral("Open an airport file\nOpen"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
  MakeAction(ID_FILE_SAVE, QStringLiteral("&Save\tCtrl+S"),
             QStringLiteral("Save the taxi path\nSave"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
  MakeAction(ID_FILE_SAVE_AS, QStringLiteral("Save &As..."),
             QStringLiteral("Save the taxi path under a new name"));
  MakeAction(ID_FILE_PRINT, QStringLiteral("&Print...\tCtrl+P"),
             QStringLiteral("Print the active document\nPrint"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
  MakeAction(ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view"),
             QStringLiteral("Display full pages\nPrint Preview"));
  MakeAction(ID_FILE_PRINT_SETUP, QStringLiteral("P&rint Setup..."),
             QStringLiteral("Change the printer and printing options"));

  // The Edit commands have no handler here; their keys do nothing.
  MakeAction(ID_EDIT_UNDO, QStringLiteral("&Undo\tCtrl+Z"))
      ->setShortcuts(
          {QKeySequence(QStringLiteral("Ctrl+Z")), QKeySequence(QStringLiteral("Alt+Backspace"))});
  MakeAction(ID_EDIT_CUT, QStringLiteral("Cu&t\tCtrl+X"), QStringLiteral("Cut\nCut"))
      ->setShortcuts(
          {QKeySequence(QStringLiteral("Ctrl+X")), QKeySequence(QStringLiteral("Shift+Del"))});
  MakeAction(ID_EDIT_COPY, QStringLiteral("&Copy\tCtrl+C"), QStringLiteral("Copy\nCopy"))
      ->setShortcuts(
          {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))});
  MakeAction(ID_EDIT_PASTE, QStringLiteral("&Paste\tCtrl+V"), QStringLiteral("Paste\nPaste"))
      ->setShortcuts(
          {QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Shift+Ins"))});

  MakeAction(ID_VIEW_EDGES_POLYGONS, QStringLiteral("&Edges/Polygons"),
             QStringLiteral("View both airport edges and polygons"), true);
  MakeAction(ID_VIEW_EDGES, QStringLiteral("&Edges"), QStringLiteral("View only airport edges"),
             true);
  MakeAction(ID_VIEW_POLYGONS, QStringLiteral("&Polygons"),
             QStringLiteral("View only airport polygons"), true);
  MakeAction(ID_VIEW_CENTER, QStringLiteral("&Center"), QStringLiteral("Original airport center"),
             true);

  MakeAction(ID_ZOOM_1X1, QStringLiteral("1&x1"), QString(), true);
  MakeAction(ID_ZOOM_1X05, QStringLiteral("1x&05"), QString(), true);
  MakeAction(ID_ZOOM_1X10, QStringLiteral("1x&10"), QString(), true);
  MakeAction(ID_ZOOM_1X20, QStringLiteral("1x&20"), QString(), true);
  MakeAction(ID_ZOOM_1X25, QStringLiteral("1x2&5"), QString(), true);

  MakeAction(ID_START_LANDING, QStringLiteral("&Landing"), QStringLiteral("Landing Path"), true);
  MakeAction(ID_START_DEPARTURE, QStringLiteral("&Departure"), QStringLiteral("Departure"), true);
  MakeAction(ID_PROC_STOP_TAXI_PATH, QStringLiteral("St&op Taxi Path"), QString(), true);
  MakeAction(ID_PROC_SAVE_TAXI_PATH, QStringLiteral("&Save taxi path"),
             QStringLiteral("Save taxi path"));
  MakeAction(ID_PROC_PROCESS_DATA_1, QStringLiteral("&Process Data 1"),
             QStringLiteral("Produces a fDiveZero file"));
  MakeAction(ID_TAXI_PATH_FILE_OPTIONS, QStringLiteral("&Options"), QStringLiteral("Options"));
  MakeAction(ID_APP_ABOUT, QStringLiteral("&About Corvane..."),
             QStringLiteral("Display program information, version number and copyright\nAbout"));

  MakeAction(ID_FLAG_LANDING_POINT, QStringLiteral("&Landing point"),
             QStringLiteral("Landing Point = first runway point / speed = 60"), true);
  MakeAction(ID_FLAG_BRAKING, QStringLiteral("&Braking Point"),
             QStringLiteral("Leg with speed = 60"), true);
  MakeAction(ID_FLAG_PARKING_PIVOT, QStringLiteral("&Parking Pivot"),
             QStringLiteral("Pivot before parking"), true);
  MakeAction(ID_FLAG_STOP_POINT, QStringLiteral("&Stop Point"),
             QStringLiteral("Parking Point (many for a single pivot)"), true);
  MakeAction(ID_FLAG_ACCELERATION, QStringLiteral("&Acceleration Point"),
             QStringLiteral("Acceleration before takeoff / speed = 60"), true);
  MakeAction(ID_FLAG_TAKEOFF, QStringLiteral("&TakeOff Point"), QStringLiteral("Takeoff"), true);
  MakeAction(ID_SHOW_POINT_DATA, QStringLiteral("&Show Point Data"),
             QStringLiteral("Enable data layout"), true);
  MakeAction(ID_ENABLE_FACTORY_NODES, QStringLiteral("&Enable Factory Nodes"),
             QStringLiteral("Get BGR nodes"), true);
  MakeAction(ID_PAUSE, QStringLiteral("&Pause"));

  // Menu texts carry their key after a tab; Qt shows the shortcut itself.
  for (QAction* action : m_actions) {
    action->setText(action->text().section(QLatin1Char('\t'), 0, 0));
  }
}

void CMainFrame::CreateMenus() {
  auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (id == 0) {
        menu->addSeparator();
      } else {
        menu->addAction(m_actions.value(id));
      }
    }
  };
  m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  add(m_fileMenu, {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0, ID_FILE_PRINT,
                   ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP});
  m_recentSeparator = m_fileMenu->addSeparator();
  for (int i = 0; i < kRecentFiles; ++i) {
    auto* action = new QAction(this);
    connect(action, &QAction::triggered, this,
            [this, action] { OpenDocumentFile(action->data().toString()); });
    m_recentActions.append(action);
    m_fileMenu->addAction(action);
  }
  m_fileMenu->addSeparator();
  QAction* exit = m_fileMenu->addAction(QStringLiteral("E&xit"));
  exit->setStatusTip(QStringLiteral("Quit the application; prompts to save documents"));
  connect(exit, &QAction::triggered, this, &QWidget::close);

  add(menuBar()->addMenu(QStringLiteral("&Edit")),
      {ID_EDIT_UNDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE});
  add(menuBar()->addMenu(QStringLiteral("&View")),
      {ID_VIEW_EDGES_POLYGONS, ID_VIEW_EDGES, ID_VIEW_POLYGONS, 0, ID_VIEW_CENTER});
  add(menuBar()->addMenu(QStringLiteral("&Zoom")),
      {ID_ZOOM_1X1, ID_ZOOM_1X05, ID_ZOOM_1X10, ID_ZOOM_1X20, ID_ZOOM_1X25});
  QMenu* proc = menuBar()->addMenu(QStringLiteral("&Proc"));
  add(proc->addMenu(QStringLiteral("S&tart Taxi Path")), {ID_START_LANDING, ID_START_DEPARTURE});
  add(proc, {ID_PROC_STOP_TAXI_PATH, 0, ID_PROC_SAVE_TAXI_PATH, ID_PROC_PROCESS_DATA_1});
  add(menuBar()->addMenu(QStringLiteral("&TaxiPathFile")), {ID_TAXI_PATH_FILE_OPTIONS});
  add(menuBar()->addMenu(QStringLiteral("&Help")), {ID_APP_ABOUT});

  m_contextMenu = new QMenu(this);
  add(m_contextMenu->addMenu(QStringLiteral("&Arrival Flag")),
      {ID_FLAG_LANDING_POINT, ID_FLAG_BRAKING, ID_FLAG_PARKING_PIVOT, ID_FLAG_STOP_POINT});
  add(m_contextMenu->addMenu(QStringLiteral("&Departure Flag")),
      {ID_FLAG_ACCELERATION, ID_FLAG_TAKEOFF});
  add(m_contextMenu, {0, ID_SHOW_POINT_DATA, ID_ENABLE_FACTORY_NODES, 0, ID_PAUSE});
  m_view->SetContextMenu(m_contextMenu);

  // Check marks are brought up to date whenever a menu opens.
  for (QMenu* menu : findChildren<QMenu*>()) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
  }
}

void CMainFrame::CreateToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Standard"));
  bar->setObjectName(QStringLiteral("Standard"));
  bar->setMovable(true);
  bar->setFloatable(true);
  const struct {
    int id;
    QStyle::StandardPixmap pixmap;
    const char* theme;
  } buttons[] = {
      {ID_FILE_NEW, QStyle::SP_FileIcon, "document-new"},
      {ID_FILE_OPEN, QStyle::SP_DialogOpenButton, "document-open"},
      {ID_FILE_SAVE, QStyle::SP_DialogSaveButton, "document-save"},
      {0, QStyle::SP_CustomBase, nullptr},
      {ID_EDIT_CUT, QStyle::SP_CustomBase, "edit-cut"},
      {ID_EDIT_COPY, QStyle::SP_CustomBase, "edit-copy"},
      {ID_EDIT_PASTE, QStyle::SP_CustomBase, "edit-paste"},
      {0, QStyle::SP_CustomBase, nullptr},
      {ID_FILE_PRINT, QStyle::SP_CustomBase, "document-print"},
      {ID_APP_ABOUT, QStyle::SP_MessageBoxInformation, "help-about"},
  };
  for (const auto& b : buttons) {
    if (b.id == 0) {
      bar->addSeparator();
      continue;
    }
    QAction* action = m_actions.value(b.id);
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(b.theme));
    if (icon.isNull() && b.pixmap != QStyle::SP_CustomBase) icon = style()->standardIcon(b.pixmap);
    if (!icon.isNull()) action->setIcon(icon);
    bar->addAction(action);
  }
}

void CMainFrame::CreateStatusBar() {
  const int width = fontMetrics().horizontalAdvance(QStringLiteral("1234567890")) + 8;
  m_xPane = new QLabel(this);
  m_zPane = new QLabel(this);
  for (QLabel* pane : {m_xPane, m_zPane}) {
    pane->setMinimumWidth(width);
    pane->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->addPermanentWidget(pane);
  }
  statusBar()->showMessage(QStringLiteral("Ready"));
  UpdateStatusPanes();
}

void CMainFrame::UpdateStatusPanes() {
  m_xPane->setText(QString::fromStdString(ViewModel::MouseXText(m_doc)));
  m_zPane->setText(QString::fromStdString(ViewModel::MouseZText(m_doc)));
}

void CMainFrame::UpdateCommandUi() {
  for (auto it = m_actions.constBegin(); it != m_actions.constEnd(); ++it) {
    it.value()->setEnabled(ViewModel::Enabled(it.key()));
    if (auto checked = m_view->Model().Checked(it.key(), m_doc)) it.value()->setChecked(*checked);
  }
}

void CMainFrame::OnCommand(int id) {
  switch (id) {
    case ID_FILE_NEW:
      OnFileNew();
      return;
    case ID_FILE_OPEN:
      OnFileOpen();
      return;
    case ID_FILE_SAVE:
      OnFileSave();
      return;
    case ID_FILE_SAVE_AS:
      OnFileSaveAs();
      return;
    case ID_FILE_PRINT:
      OnPrint();
      return;
    case ID_FILE_PRINT_DIRECT:  // no dialog: the printer as last set up
      PrintTo(Printer());
      return;
    case ID_FILE_PRINT_PREVIEW:
      OnPrintPreview();
      return;
    case ID_FILE_PRINT_SETUP:
      OnPrintSetup();
      return;
    case ID_PROC_SAVE_TAXI_PATH:
      if (m_doc.WriteProjectFile(kProjectName, SaveWithQt) == WriteResult::kCannotCreate) {
        showMessage(QStringLiteral("Can't create project file...sorry."));
      }
      return;
    case ID_TAXI_PATH_FILE_OPTIONS:
      OnMakeTaxiPathFile();
      return;
    case ID_APP_ABOUT: {
      CAboutDlg about(this);
      about.exec();
      return;
    }
    default:
      break;
  }
  if (m_view->Model().OnCommand(id, m_doc) == ViewModel::Effect::kRedraw) m_view->update();
  UpdateCommandUi();
}

void CMainFrame::OnFileNew() {
  m_doc.OnNewDocument();
  m_projectPath.clear();
  SetTitle(QString());
  m_view->update();
  UpdateCommandUi();
}

void CMainFrame::OnFileOpen() {
  const QString path = askOpenFile(kOpenFilter);
  if (path.isEmpty()) return;
  ImportFile(path);
}

void CMainFrame::ImportFile(const QString& path) {
  // Taken before the import moves the working directory.
  const QString full = QFileInfo(path).absoluteFilePath();
  if (!ImportListing(m_doc, full.toStdString())) {
    showMessage(QStringLiteral("Can't open file...sorry."));
    return;
  }
  AddRecentFile(full);
  SetTitle(full);
  m_view->update();
  UpdateCommandUi();
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
  if (IsAirportFile(path)) {
    ImportFile(path);
    return true;
  }
  const auto text = ReadTextFile(QFileInfo(path).absoluteFilePath().toStdString());
  if (!text) {
    showMessage(QStringLiteral("Can't open file...sorry."));
    // A file that is gone leaves the recent-file list.
    QStringList files = RecentFiles();
    files.removeAll(QFileInfo(path).absoluteFilePath());
    Settings().setValue(QStringLiteral("Recent File List"), files);
    UpdateRecentMenu();
    return false;
  }
  m_doc.DeleteContents();
  ReadDocument(m_doc, *text);
  m_projectPath = QFileInfo(path).absoluteFilePath();
  AddRecentFile(path);
  SetTitle(path);
  m_view->update();
  UpdateCommandUi();
  return true;
}

void CMainFrame::SaveProjectTo(const QString& path) {
  if (m_doc.WriteProjectFile(path.toStdString(), SaveWithQt) == WriteResult::kCannotCreate) {
    showMessage(QStringLiteral("Can't create project file...sorry."));
  }
}

void CMainFrame::OnFileSaveAs() {
  const QString path = askSaveFile(kProjectFilter);
  if (path.isEmpty()) {
    showMessage(QStringLiteral("Save file please ! ..."));
    return;
  }
  EnterFolderOf(path);
  m_projectPath = QFileInfo(path).absoluteFilePath();
  SaveProjectTo(m_projectPath);
}

void CMainFrame::OnFileSave() {
  if (m_projectPath.isEmpty()) {
    OnFileSaveAs();
  } else {
    SaveProjectTo(m_projectPath);
  }
}

void CMainFrame::OnMakeTaxiPathFile() {
  if (m_doc.m_taxiPoints.empty()) {
    showMessage(QStringLiteral("First, make a taxi path"));
    return;
  }
  {
    COptionsDlg dialog(m_doc.m_optionsDlg, this);
    if (runOptions(dialog)) m_doc.m_optionsDlg.ApplyTo(m_doc);
  }
  const QString path = askSaveFile(kTaxiPathFilter);
  if (path.isEmpty()) {
    showMessage(QStringLiteral("Save file please ! ..."));
    return;
  }
  EnterFolderOf(path);
  if (m_doc.m_nMode != 0) {
    showMessage(QStringLiteral("Taxi Mode Unused !"));
    return;
  }
  if (WriteTaxiPathFile(m_doc, path.toStdString(), SaveWithQt) == WriteResult::kCannotCreate) {
    showMessage(QStringLiteral("Can't create TP file...sorry."));
  }
}

void CMainFrame::PrintTo(QPrinter* printer) {
  // The page shows what the window shows, scaled to fit the page.
  QPainter painter(printer);
  const QRect page = painter.viewport();
  const int w = m_view->width();
  const int h = m_view->height();
  if (w <= 0 || h <= 0) return;
  const double scale = std::min(page.width() / double(w), page.height() / double(h));
  painter.scale(scale, scale);
  QtPainter adapter(painter, w, h);
  m_view->Model().Draw(m_doc, adapter, w, h);
}

QPrinter* CMainFrame::Printer() {
  if (m_printer == nullptr) m_printer = new QPrinter(QPrinter::HighResolution);
  return m_printer;
}

void CMainFrame::OnPrint() {
  QPrintDialog dialog(Printer(), this);
  if (dialog.exec() == QDialog::Accepted) PrintTo(m_printer);
}

void CMainFrame::OnPrintPreview() {
  QPrintPreviewDialog preview(Printer(), this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, &CMainFrame::PrintTo);
  preview.exec();
}

void CMainFrame::OnPrintSetup() {
  QPageSetupDialog dialog(Printer(), this);
  dialog.exec();
}

QStringList CMainFrame::RecentFiles() const {
  return Settings().value(QStringLiteral("Recent File List")).toStringList();
}

void CMainFrame::AddRecentFile(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentFiles();
  files.removeAll(full);
  files.prepend(full);
  while (files.size() > kRecentFiles) files.removeLast();
  Settings().setValue(QStringLiteral("Recent File List"), files);
  UpdateRecentMenu();
}

void CMainFrame::UpdateRecentMenu() {
  const QStringList files = RecentFiles();
  for (int i = 0; i < kRecentFiles; ++i) {
    QAction* action = m_recentActions[i];
    const bool used = i < files.size();
    action->setVisible(used);
    if (used) {
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
      action->setData(files[i]);
    }
  }
  m_recentSeparator->setVisible(!files.isEmpty());
}

void CMainFrame::SetTitle(const QString& path) {
  const QString name = path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path).fileName();
  setWindowTitle(name + QStringLiteral(" - Corvane"));
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  for (const QUrl& url : urls) {
    if (url.isLocalFile()) {
      activateWindow();
      OpenDocumentFile(url.toLocalFile());
      break;  // one document at a time
    }
  }
  event->acceptProposedAction();
}
