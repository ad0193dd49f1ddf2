#include "corvane/app/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
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

#include "corvane/app/test_support.h"
#include "corvane/app/corvane_view.h"
#include "corvane/app/document_history.h"
#include "corvane/app/options_dlg.h"
#include "corvane/core/command_table.h"
#include "corvane/core/commands.h"
#include "corvane/core/edit_state.h"
#include "corvane/core/test_support.h"
#include "corvane/core/text_file.h"
#include "corvane/core/view_model.h"

using namespace corvane;

namespace {

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    QSettings(QStringLiteral("Corvane"), QStringLiteral("Corvane")).clear();
    g_nZoom = 25;
    g_nStopCount = 0;
    saved_ = QDir::currentPath();
    MakeFrame();
  }
  void MakeFrame() {
    frame_ = std::make_unique<CMainFrame>();
    frame_->askSaveChanges = [this] { return ++asked_, answer_; };
    frame_->askOpenFile = [this](const QString&) { return openPath_; };
    frame_->showMessage = [this](const QString& text) { messages_.append(text); };
    frame_->askSaveFile = [this](const QString& filter) {
      filters_.append(filter);
      return savePath_;
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

  QTemporaryDir tmp_;
  QString saved_;
  std::unique_ptr<CMainFrame> frame_;
  QStringList messages_;
  QStringList filters_;
  QString savePath_;
  QString openPath_;
  int asked_ = 0;
  QMessageBox::StandardButton answer_ = QMessageBox::Cancel;
  bool confirmOptions_ = true;
  bool chooseHeavy_ = false;
};

QStringList Texts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* a : menu->actions()) {
    if (!a->isSeparator() && a->isVisible()) texts.append(a->text());
  }
  return texts;
}

const QMenu* TopMenu(const CMainFrame& frame, const QString& title) {
  for (const QAction* a : frame.menuBar()->actions()) {
    if (a->text() == title) return a->menu();
  }
  return nullptr;
}

