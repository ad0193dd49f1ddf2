#include "corvane/app/corvane_app.h"

#include <QApplication>
#include <QCommandLineParser>
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

namespace {

struct CommandLine {
  QCommandLineParser parser;
  QCommandLineOption help = parser.addHelpOption();
  QCommandLineOption version = parser.addVersionOption();
  QCommandLineOption snapshot{
      QStringLiteral("snapshot"),
      QStringLiteral("Draw the FILEs into the picture OUT (.png, .jpg, .bmp, .svg) and exit."),
      QStringLiteral("OUT")};
  QCommandLineOption fit{QStringLiteral("fit"),
                         QStringLiteral("With --snapshot: show the whole airport.")};

  CommandLine() {
    parser.setApplicationDescription(
        QStringLiteral("Draws an airport's taxiway network and records AI taxi paths."));
    parser.addOption(snapshot);
    parser.addOption(fit);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("An airport (.bgr, .tms) or a project file; --snapshot takes several."),
        QStringLiteral("[FILE...]"));
  }

  // Why the command line cannot be run; empty when it can.
  QString Refusal(bool parsed) const {
    if (!parsed) return parser.errorText();
    if (parser.isSet(snapshot)) return QString();
    if (parser.isSet(fit)) return QStringLiteral("--fit goes with --snapshot");
    const qsizetype files = parser.positionalArguments().size();
    if (files > 1) return QStringLiteral("one FILE at a time (%1 given)").arg(files);
    return QString();
  }
};

}  // namespace

int CCorvaneApp::Main(int argc, char** argv) {
  QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
  QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
  QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));

  // The command line is read before any window system is asked for, so that
  // help, version, errors and snapshots need no display.
  CommandLine line;
  const bool parsed = line.parser.parse(arguments);
  const QString refusal = line.Refusal(parsed);
  if (!refusal.isEmpty() || line.parser.isSet(line.help) || line.parser.isSet(line.version) ||
      line.parser.isSet(QStringLiteral("help-all"))) {
    QCoreApplication core(argc, argv);
    if (!refusal.isEmpty()) {
      std::fprintf(stderr, "Corvane: %s\n\n%s", refusal.toLocal8Bit().constData(),
                   line.parser.helpText().toLocal8Bit().constData());
      return 2;
    }
    line.parser.process(core);  // prints the help or the version and ends the program
    return 0;
  }

  const bool snapshot = line.parser.isSet(line.snapshot);
  if (snapshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // no window, no display needed
  }
  QApplication app(argc, argv);
  PutOwnFolderOnPath();

  const QStringList files = line.parser.positionalArguments();
  if (snapshot) {
    QString error;
    if (!WriteSnapshot(line.parser.value(line.snapshot), files, line.parser.isSet(line.fit),
                       &error)) {
      std::fprintf(stderr, "Corvane: %s\n", error.toLocal8Bit().constData());
      return 1;
    }
    return 0;
  }

  CMainFrame frame;
  // A file that cannot be opened is reported and the editor starts empty.
  if (!files.isEmpty()) frame.OpenDocumentFile(files.first());
  frame.show();
  return app.exec();
}
