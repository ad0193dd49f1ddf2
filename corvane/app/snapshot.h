// Pictures of the view without a window, through the same drawing as the
// screen: `Corvane --snapshot OUT [--fit] [FILE...]` and File > Export
// Picture. The picture's format is the one OUT's extension names (.png,
// .jpg or .jpeg, .bmp, and .svg drawn as vectors); any other extension is
// refused.
//
// A snapshot loads each FILE as the window would (a .bgr or .tms file is
// imported, any other file read as a project file) and draws the document
// into a 1024 x 768 picture at the default zoom, centred on the airport
// origin, or with --fit at the zoom step and centre that show it whole.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/view_model.h"

constexpr int kSnapshotWidth = 1024;
constexpr int kSnapshotHeight = 768;

// The image format named by a picture file's extension; empty when none.
QByteArray PictureFormat(const QString& path);

// Draws doc as the view model would show it in a client area of `size` and
// writes the picture; false (with a reason) when it cannot be written.
bool SaveViewPicture(corvane::ViewModel& view, const corvane::CCorvaneDoc& doc, QSize size,
                     const QString& path, QString* error);

// False (with a reason) when a file cannot be read or the picture not written.
bool WriteSnapshot(const QString& out, const QStringList& files, bool fit, QString* error);
