// The whole road: a small network file is listed by the ostrand built in this
// tree and drawn by the editor, in-process and by the program itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cstring>

#include "corvane/app/test_support.h"
#include "corvane/app/main_frame.h"
#include "corvane/core/view_model.h"

namespace {

class BgrBytes {
 public:
  void Tag(const char* tag) { bytes_.append(tag, static_cast<int>(std::strlen(tag)) + 1); }
  void Int(int32_t v) { Raw(&v, 4); }
  void Real(double v) { Raw(&v, 8); }
  const QByteArray& Bytes() const { return bytes_; }

 private:
  void Raw(const void* p, int n) {
    bytes_.append(static_cast<const char*>(p), n);
  }  // little-endian host
  QByteArray bytes_;
};

// Origin 184827.0 / 3600.0; vertices (0, 0), (2560, 5120), (-1000, 500);
// edges 0-1 and 1-2.
QByteArray TinyNetwork() {
  BgrBytes b;
  b.Tag("<bgno>");
  b.Tag("<orgn>");
  b.Real(184827.0);
  b.Real(3600.0);
  b.Real(0.0);
  b.Int(1);
  for (auto [x, z] : {std::pair{0.0, 0.0}, {2560.0, 5120.0}, {-1000.0, 500.0}}) {
    b.Tag("<node>");
    b.Tag("<bgno>");
    b.Tag("<vloc>");
    b.Real(x);
    b.Real(0.0);
    b.Real(z);
    b.Tag("<endo>");
  }
  for (auto [from, to] : {std::pair{0, 1}, {1, 2}}) {
    b.Tag("<edge>");
    b.Int(from);
    b.Int(to);
    b.Tag("<bgno>");
    b.Tag("<thck>");
    b.Int(16968 << 16);
    b.Tag("<type>");
    b.Int(1);
    b.Tag("<endo>");
  }
  b.Tag("<endo>");
  return b.Bytes();
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    const QString ostrand = QStringLiteral(OSTRAND_EXE);
    if (!QFileInfo(ostrand).isExecutable()) GTEST_SKIP() << "ostrand is not built";
    bgr_ = dir_.filePath(QStringLiteral("tiny.bgr"));
    QFile file(bgr_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(TinyNetwork());
    file.close();
    QProcess probe;
    probe.setWorkingDirectory(dir_.path());
    probe.start(ostrand, {QStringLiteral("-ls"), QStringLiteral("tiny.bgr")});
    probe.waitForFinished(60000);
    if (!probe.readAllStandardOutput().contains("<vloc> (2)")) {
      GTEST_SKIP() << "this ostrand does not list networks yet";
    }
  }
  QTemporaryDir dir_;
  QString bgr_;
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
    const corvane::CCorvaneDoc& doc = frame.Document();
    EXPECT_EQ(doc.m_szName, "TINY");
    EXPECT_DOUBLE_EQ(doc.m_dOrgLat, 184827.0);
    EXPECT_DOUBLE_EQ(doc.m_dOrgLon, 3600.0);
    ASSERT_EQ(doc.m_vertices.size(), 3u);
    EXPECT_DOUBLE_EQ(doc.m_vertices[1].x, 2560.0);
    EXPECT_DOUBLE_EQ(doc.m_vertices[1].z, 5120.0);
    ASSERT_EQ(doc.m_edges.size(), 2u);
    EXPECT_EQ(doc.m_edges[1].to, 2);
    EXPECT_TRUE(doc.m_pavePoints.empty());  // no TMS file
  }
  qputenv("PATH", oldPath);
  QDir::setCurrent(saved);
  // Nothing is left behind, and nothing of the user's is touched.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files),
            (QStringList{"mine.tmp", "report.txt", "tiny.bgr"}));
  QFile mine(dir_.filePath(QStringLiteral("report.txt")));
  ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
  EXPECT_EQ(mine.readAll(), TinyNetwork());
}

TEST_F(EndToEnd, SnapshotProgramFindsOstrandBesideIt) {
  const QString png = dir_.filePath(QStringLiteral("snap.png"));
  QProcess corvane;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
  corvane.setProcessEnvironment(env);
  corvane.start(QStringLiteral(CORVANE_EXE), {QStringLiteral("--snapshot"), png, bgr_});
  ASSERT_TRUE(corvane.waitForFinished(60000));
  ASSERT_EQ(corvane.exitCode(), 0) << corvane.readAllStandardError().toStdString();
  QImage image(png);
  ASSERT_EQ(image.size(), QSize(1024, 768));
  // The edge from the origin to (2560, 5120) runs up and to the right of the
  // centre at 25 feet per pixel: (512 + 51, 384 - 102) lies on it.
  int blue = 0;
  for (int y = 270; y < 290; ++y) {
    for (int x = 550; x < 575; ++x) blue += (image.pixel(x, y) & 0xFFFFFF) == 0x0000FF;
  }
  EXPECT_GT(blue, 0);
  EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, 0xBEBEBEu);

  // The name's extension decides the format.
  for (const auto& [name, head] : {std::pair{"snap.jpg", "\xFF\xD8\xFF"}, {"snap.svg", "<?xml"}}) {
    const QString out = dir_.filePath(QString::fromLatin1(name));
    corvane.start(QStringLiteral(CORVANE_EXE), {"--snapshot", out, "--fit", bgr_});
    ASSERT_TRUE(corvane.waitForFinished(60000) && corvane.exitCode() == 0);
    QFile file(out);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.read(5).startsWith(head)) << name;
  }
}

TEST(CommandLine, WindowLessRunsAndRefusals) {
  EnsureApp();
  const struct {
    QStringList args;
    int status;
    const char* output;
  } cases[] = {
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
  for (const auto& c : cases) {
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