TEST_F(MainFrameTest, MenusWithTheirLabels) {
  const struct {
    const char* title;
    QStringList items;
  } menus[] = {
      {"&File",
       {"&New", "&Open...", "&Save", "Save &As...", "&Export Picture...", "&Print...",
        "Print Pre&view", "P&rint Setup...", "E&xit"}},
      {"&Edit", {"&Undo", "&Redo", "&Delete Last Point", "Cu&t", "&Copy", "&Paste"}},
      {"&View", {"&Edges/Polygons", "&Edges", "&Polygons", "&Center", "&Fit"}},
      {"&Zoom", {"1&x1", "1x&05", "1x&10", "1x&20", "1x2&5"}},
      {"&Proc", {"S&tart Taxi Path", "St&op Taxi Path", "&Save taxi path", "&Process Data 1"}},
      {"&TaxiPathFile", {"&Options"}},
      {"&Help", {"&About Corvane..."}},
  };
  for (const auto& m : menus) {
    const QMenu* menu = TopMenu(*frame_, QString::fromLatin1(m.title));
    ASSERT_NE(menu, nullptr) << m.title;
    EXPECT_EQ(Texts(menu), m.items) << m.title;
  }
  EXPECT_EQ(Texts(frame_->ContextMenu()),
            (QStringList{"&Arrival Flag", "&Departure Flag", "&Show Point Data",
                         "&Enable Factory Nodes", "&Pause"}));
  const QMenu* arrival = frame_->ContextMenu()->actions().first()->menu();
  EXPECT_EQ(Texts(arrival),
            (QStringList{"&Landing point", "&Braking Point", "&Parking Pivot", "&Stop Point"}));
  EXPECT_EQ(frame_->Action(ID_FILE_OPEN)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  for (const CommandRow& row : Commands())  // a key name Qt does not know is lost
    EXPECT_EQ(QKeySequence::listToString(frame_->Action(row.id)->shortcuts()), row.keys);
  EXPECT_EQ(frame_->Action(ID_FLAG_STOP_POINT)->statusTip(),
            QStringLiteral("Parking Point (many for a single pivot)"));
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Untitled - Corvane"));
}

TEST_F(MainFrameTest, CheckMarksFollowTheState) {
  frame_->UpdateCommandUi();
  EXPECT_TRUE(frame_->Action(ID_ZOOM_1X25)->isChecked());
  EXPECT_TRUE(frame_->Action(ID_PROC_STOP_TAXI_PATH)->isChecked());
  EXPECT_TRUE(frame_->Action(ID_SHOW_POINT_DATA)->isChecked());
  EXPECT_FALSE(frame_->Action(ID_PAUSE)->isEnabled());
  EXPECT_FALSE(frame_->Action(ID_EDIT_CUT)->isEnabled());

  frame_->OnCommand(ID_ZOOM_1X10);
  frame_->OnCommand(ID_START_LANDING);
  frame_->OnCommand(ID_FLAG_PARKING_PIVOT);
  EXPECT_TRUE(frame_->Action(ID_ZOOM_1X10)->isChecked());
  EXPECT_FALSE(frame_->Action(ID_ZOOM_1X25)->isChecked());
  EXPECT_TRUE(frame_->Action(ID_START_LANDING)->isChecked());
  EXPECT_TRUE(frame_->Action(ID_FLAG_PARKING_PIVOT)->isChecked());
  EXPECT_FALSE(frame_->Action(ID_PROC_STOP_TAXI_PATH)->isChecked());

  // Triggering the action (as a menu does) runs the same command.
  frame_->Action(ID_VIEW_POLYGONS)->trigger();
  EXPECT_TRUE(frame_->Action(ID_VIEW_POLYGONS)->isChecked());
  EXPECT_EQ(frame_->Document().m_nShowFlags, kShowPolygons);
}

TEST_F(MainFrameTest, AClickAddsAPointOnlyWhileRecording) {
  frame_->resize(800, 600);
  frame_->show();
  CCorvaneView* view = frame_->View();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
  const QPoint centre(view->width() / 2, view->height() / 2);

  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre + QPoint(100, -40));
  EXPECT_TRUE(frame_->Document().m_taxiPoints.empty());

  frame_->OnCommand(ID_FLAG_LANDING_POINT);
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre + QPoint(100, -40));
  ASSERT_EQ(frame_->Document().m_taxiPoints.size(), 1u);
  EXPECT_EQ(frame_->Document().m_taxiPoints[0].x, 2500);
  EXPECT_EQ(frame_->Document().m_taxiPoints[0].z, 1000);
  EXPECT_EQ(frame_->Document().m_taxiPoints[0].type, 2);

  // A double click (press, release, double click, release) adds the point
  // of its first press only, and re-centres.
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre + QPoint(-20, 0));
  QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, centre + QPoint(-20, 0));
  EXPECT_EQ(frame_->Document().m_taxiPoints.size(), 2u);
  EXPECT_EQ(frame_->Document().m_ptCentre.x, -500);

  frame_->OnCommand(ID_PROC_STOP_TAXI_PATH);
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre);
  EXPECT_EQ(frame_->Document().m_taxiPoints.size(), 2u);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(MainFrameTest, TaxiPathFileMessages) {
  frame_->OnCommand(ID_TAXI_PATH_FILE_OPTIONS);
  EXPECT_EQ(messages_, QStringList{"First, make a taxi path"});

  AddPath();
  messages_.clear();
  savePath_.clear();
  frame_->OnCommand(ID_TAXI_PATH_FILE_OPTIONS);
  EXPECT_EQ(messages_, QStringList{"Save file please ! ..."});
  EXPECT_EQ(filters_.last(), QStringLiteral("TXT Files (.txt) (*.txt *.TXT)"));

  messages_.clear();
  savePath_ = Dir("no/such/folder/tp.txt");
  frame_->OnCommand(ID_TAXI_PATH_FILE_OPTIONS);
  EXPECT_EQ(messages_, QStringList{"Can't create TP file...sorry."});

  messages_.clear();
  savePath_ = Dir("tp.txt");
  chooseHeavy_ = true;
  frame_->OnCommand(ID_TAXI_PATH_FILE_OPTIONS);
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(frame_->Document().m_nAIType, 2);
  const auto text = ReadTextFile(savePath_.toStdString());
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->substr(0, 11), "    ,A,nn00");

  messages_.clear();
  filters_.clear();
  frame_->Document().m_nMode = 1;
  confirmOptions_ = false;  // a cancelled dialog cancels the command
  frame_->OnCommand(ID_TAXI_PATH_FILE_OPTIONS);
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_TRUE(filters_.isEmpty());
}

