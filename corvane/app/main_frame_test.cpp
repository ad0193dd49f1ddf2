#include "corvane/app/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include "corvane/app/app_test_support.h"
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
      if (chooseHeavy_) dialog.heavyButton()->click();
      dialog.okButton()->click();
      return dialog.result() == QDialog::Accepted;
    };
  }
  void TearDown() override {
    frame_.reset();
    QDir::setCurrent(saved_);
  }
  QString Dir(const QString& name) const { return tmp_.filePath(name); }
  void AddPath() {
    frame_->Document().m_taxiPoints = {MakePoint(2, 2, 0, 0), MakePoint(2, 8, 0, 100, 1)};
  }
  // Runs a command and returns its messages.
  QStringList Run(int id) {
    messages_.clear();
    frame_->OnCommand(id);
    return messages_;
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
    for (QAction* a : frame_->menuBar()->actions().first()->menu()->actions()) {
      if (entry == kRecent && a->data().toString() == path) a->trigger();
    }
  }

  QTemporaryDir tmp_;
  QString saved_;
  std::unique_ptr<CMainFrame> frame_;
  QStringList messages_, filters_;
  QString savePath_, openPath_;
  int asked_ = 0;
  QMessageBox::StandardButton answer_ = QMessageBox::Cancel;
  bool confirmOptions_ = true;
  bool chooseHeavy_ = false;
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

// File commands with the file the save dialog answers ("" cancels) and the
// messages they show; 0 adds a taxi path.
TEST_F(MainFrameTest, FileCommandsAndTheirMessages) {
  const struct {
    int id;
    const char* save;
    QStringList messages;
  } steps[] = {
      {ID_TAXI_PATH_FILE_OPTIONS, "tp.txt", {"First, make a taxi path"}},
      {ID_FILE_SAVE, "", {"Save file please ! ..."}},  // no file yet: Save As
      {ID_FILE_SAVE_AS, "empty.txt", {}},              // nothing to save
      {0, "", {}},
      {ID_TAXI_PATH_FILE_OPTIONS, "", {"Save file please ! ..."}},
      {ID_TAXI_PATH_FILE_OPTIONS, "no/such/tp.txt", {"Can't create TP file...sorry."}},
      {ID_TAXI_PATH_FILE_OPTIONS, "tp.txt", {}},
      {ID_FILE_SAVE_AS, "missing/p.txt", {"Can't create project file...sorry."}},
      {ID_FILE_SAVE_AS, "p.txt", {}},
      {ID_PROC_SAVE_TAXI_PATH, "", {}},  // the fixed name in the working folder
  };
  chooseHeavy_ = true;
  for (const auto& step : steps) {
    savePath_ = *step.save ? Dir(step.save) : QString();
    if (step.id == 0) AddPath();
    if (step.id != 0) EXPECT_EQ(Run(step.id), step.messages) << step.id << " " << step.save;
  }
  EXPECT_EQ(filters_.size(), 7);
  EXPECT_EQ(filters_[2], QStringLiteral("TXT Files (.txt) (*.txt *.TXT)"));
  EXPECT_FALSE(QFile::exists(Dir("empty.txt")));
  EXPECT_TRUE(QFile::exists(Dir("__CORVANE_project.txt")));
  EXPECT_EQ(QDir::currentPath(), QDir(tmp_.path()).canonicalPath());
  EXPECT_EQ(frame_->Document().m_nAIType, 2);
  EXPECT_EQ(ReadTextFile(Dir("tp.txt").toStdString()).value_or("").substr(0, 11), "    ,A,nn00");
  // Save writes to the same file again without asking; a cancelled options
  // dialog cancels its command.
  filters_.clear();
  frame_->Document().m_taxiPoints.pop_back();
  frame_->OnCommand(ID_FILE_SAVE);
  EXPECT_EQ(ReadTextFile(Dir("p.txt").toStdString()).value(), frame_->Document().ProjectFileText());
  confirmOptions_ = false;
  EXPECT_EQ(Run(ID_TAXI_PATH_FILE_OPTIONS), QStringList{});
  EXPECT_TRUE(filters_.isEmpty());
}

