#include "corvane/app/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
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
#include <QTemporaryDir>
#include <QToolBar>

#include "corvane/app/about_dlg.h"
#include "corvane/app/corvane_view.h"
#include "corvane/app/document_history.h"
#include "corvane/app/options_dlg.h"
#include "corvane/app/qt_painter.h"
#include "corvane/app/snapshot.h"
#include "corvane/core/command_table.h"
#include "corvane/core/commands.h"
#include "corvane/core/document_loader.h"
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
const QString kPictureFilter = QStringLiteral(
    "PNG picture (*.png);;JPEG picture (*.jpg *.jpeg);;BMP picture (*.bmp);;"
    "SVG drawing (*.svg)");
const QString kRecentKey = QStringLiteral("Recent File List");
const QString kCantOpen = QStringLiteral("Can't open file...sorry.");

QSettings Settings() { return QSettings(QStringLiteral("Corvane"), QStringLiteral("Corvane")); }

// The recent-file list of the settings' earlier place, taken over once.
void CarryOverRecentFiles() {
  QSettings settings = Settings();
  const QString done = QStringLiteral("RecentFilesCarriedOver");
  if (settings.value(done).toBool()) return;
  settings.setValue(done, true);
  if (settings.contains(kRecentKey)) return;
  const QSettings old(QStringLiteral("Local AppWizard-Generated Applications"),
                      QStringLiteral("Corvane"));
  if (old.contains(kRecentKey)) settings.setValue(kRecentKey, old.value(kRecentKey));
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
  CreateView();
  UseDialogs();
  BindHandlers();
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();
  SetTitle(QString());
  CarryOverRecentFiles();
  UpdateRecentMenu();
  UpdateCommandUi();
  ConnectView();
}

void CMainFrame::CreateView() {
  m_view = new CCorvaneView(m_doc, this);
  m_history = new CDocumentHistory(m_doc, m_view->Model(), this);
  m_view->SetHistory(m_history);
  setCentralWidget(m_view);
  m_view->setFocus();
  setWindowIcon(CAboutDlg::AppIcon());
  setAcceptDrops(true);
  resize(900, 680);
}

