#include "corvane/app/corvane_app.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "corvane/app/main_frame.h"
#include "corvane/app/snapshot.h"

void CCorvaneApp::PutOwnFolderOnPath() {
  const QString own = QCoreApplication::applicationDirPath();
  QStringList folders{own};
  // In the build tree the program sits in <build>/corvane/app and ostrand
  // in <build>/ostrand.
  const QFileInfo sibling(own + QStringLiteral("/../../ostrand/ostrand"));
  if (sibling.isExecutable()) folders.append(sibling.absolutePath());
  const QByteArray old = qgetenv("PATH");
  QByteArray path = QFile::encodeName(folders.join(QLatin1Char(':')));
  if (!old.isEmpty()) path += ':' + old;
  qputenv("PATH", path);
}

int CCorvaneApp::Main(int argc, char** argv) {
  const bool snapshot = argc >= 2 && std::strcmp(argv[1], "--snapshot") == 0;
  if (snapshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // no window, no display needed
  }
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  PutOwnFolderOnPath();

  const QStringList args = QApplication::arguments().mid(1);
  if (snapshot) {
    if (args.size() < 2) {
      std::fprintf(stderr, "usage: Corvane --snapshot OUT.png [FILE ...]\n");
      return 2;
    }
    QString error;
    if (!WriteSnapshot(args[1], args.mid(2), &error)) {
      std::fprintf(stderr, "Corvane: %s\n", error.toLocal8Bit().constData());
      return 1;
    }
    return 0;
  }

  CMainFrame frame;
  if (!args.isEmpty() && !frame.OpenDocumentFile(args.first())) return 1;
  frame.show();
  return app.exec();
}