TEST_F(MainFrameTest, ProjectFileSaving) {
  frame_->OnCommand(ID_FILE_SAVE);  // no path yet: Save As, here cancelled
  EXPECT_EQ(messages_, QStringList{"Save file please ! ..."});

  // Nothing to save: no file, no message.
  messages_.clear();
  savePath_ = Dir("empty.txt");
  frame_->OnCommand(ID_FILE_SAVE_AS);
  EXPECT_FALSE(QFile::exists(savePath_));
  EXPECT_TRUE(messages_.isEmpty());

  AddPath();

  messages_.clear();
  savePath_ = Dir("missing/p.txt");
  frame_->OnCommand(ID_FILE_SAVE_AS);
  EXPECT_EQ(messages_, QStringList{"Can't create project file...sorry."});

  messages_.clear();
  filters_.clear();
  savePath_ = Dir("p.txt");
  frame_->OnCommand(ID_FILE_SAVE_AS);
  EXPECT_TRUE(QFile::exists(savePath_));
  EXPECT_EQ(QDir::currentPath(), QDir(tmp_.path()).canonicalPath());
  // Save writes to the same file again without asking.
  frame_->Document().m_taxiPoints.pop_back();
  frame_->OnCommand(ID_FILE_SAVE);
  EXPECT_EQ(filters_.size(), 1);
  EXPECT_EQ(ReadTextFile(savePath_.toStdString()).value(), frame_->Document().ProjectFileText());

  // "&Save taxi path" writes the fixed name in the working directory.
  frame_->OnCommand(ID_PROC_SAVE_TAXI_PATH);
  EXPECT_TRUE(QFile::exists(Dir("__CORVANE_project.txt")));
  EXPECT_TRUE(messages_.isEmpty());
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
  EXPECT_EQ(doc.m_taxiPoints.size(), 1u);
  EXPECT_EQ(doc.m_vertices.size(), 2u);
  EXPECT_EQ(doc.m_szName, "LFPG");
  EXPECT_EQ(frame_->RecentFiles(), written.mid(0, 4));
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("p4.txt - Corvane"));

  frame_->OnCommand(ID_FILE_NEW);
  EXPECT_TRUE(doc.m_vertices.empty());
  EXPECT_EQ(doc.m_szName, "LFPG");
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Untitled - Corvane"));
}

TEST_F(MainFrameTest, PrintsThroughTheSameDrawing) {
  CCorvaneDoc& doc = frame_->Document();
  doc.m_vertices = {{0, 0}, {2500, 2500}};
  doc.m_edges = {{0, 1}};
  doc.m_nShowFlags = kShowEdges | kShowEdgesRead;
  frame_->resize(640, 480);
  const QString pdf = Dir("page.pdf");
  frame_->Printer()->setOutputFormat(QPrinter::PdfFormat);
  frame_->Printer()->setOutputFileName(pdf);
  frame_->OnCommand(ID_FILE_PRINT_DIRECT);
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5) == "%PDF-");
  EXPECT_GT(file.size(), 500);
}

TEST_F(MainFrameTest, StatusPanesShowTheMouse) {
  frame_->resize(800, 600);
  frame_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
  CCorvaneView* view = frame_->View();
  QTest::mouseMove(view, QPoint(view->width() / 2 + 4, view->height() / 2 - 2));
  QTRY_COMPARE(frame_->Document().m_ptMouse.x, 100);
  EXPECT_EQ(frame_->Document().m_ptMouse.z, 50);
  const QList<QLabel*> panes = frame_->findChildren<QLabel*>();
  QStringList texts;
  for (const QLabel* l : panes) texts.append(l->text());
  EXPECT_TRUE(texts.contains(QStringLiteral("100")));
  EXPECT_TRUE(texts.contains(QStringLiteral("50")));
}