TEST_F(MainFrameTest, OpeningAProjectKeepsTheNetworkAndFillsTheRecentList) {
  CCorvaneDoc& doc = frame_->Document();
  doc.m_vertices = {{1, 2}, {3, 4}};
  AddPath();
  QStringList written;
  for (int i = 0; i < 5; ++i) {
    const QString path = Dir(QStringLiteral("p%1.txt").arg(i));
    ASSERT_TRUE(SaveTextFile(path.toStdString(), "ICAO LFPG\n# 02 02 00 00 1 2 0\n"));
    ASSERT_TRUE(frame_->OpenDocumentFile(path));
    written.prepend(QFileInfo(path).absoluteFilePath());
  }
  EXPECT_EQ(Dump(doc), "'LFPG' 0 0 show 0\nv 1 2\nv 3 4\nt 2 2 0 0 1 2 0\n");
  EXPECT_EQ(frame_->RecentFiles(), written.mid(0, 4));
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("p4.txt - Corvane"));
  frame_->OnCommand(ID_FILE_NEW);
  EXPECT_EQ(Dump(doc), "'LFPG' 0 0 show 0\n");
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Untitled - Corvane"));
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

TEST_F(MainFrameTest, AModifiedPathIsGuarded) {
  const QString other = Dir("MYPROJECT.txt");
  ASSERT_TRUE(SaveTextFile(other.toStdString(), "ICAO LFPG\n# 02 02 00 00 5 5 0\n"));
  using B = QMessageBox;
  const struct {
    Entry act;
    B::StandardButton answer;
  } rows[] = {{kClose, B::Cancel}, {kClose, B::Discard}, {kClose, B::Save},    {kNew, B::Cancel},
              {kNew, B::Discard},  {kNew, B::Save},      {kOpen, B::Cancel},   {kOpen, B::Discard},
              {kDrop, B::Cancel},  {kDrop, B::Save},     {kRecent, B::Discard}};
  for (const auto& c : rows) {
    SCOPED_TRACE(testing::Message() << c.act << " " << c.answer);
    MakeFrame(other);
    asked_ = 0;
    answer_ = c.answer;
    savePath_ = Dir(QStringLiteral("saved%1%2.txt").arg(c.act).arg(c.answer));
    openPath_ = other;
    CCorvaneDoc& doc = frame_->Document();
    frame_->History().Change("add", [&] { doc.AddTaxiPoint(MakePoint(2, 2, 9, 9)); });
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Untitled* - Corvane"));
    frame_->show();
    Enter(c.act, other);
    EXPECT_EQ(asked_, 1);
    const bool cancelled = c.answer == B::Cancel;
    EXPECT_EQ(frame_->isVisible(), c.act != kClose || cancelled);
    // Closing leaves the document to the program's end.
    EXPECT_EQ(doc.m_taxiPoints.size() == 1 && doc.m_taxiPoints[0].x == 9,
              cancelled || c.act == kClose);
    EXPECT_EQ(frame_->History().IsModified(),
              cancelled || (c.act == kClose && c.answer == B::Discard));
    EXPECT_EQ(QFile::exists(savePath_), c.answer == B::Save);
    // A project's airport code is its own, never its file name.
    EXPECT_TRUE(cancelled || c.act == kClose || c.act == kNew || doc.m_szName == "LFPG");
  }
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
      doc.m_vertices = {{1, 2}};
      doc.SetName("LFPG");
      AddPath();
      openPath_ = path;
      messages_.clear();
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
  const int steps[] = {ID_FLAG_LANDING_POINT,     -1,
                       ID_ENABLE_FACTORY_NODES,   -2,
                       ID_FLAG_STOP_POINT,        -3,
                       ID_PROC_PROCESS_DATA_1,    ID_TAXI_PATH_FILE_OPTIONS,
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
