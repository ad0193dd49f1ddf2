#include "corvane/app/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include "corvane/app/test_support.h"
#include "corvane/app/corvane_view.h"
#include "corvane/app/document_history.h"
#include "corvane/app/options_dlg.h"
#include "corvane/core/command_table.h"
#include "corvane/core/commands.h"
#include "corvane/core/edit_state.h"
#include "corvane/core/test_support.h"

using namespace corvane;

namespace {

// The ways a file reaches the window: the command line, Open, the recent
// list and a drop; and the ways a document is left.
enum Entry { kCommandLine, kOpen, kRecent, kDrop, kClose, kNew };

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    g_nZoom = 25;
    saved_ = QDir::currentPath();
    MakeFrame();
  }
  // A new window whose recent list holds the given file.
  void MakeFrame(const QString& recent = {}) {
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Corvane"));
    settings.clear();
    if (!recent.isEmpty())
      settings.setValue(QStringLiteral("Recent File List"), QStringList{recent});
    g_nStopCount = 0;
    frame_ = std::make_unique<CMainFrame>();
    frame_->askSaveChanges = [this] { return ++asked_, answer_; };
    frame_->askOpenFile = [this](const QString&) { return openPath_; };
    frame_->showMessage = [this](const QString& text) { messages_.append(text); };
    frame_->askSaveFile = [this](const QString& filter) {
      return filters_.append(filter), savePath_;
    };
    frame_->runOptions = [this](COptionsDlg& dialog) {
      if (!confirmOptions_) return false;
      dialog.normalButton()->click();
      if (choice_ == "light") dialog.lightButton()->click();
      if (choice_ == "heavy") dialog.heavyButton()->click();
      dialog.okButton()->click();
      return dialog.result() == QDialog::Accepted;
    };
  }
  void TearDown() override { frame_.reset(), QDir::setCurrent(saved_); }
  QString Dir(const QString& name) const { return tmp_.filePath(name); }
  void AddPath() {
    frame_->Document().m_taxiPoints = {MakePoint(2, 2, 0, 0), MakePoint(2, 8, 0, 100, 1)};
  }
  void Enter(Entry entry, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (entry == kCommandLine) frame_->OpenDocumentFile(path);
    if (entry == kOpen) frame_->OnCommand(ID_FILE_OPEN);
    if (entry == kNew) frame_->OnCommand(ID_FILE_NEW);
    if (entry == kClose) frame_->close();
    if (entry == kDrop) static_cast<QObject&>(*frame_).event(&drop);
    for (QAction* a : frame_->menuBar()->actions().first()->menu()->actions())
      if (entry == kRecent && a->data().toString() == path) a->trigger();
  }

  // One step of a script (testdata/frame_scripts.txt tells them) and
  // what it showed.
  QString Step(const QString& line) {
    const QString what = line.section(' ', 0, 0), arg = line.section(' ', 1),
                  name = arg.section(' ', 1);
    const QStringList entries{"commandline", "open", "recent", "drop", "close", "new"};
    const Entry entry = Entry(entries.indexOf(arg.section(' ', 0, 0)));
    messages_.clear();
    filters_.clear();
    asked_ = 0;
    if (what == "write")
      SaveTextFile(Dir(arg.section(' ', 0, 0)).toStdString(),
                   QString(name).replace('|', '\n').toStdString() + "\n");
    if (what == "window") MakeFrame(Dir(arg)), frame_->show();
    if (what == "save") savePath_ = arg.isEmpty() ? QString() : Dir(arg);
    if (what == "open") openPath_ = Dir(arg);
    if (what == "answer")
      answer_ = arg == "Save"      ? QMessageBox::Save
                : arg == "Discard" ? QMessageBox::Discard
                                   : QMessageBox::Cancel;
    if (what == "options") confirmOptions_ = arg != "cancel", choice_ = arg;
    if (what == "path") AddPath();
    if (what == "network") frame_->Document().m_vertices = {{1, 2}, {3, 4}};
    if (what == "edit")
      frame_->History().Change("add",
                               [&] { frame_->Document().AddTaxiPoint(MakePoint(2, 2, 9, 9)); });
    if (what == "pop") frame_->Document().m_taxiPoints.pop_back();
    if (what == "enter") Enter(entry, Dir(name));
    for (const CommandRow& row : Commands())
      if (what == "cmd" && arg == row.text) frame_->OnCommand(row.id);
    QString out = line + ":";
    for (const QString& m : messages_) out += " \"" + m + "\"";
    if (asked_ > 0) out += " (asked to save changes)";
    for (const QString& f : filters_) out += " [" + f + "]";
    if (what == "read")
      out +=
          "\n" + QString::fromStdString(ReadTextFile(Dir(arg).toStdString()).value_or("(none)\n"));
    if (what != "state") return out + "\n";
    QStringList recent;
    for (const QString& path : frame_->RecentFiles()) recent.append(QFileInfo(path).fileName());
    return out + " " + frame_->windowTitle() + (frame_->isVisible() ? ", shown" : ", hidden") +
           (frame_->History().IsModified() ? ", modified" : "") +
           (QDir::currentPath() == QDir(tmp_.path()).canonicalPath() ? ", in the folder" : "") +
           "\n recent: " + recent.join(' ') +
           "\n files: " + QDir(tmp_.path()).entryList(QDir::Files).join(' ') + "\n" +
           QString::fromStdString(Dump(frame_->Document()));
  }

  QTemporaryDir tmp_;
  QString saved_;
  std::unique_ptr<CMainFrame> frame_;
  QStringList messages_, filters_;
  QString savePath_, openPath_;
  int asked_ = 0;
  QMessageBox::StandardButton answer_ = QMessageBox::Cancel;
  bool confirmOptions_ = true;
  QString choice_;
};

