// `Corvane --snapshot OUT.png [FILE ...]`: draws files into an image without
// opening a window. Each FILE is imported when it is a .bgr or .tms file and
// read by the document reader otherwise (a project file named after the
// airport draws its taxi path over it). The view is drawn at the default
// zoom, centred on the airport origin, into a 1024 x 768 image.
#pragma once

#include <QString>
#include <QStringList>

constexpr int kSnapshotWidth = 1024;
constexpr int kSnapshotHeight = 768;

// False (with a reason) when a file cannot be read or the image not written.
bool WriteSnapshot(const QString& out, const QStringList& files, QString* error);
