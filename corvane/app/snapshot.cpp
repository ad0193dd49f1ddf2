#include "corvane/app/snapshot.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTemporaryDir>

#include "corvane/app/qt_painter.h"
#include "corvane/core/document_loader.h"
#include "corvane/core/view_navigation.h"

namespace {

const QString kUnknownFormat =
    QStringLiteral("unknown picture format: %1 (use .png, .jpg, .bmp or .svg)");

}  // namespace

QByteArray PictureFormat(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return "PNG";
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return "JPEG";
  if (suffix == QLatin1String("bmp")) return "BMP";
  if (suffix == QLatin1String("svg")) return "SVG";
  return QByteArray();
}

bool SaveViewPicture(corvane::ViewModel& view, const corvane::CCorvaneDoc& doc, QSize size,
                     const QString& path, QString* error) {
  const QByteArray format = PictureFormat(path);
  const bool svg = format == "SVG";
  if (format.isEmpty() ||
      (!svg && !QImageWriter::supportedImageFormats().contains(format.toLower()))) {
    *error = kUnknownFormat.arg(path);
    return false;
  }
  QSaveFile file(path);
  bool ok = file.open(QIODevice::WriteOnly);
  if (ok && svg) {
    // Lines and polygons as vectors, drawn as on the screen.
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter(&generator);
    QtPainter adapter(painter, size.width(), size.height());
    view.Draw(doc, adapter, size.width(), size.height());
  } else if (ok) {
    QImage image(size, QImage::Format_RGB32);
    DrawViewImage(view, doc, image);
    ok = image.save(&file, format.constData());
  }
  if (!ok || !file.commit()) {
    *error = QStringLiteral("can't write %1").arg(path);
    return false;
  }
  return true;
}

bool WriteSnapshot(const QString& out, const QStringList& files, bool fit, QString* error) {
  // Names on the command line are relative to where the program started;
  // the import moves the working directory.
  const QString outPath = QFileInfo(out).absoluteFilePath();
  if (PictureFormat(outPath).isEmpty()) {
    *error = kUnknownFormat.arg(out);
    return false;
  }
  QStringList paths;
  for (const QString& f : files) paths.append(QFileInfo(f).absoluteFilePath());

  corvane::CCorvaneDoc doc;
  for (const QString& path : paths) {
    QTemporaryDir work;
    if (!work.isValid() || !corvane::LoadFile(doc, path.toStdString(), work.path().toStdString())) {
      *error = QStringLiteral("can't read %1").arg(path);
      return false;
    }
  }

  corvane::ViewModel view;
  view.SetClientSize(kSnapshotWidth, kSnapshotHeight);
  corvane::g_nZoom = 25;
  if (fit) corvane::FitAll(doc, view);
  return SaveViewPicture(view, doc, QSize(kSnapshotWidth, kSnapshotHeight), outPath, error);
}