// The ways a file reaches the window: the command line, Open, the recent
// list and a drop.
enum Entry { kCommandLine, kOpen, kRecent, kDrop, kClose, kNew };

void Enter(CMainFrame& frame, Entry entry, const QString& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  if (entry == kCommandLine) frame.OpenDocumentFile(path);
  if (entry == kOpen) frame.OnCommand(ID_FILE_OPEN);
  if (entry == kNew) frame.OnCommand(ID_FILE_NEW);
  if (entry == kClose) frame.close();
  if (entry == kDrop) static_cast<QObject&>(frame).event(&drop);
  for (QAction* a : frame.menuBar()->actions().first()->menu()->actions()) {
    if (entry == kRecent && a->data().toString() == path) a->trigger();
  }
}

TEST_F(MainFrameTest, AModifiedPathIsGuarded) {
  const QString other = Dir("MYPROJECT.txt");
  ASSERT_TRUE(SaveTextFile(other.toStdString(), "ICAO LFPG\n# 02 02 00 00 5 5 0\n"));
  using B = QMessageBox;
  const struct {
    Entry act;
    B::StandardButton answer;
  } cases[] = {{kClose, B::Cancel}, {kClose, B::Discard}, {kClose, B::Save},    {kNew, B::Cancel},
               {kNew, B::Discard},  {kNew, B::Save},      {kOpen, B::Cancel},   {kOpen, B::Discard},
               {kDrop, B::Cancel},  {kDrop, B::Save},     {kRecent, B::Discard}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.act << " " << c.answer);
    QSettings(QStringLiteral("Corvane"), QStringLiteral("Corvane"))
        .setValue(QStringLiteral("Recent File List"), QStringList{other});
    MakeFrame();
    asked_ = 0;
    answer_ = c.answer;
    savePath_ = Dir(QStringLiteral("saved%1%2.txt").arg(c.act).arg(c.answer));
    openPath_ = other;
    CCorvaneDoc& doc = frame_->Document();
    frame_->History().Change("add", [&] { doc.AddTaxiPoint(MakePoint(2, 2, 9, 9)); });
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Untitled* - Corvane"));
    frame_->show();
    Enter(*frame_, c.act, other);
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
      QSettings(QStringLiteral("Corvane"), QStringLiteral("Corvane"))
          .setValue(QStringLiteral("Recent File List"), QStringList{path});
      MakeFrame();
      CCorvaneDoc& doc = frame_->Document();
      doc.m_vertices = {{1, 2}};
      doc.SetName("LFPG");
      AddPath();
      messages_.clear();
      openPath_ = path;
      Enter(*frame_, entry, path);
      EXPECT_EQ(messages_, QStringList{"Can't open file...sorry."});
      EXPECT_TRUE(doc.m_szName == "LFPG" && doc.m_vertices.size() + doc.m_taxiPoints.size() == 3);
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
  auto state = [&] { return std::make_pair(EditState::Capture(doc, view->Model()), doc.ProjectFileText()); };
  std::vector<std::pair<EditState, std::string>> states{state()};
  for (int step : steps) {
    if (step < 0) {
      QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                        centre + QPoint(100 - step, -40 - step));
    } else {
      frame_->OnCommand(step);
    }
    states.push_back(state());
  }
  // Every step changed something (Process Data snapped the second point).
  ASSERT_EQ(frame_->History().Stack().count(), static_cast<int>(std::size(steps)));
  for (size_t i = states.size() - 1; i-- > 0;) {
    frame_->OnCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(state().first == states[i].first) << i;
    EXPECT_EQ(state().second, states[i].second) << i;
  }
  EXPECT_FALSE(frame_->History().IsModified());
  for (size_t i = 1; i < states.size(); ++i) frame_->OnCommand(ID_EDIT_REDO);
  EXPECT_TRUE(state().first == states.back().first);
  EXPECT_EQ(state().second, states.back().second);
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