void CMainFrame::UseDialogs() {
  showMessage = [this](const QString& text) {
    QMessageBox::information(this, QStringLiteral("Corvane"), text);
  };
  askOpenFile = [this](const QString& filter) {
    return QFileDialog::getOpenFileName(this, QString(), QDir::currentPath(), filter);
  };
  askSaveFile = [this](const QString& filter) { return AskSave(this, filter); };
  askPictureFile = [this] {
    return QFileDialog::getSaveFileName(this, QStringLiteral("Export Picture"), QDir::currentPath(),
                                        kPictureFilter);
  };
  runOptions = [](COptionsDlg& dialog) { return dialog.exec() == QDialog::Accepted; };
  askSaveChanges = [this] {
    return QMessageBox::question(
        this, QStringLiteral("Corvane"),
        QStringLiteral("The taxi path has changed.\nDo you want to save it?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  };
}

void CMainFrame::ConnectView() {
  connect(m_view, &CCorvaneView::mouseMoved, this, &CMainFrame::UpdateStatusPanes);
  connect(m_view, &CCorvaneView::viewMoved, this, &CMainFrame::UpdateCommandUi);
  connect(m_view, &CCorvaneView::contextMenuAboutToShow, this, &CMainFrame::UpdateCommandUi);
  connect(m_history, &CDocumentHistory::changed, this, &CMainFrame::OnHistoryChanged);
}

CMainFrame::~CMainFrame() { delete m_printer; }

void CMainFrame::BindHandlers() {
  m_handlers = {
      {ID_FILE_NEW, [this] { OnFileNew(); }},
      {ID_FILE_OPEN, [this] { OnFileOpen(); }},
      {ID_FILE_SAVE, [this] { OnFileSave(); }},
      {ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); }},
      {ID_FILE_EXPORT_PICTURE, [this] { OnExportPicture(); }},
      {ID_FILE_PRINT, [this] { OnPrint(); }},
      // No dialog: the printer as last set up.
      {ID_FILE_PRINT_DIRECT, [this] { PrintTo(Printer()); }},
      {ID_FILE_PRINT_PREVIEW, [this] { OnPrintPreview(); }},
      {ID_FILE_PRINT_SETUP, [this] { OnPrintSetup(); }},
      {ID_EDIT_UNDO, [this] { m_history->Stack().undo(); }},
      {ID_EDIT_REDO, [this] { m_history->Stack().redo(); }},
      {ID_VIEW_CONTEXT_MENU, [this] { m_view->ShowContextMenuFromKeyboard(); }},
      {ID_PROC_SAVE_TAXI_PATH, [this] { SaveProjectTo(QString::fromLatin1(kProjectName)); }},
      {ID_TAXI_PATH_FILE_OPTIONS, [this] { OnMakeTaxiPathFile(); }},
      {ID_APP_ABOUT,
       [this] {
         CAboutDlg about(this);
         about.exec();
       }},
  };
}

void CMainFrame::CreateActions() {
  for (const CommandRow& row : Commands()) {
    const int id = row.id;
    auto* action = new QAction(QString::fromUtf8(row.text), this);
    action->setData(id);
    action->setCheckable(row.checked != nullptr);
    const QString prompt = QString::fromUtf8(row.prompt);
    if (!prompt.isEmpty()) {
      // A prompt is the status text, then optionally a line feed and the tip.
      const QStringList parts = prompt.split(QLatin1Char('\n'));
      action->setStatusTip(parts.first());
      if (parts.size() > 1) action->setToolTip(parts[1]);
    }
    const QString keys = QString::fromLatin1(row.keys);
    if (!keys.isEmpty()) action->setShortcuts(QKeySequence::listFromString(keys));
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_actions.insert(id, action);
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
  add(m_fileMenu, {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_EXPORT_PICTURE,
                   0, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP});
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
      {ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_DELETE_LAST_POINT, 0, ID_EDIT_CUT, ID_EDIT_COPY,
       ID_EDIT_PASTE});
  add(menuBar()->addMenu(QStringLiteral("&View")),
      {ID_VIEW_EDGES_POLYGONS, ID_VIEW_EDGES, ID_VIEW_POLYGONS, 0, ID_VIEW_CENTER, ID_VIEW_FIT});
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
  // The right-click menu's keys work anywhere in the window.
  addAction(m_actions.value(ID_VIEW_CONTEXT_MENU));

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
  const bool canUndo = m_history->Stack().canUndo();
  const bool canRedo = m_history->Stack().canRedo();
  for (const CommandRow& row : Commands()) {
    QAction* action = m_actions.value(row.id);
    action->setEnabled(IsEnabled(row.enable, m_doc, canUndo, canRedo));
    if (row.checked != nullptr) action->setChecked(row.checked(m_view->Model(), m_doc));
  }
}

void CMainFrame::OnCommand(int id) {
  if (const auto handler = m_handlers.constFind(id); handler != m_handlers.constEnd()) {
    (*handler)();
    return;
  }
  ViewModel::Effect effect = ViewModel::Effect::kNotHandled;
  const QAction* action = m_actions.value(id);
  m_history->Change(action != nullptr ? action->text().remove(QLatin1Char('&')) : QString(),
                    [&] { effect = m_view->Model().OnCommand(id, m_doc); });
  if (effect == ViewModel::Effect::kRedraw) m_view->update();
  UpdateCommandUi();
}

bool CMainFrame::MaybeSave() {
  if (!m_history->IsModified()) return true;
  switch (askSaveChanges()) {
    case QMessageBox::Save:
      return OnFileSave();
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

void CMainFrame::OnFileNew() {
  if (!MaybeSave()) return;
  m_doc.OnNewDocument();
  m_history->Reset();
  m_projectPath.clear();
  SetTitle(QString());
  m_view->update();
  UpdateCommandUi();
}

void CMainFrame::OnFileOpen() {
  if (!MaybeSave()) return;
  const QString path = askOpenFile(kOpenFilter);
  if (path.isEmpty()) return;
  if (LoadFile(path)) EnterFolderOf(path);
}

bool CMainFrame::OpenDocumentFile(const QString& path) { return MaybeSave() && LoadFile(path); }

bool CMainFrame::LoadFile(const QString& path) {
  // Taken before an import moves the working directory.
  const QString full = QFileInfo(path).absoluteFilePath();
  const bool airport = IsAirportFile(full.toStdString());
  // The listings are made in a folder of the program's own, removed with
  // everything in it when the import is over.
  QTemporaryDir work;
  if (!work.isValid() || !corvane::LoadFile(m_doc, full.toStdString(), work.path().toStdString())) {
    showMessage(kCantOpen);
    // A file that cannot be opened leaves the recent-file list.
    QStringList files = RecentFiles();
    if (files.removeAll(full) > 0) {
      Settings().setValue(kRecentKey, files);
      UpdateRecentMenu();
    }
    return false;
  }
  if (!airport) {
    // A project replaces the taxi path: its history starts here. An import
    // keeps the path, and with it its history and modified mark.
    m_projectPath = full;
    m_history->Reset();
  }
  AddRecentFile(full);
  SetTitle(full);
  m_view->update();
  UpdateCommandUi();
  return true;
}

bool CMainFrame::SaveProjectTo(const QString& path) {
  if (m_doc.WriteProjectFile(path.toStdString(), SaveWithQt) == WriteResult::kCannotCreate) {
    showMessage(QStringLiteral("Can't create project file...sorry."));
    return false;
  }
  m_history->MarkSaved();
  return true;
}

bool CMainFrame::OnFileSaveAs() {
  const QString path = askSaveFile(kProjectFilter);
  if (path.isEmpty()) {
    showMessage(QStringLiteral("Save file please ! ..."));
    return false;
  }
  EnterFolderOf(path);
  m_projectPath = QFileInfo(path).absoluteFilePath();
  return SaveProjectTo(m_projectPath);
}

bool CMainFrame::OnFileSave() {
  return m_projectPath.isEmpty() ? OnFileSaveAs() : SaveProjectTo(m_projectPath);
}

void CMainFrame::OnExportPicture() {
  const QString path = askPictureFile();
  if (path.isEmpty()) return;
  QString error;
  if (!SaveViewPicture(m_view->Model(), m_doc, m_view->size(), path, &error)) showMessage(error);
}

void CMainFrame::OnMakeTaxiPathFile() {
  if (m_doc.m_taxiPoints.empty()) {
    showMessage(QStringLiteral("First, make a taxi path"));
    return;
  }
  bool confirmed = false;
  m_history->Change(QStringLiteral("Options"), [&] {
    COptionsDlg dialog(m_doc.m_optionsDlg, this);
    confirmed = runOptions(dialog);
    if (confirmed) m_doc.m_optionsDlg.ApplyTo(m_doc);
  });
  // Cancel ends the command: no file is asked for or written.
  if (!confirmed) return;
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

QStringList CMainFrame::RecentFiles() const { return Settings().value(kRecentKey).toStringList(); }

void CMainFrame::AddRecentFile(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentFiles();
  files.removeAll(full);
  files.prepend(full);
  while (files.size() > kRecentFiles) files.removeLast();
  Settings().setValue(kRecentKey, files);
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
  m_docPath = path;
  UpdateTitle();
}

void CMainFrame::UpdateTitle() {
  const QString name =
      m_docPath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_docPath).fileName();
  const QString mark = m_history->IsModified() ? QStringLiteral("*") : QString();
  setWindowTitle(name + mark + QStringLiteral(" - Corvane"));
}

void CMainFrame::OnHistoryChanged() {
  UpdateTitle();
  m_view->update();
  UpdateCommandUi();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (MaybeSave()) {
    event->accept();
  } else {
    event->ignore();
  }
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