// A menu and its submenus, every item with its text, "*" when checked, "-"
// when disabled, keys, status text and tip; or only the checked items.
void AddMenu(QString& out, const QString& title, const QMenu* menu, bool full) {
  if (full) out += title + "\n";
  for (const QAction* a : menu->actions()) {
    if (a->isSeparator() || !a->isVisible()) continue;
    if (full) {
      out += "  " + a->text() + (a->isChecked() ? "*" : "") + (a->isEnabled() ? "" : "-") + " [" +
             a->shortcuts().value(0).toString() + "] " + a->statusTip() + " | " + a->toolTip() +
             "\n";
    } else if (a->isChecked()) {
      out += " " + a->text();
    }
    if (a->menu() != nullptr) AddMenu(out, a->text(), a->menu(), full);
  }
}
QString Menus(const CMainFrame& frame, bool full) {
  QString out;
  for (const QAction* a : frame.menuBar()->actions()) AddMenu(out, a->text(), a->menu(), full);
  AddMenu(out, "context", frame.ContextMenu(), full);
  return out;
}

TEST_F(MainFrameTest, MenusAndCheckMarks) {
  frame_->UpdateCommandUi();
  QString text = frame_->windowTitle() + "\n" + Menus(*frame_, true);
  for (int id : {ID_ZOOM_1X10, ID_START_LANDING, ID_FLAG_PARKING_PIVOT}) frame_->OnCommand(id);
  frame_->Action(ID_VIEW_POLYGONS)->trigger();  // as a menu does
  text += "checked after 1x10, landing, pivot, polygons:" + Menus(*frame_, false) + "\n";
  ExpectFileText(text.toStdString(), "corvane/app/testdata/menus.txt");
  EXPECT_EQ(frame_->Document().m_nShowFlags, kShowPolygons);
  for (const CommandRow& row : Commands())  // a key name Qt does not know is lost
    EXPECT_EQ(QKeySequence::listToString(frame_->Action(row.id)->shortcuts()), row.keys);
}

TEST_F(MainFrameTest, DoubleClickRecentresAndThePanesShowTheMouse) {
  frame_->resize(800, 600);
  frame_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
  CCorvaneView* view = frame_->View();
  const QPoint at = QPoint(view->width() / 2, view->height() / 2) + QPoint(100, -40);
  frame_->OnCommand(ID_FLAG_LANDING_POINT);
  // Press, release, double click, release: the point of the first press only.
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(Dump(frame_->Document()), "'' 0 0 show 0\nt 2 2 0 0 2500 1000 0\n");
  EXPECT_EQ(frame_->Document().m_ptCentre.x, 2500);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  QTest::mouseMove(view, at + QPoint(4, -2));
  QTRY_COMPARE(frame_->Document().m_ptMouse.x, 2600);
  QStringList panes;
  for (const QLabel* l : frame_->findChildren<QLabel*>()) panes.append(l->text());
  EXPECT_TRUE(panes.contains(QStringLiteral("2600")) && panes.contains(QStringLiteral("1050")));
}

TEST_F(MainFrameTest, Scripts) {
  ExpectCases("corvane/app/testdata/frame_scripts.txt", [&](const TextCase& c) {
    for (const QString& name : QDir(tmp_.path()).entryList(QDir::Files)) QFile::remove(Dir(name));
    QDir::setCurrent(saved_);
    MakeFrame();
    confirmOptions_ = true, choice_.clear();
    QString out;
    for (const QString& line : QString::fromStdString(c.input).split('\n', Qt::SkipEmptyParts))
      out += Step(line);
    return out.toStdString();
  });
}

