#include "corvane/app/snapshot.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include "corvane/app/qt_painter.h"
#include "corvane/core/listing_import.h"
#include "corvane/core/listing_reader.h"
#include "corvane/core/text_file.h"
#include "corvane/core/view_model.h"

bool WriteSnapshot(const QString& out, const QStringList& files, QString* error) {
  // Names on the command line are relative to where the program started;
  // the import moves the working directory.
  const QString outPath = QFileInfo(out).absoluteFilePath();
  QStringList paths;
  for (const QString& f : files) paths.append(QFileInfo(f).absoluteFilePath());

  corvane::CCorvaneDoc doc;
  for (const QString& path : paths) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!QFileInfo::exists(path)) {
      *error = QStringLiteral("can't read %1").arg(path);
      return false;
    }
    if (suffix == QLatin1String("bgr") || suffix == QLatin1String("tms")) {
      if (!corvane::ImportListing(doc, path.toStdString())) {
        *error = QStringLiteral("can't import %1").arg(path);
        return false;
      }
    } else {
      const auto text = corvane::ReadTextFile(path.toStdString());
      if (!text) {
        *error = QStringLiteral("can't read %1").arg(path);
        return false;
      }
      doc.DeleteContents();
      corvane::ReadDocument(doc, *text);
    }
  }

  QImage image(kSnapshotWidth, kSnapshotHeight, QImage::Format_RGB32);
  corvane::ViewModel view;
  corvane::g_nZoom = 25;
  DrawViewImage(view, doc, image);
  if (!image.save(outPath, "PNG")) {
    *error = QStringLiteral("can't write %1").arg(outPath);
    return false;
  }
  return true;
}
