// The core's Painter on a QPainter: the view's paint, printing and the
// snapshot image all draw through it.
//
// The drawn area is (0, 0, width, height) of the QPainter; logical (0, 0) is
// its centre (width / 2, height / 2). Lines of one pen are collected and drawn
// together. Labels are black on an opaque white background, as text drawn
// with default settings on a window.
#pragma once

#include <QFont>
#include <QLine>
#include <QPainter>
#include <QVector>

#include "corvane/core/painter.h"
#include "corvane/core/view_model.h"

class QImage;

class QtPainter : public corvane::Painter {
 public:
  QtPainter(QPainter& painter, int width, int height);
  ~QtPainter() override;

  void FillBackground(corvane::Rgb colour) override;
  void SetPen(std::optional<corvane::Rgb> colour) override;
  void SetBrush(std::optional<corvane::Rgb> colour) override;
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void Polygon(const std::vector<corvane::ScreenPoint>& points) override;
  void Text(int32_t x, int32_t y, const std::string& text) override;

  // The label font: "Arial Narrow", 15 units high.
  static QFont LabelFont();

 private:
  void Flush();

  QPainter& painter_;
  int width_;
  int height_;
  QPoint current_;
  QVector<QLine> lines_;
  QVector<QPoint> polygon_;
  QFont font_;
  int ascent_ = -1;
};

// Draws the view into an image (the screen's frame, the snapshot) through the
// core's PixelPainter; the labels are written with Qt.
void DrawViewImage(corvane::ViewModel& model, const corvane::CCorvaneDoc& doc, QImage& image);