TEST_F(MainFrameTest, PrintsThroughTheSameDrawing) {
  frame_->Document().m_vertices = {{0, 0}, {2500, 2500}};
  frame_->Document().m_edges = {{0, 1}};
  frame_->Document().m_nShowFlags = kShowEdges | kShowEdgesRead;
  frame_->resize(640, 480);
  frame_->Printer()->setOutputFormat(QPrinter::PdfFormat);
  frame_->Printer()->setOutputFileName(Dir("page.pdf"));
  frame_->OnCommand(ID_FILE_PRINT_DIRECT);
  const std::string pdf = ReadTextFile(Dir("page.pdf").toStdString()).value_or("");
  EXPECT_TRUE(pdf.starts_with("%PDF-") && pdf.size() > 500u);
}

TEST_F(MainFrameTest, FilesThatCannotBeReadChangeNothingFromEveryEntryPoint) {
  // The real ostrand lists the bad airport files.
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", QFileInfo(OSTRAND_EXE).absolutePath().toLocal8Bit() + ":" + oldPath);
  std::string random(4096, '\0');
  for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>(128 + i * 7919 % 128);
  QStringList bad;
  for (const char* name :
       {"missing.bgr", "missing.txt", "empty.bgr", "empty.txt", "random.bgr", "random.txt"}) {
    bad.append(Dir(name));
    if (name[0] != 'm') SaveTextFile(bad.last().toStdString(), name[0] == 'r' ? random : "");
  }
  for (Entry entry : {kCommandLine, kOpen, kRecent, kDrop}) {
    for (const QString& path : bad) {
      SCOPED_TRACE(testing::Message() << entry << " " << path.toStdString());
      MakeFrame(path);
      CCorvaneDoc& doc = frame_->Document();
      doc.m_vertices = {{1, 2}}, doc.SetName("LFPG"), AddPath();
      openPath_ = path, messages_.clear();
      Enter(entry, path);
      EXPECT_EQ(messages_, QStringList{"Can't open file...sorry."});
      EXPECT_EQ(Dump(doc), "'LFPG' 0 0 show 0\nv 1 2\nt 2 2 0 0 0 0 0\nt 2 8 0 0 0 100 1\n");
      EXPECT_FALSE(frame_->RecentFiles().contains(path));
    }
  }
  qputenv("PATH", oldPath);
}

TEST_F(MainFrameTest, UndoAndRedoGiveBackTheSameProjectFiles) {
  frame_->show();
  CCorvaneView* view = frame_->View();
  CCorvaneDoc& doc = frame_->Document();
  doc.m_vertices = {{2520, 990}};
  const QPoint centre(view->width() / 2, view->height() / 2);
  // Negative numbers are clicks, near (2500, 1000) ft.
  const int steps[] = {ID_FLAG_LANDING_POINT, -1, ID_ENABLE_FACTORY_NODES, -2, ID_FLAG_STOP_POINT,
                       -3, ID_PROC_PROCESS_DATA_1, ID_TAXI_PATH_FILE_OPTIONS,
                       ID_EDIT_DELETE_LAST_POINT, ID_PROC_STOP_TAXI_PATH};
  // The undoable state (points, flags, options) and the project file it saves.
  auto state = [&] {
    return std::make_pair(EditState::Capture(doc, view->Model()), doc.ProjectFileText());
  };
  std::vector<std::pair<EditState, std::string>> states{state()};
  for (int step : steps) {
    if (step < 0)
      QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                        centre + QPoint(100 - step, -40 - step));
    if (step > 0) frame_->OnCommand(step);
    states.push_back(state());
  }
  // Every step changed something (Process Data snapped the second point).
  ASSERT_EQ(frame_->History().Stack().count(), static_cast<int>(std::size(steps)));
  for (size_t i = states.size() - 1; i-- > 0;) {
    frame_->OnCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(state() == states[i]) << i;
  }
  EXPECT_FALSE(frame_->History().IsModified());
  for (size_t i = 1; i < states.size(); ++i) frame_->OnCommand(ID_EDIT_REDO);
  EXPECT_TRUE(state() == states.back());
}

TEST_F(MainFrameTest, KeysOpenTheContextMenu) {
  frame_->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
  for (const QKeySequence& key : {QKeySequence(Qt::Key_Menu), QKeySequence("Shift+F10")}) {
    QTest::keySequence(frame_.get(), key);
    EXPECT_TRUE(frame_->ContextMenu()->isVisible()) << key.toString().toStdString();
    frame_->ContextMenu()->hide();
  }
}

}  // namespace
