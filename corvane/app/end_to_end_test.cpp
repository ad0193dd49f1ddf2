// The whole road: a small network file is listed by the ostrand built in this
// tree and drawn by the editor, in-process and by the program itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "corvane/app/test_support.h"
#include "corvane/app/main_frame.h"
#include "corvane/core/test_support.h"

namespace {

class EndToEnd : public ::testing::Test {
 protected:
  // testdata/tiny.bgr: origin 184827.0 / 3600.0; vertices (0, 0),
  // (2560, 5120), (-1000, 500); edges 0-1 and 1-2.
  void SetUp() override {
    EnsureApp();
    const QString ostrand = QStringLiteral(OSTRAND_EXE);
    if (!QFileInfo(ostrand).isExecutable()) GTEST_SKIP() << "ostrand is not built";
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(OSTRAND_SOURCE_DIR "/corvane/app/testdata/tiny.bgr"), bgr_));
  }
  QTemporaryDir dir_;
  QString bgr_ = dir_.filePath(QStringLiteral("tiny.bgr"));
};

TEST_F(EndToEnd, ImportThroughOstrand) {
  const QString saved = QDir::currentPath();
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH",
          QFileInfo(QStringLiteral(OSTRAND_EXE)).absolutePath().toLocal8Bit() + ":" + oldPath);
  // The user's own temporary file and run log in the airport's folder.
  QFile::copy(bgr_, dir_.filePath(QStringLiteral("mine.tmp")));
  QFile::copy(bgr_, dir_.filePath(QStringLiteral("report.txt")));
  {
    CMainFrame frame;
    QDir::setCurrent(dir_.path());
    ASSERT_TRUE(frame.OpenDocumentFile(QStringLiteral("tiny.bgr")));
    EXPECT_EQ(frame.RecentFiles().value(0), QFileInfo(bgr_).absoluteFilePath());
    EXPECT_EQ(corvane::Dump(frame.Document()),
              "'TINY' 184827 3600 show 6\nv 0 0\nv 2560 5120\nv -1000 500\ne 0 1\ne 1 2\n");
  }
  qputenv("PATH", oldPath);
  QDir::setCurrent(saved);
  // Nothing is left behind, and nothing of the user's is touched.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files),
            (QStringList{"mine.tmp", "report.txt", "tiny.bgr"}));
  EXPECT_EQ(corvane::ReadTextFile(dir_.filePath(QStringLiteral("report.txt")).toStdString()),
            corvane::ReadTextFile(bgr_.toStdString()));
}

TEST_F(EndToEnd, SnapshotProgramFindsOstrandBesideIt) {
  QProcess corvane;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
  corvane.setProcessEnvironment(env);
  // The name's extension decides the format.
  for (const auto& [name, head] :
       {std::pair{"snap.png", "\x89PNG"}, {"snap.jpg", "\xFF\xD8\xFF"}, {"snap.svg", "<?xml"}}) {
    const QString out = dir_.filePath(QString::fromLatin1(name));
    QStringList args{"--snapshot", out, bgr_};
    if (!out.endsWith(".png")) args.insert(2, "--fit");
    corvane.start(QStringLiteral(CORVANE_EXE), args);
    ASSERT_TRUE(corvane.waitForFinished(60000));
    ASSERT_EQ(corvane.exitCode(), 0) << corvane.readAllStandardError().toStdString();
    QFile file(out);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.read(5).startsWith(head)) << name;
  }
  QImage image(dir_.filePath(QStringLiteral("snap.png")));
  ASSERT_EQ(image.size(), QSize(1024, 768));
  // The edge from the origin to (2560, 5120) runs up and to the right of the
  // centre at 25 feet per pixel: (512 + 51, 384 - 102) lies on it.
  int blue = 0;
  for (int y = 270; y < 290; ++y)
    for (int x = 550; x < 575; ++x) blue += (image.pixel(x, y) & 0xFFFFFF) == 0x0000FF;
  EXPECT_GT(blue, 0);
  EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, 0xBEBEBEu);
}

TEST(CommandLine, WindowLessRunsAndRefusals) {
  EnsureApp();
  const struct { QStringList args; int status; const char* output; } rows[] = {
      {{"--help"}, 0, "--snapshot <OUT>"},
      {{"--version"}, 0, "Corvane 1.0"},
      {{"a.txt", "b.txt"}, 2, "one FILE at a time"},
      {{"--snapshot"}, 2, "Missing value"},
      {{"--snapshot", "out.gif"}, 1, "unknown picture format"},
      {{"--snapshot", "/nonexistent/dir/out.png"}, 1, "can't write"},
      {{"--snapshot", "out.png", "/nonexistent/abcd.bgr"}, 1, "can't read"},
  };
  // No display at all: these runs must not need one.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  for (const auto& c : rows) {
    QProcess corvane;
    corvane.setProcessEnvironment(env);
    corvane.start(QStringLiteral(CORVANE_EXE), c.args);
    ASSERT_TRUE(corvane.waitForFinished(60000));
    EXPECT_EQ(corvane.exitCode(), c.status) << c.args.join(' ').toStdString();
    const QByteArray output = corvane.readAllStandardOutput() + corvane.readAllStandardError();
    EXPECT_TRUE(output.contains(c.output)) << output.toStdString();
  }
}

}  // namespace
