#include "corvane/app/qt_painter.h"

#include <QFontMetrics>
#include <QImage>

#include "corvane/core/pixel_painter.h"

namespace {

QColor ToQColor(corvane::Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QtPainter::QtPainter(QPainter& painter, int width, int height)
    : painter_(painter), width_(width), height_(height), font_(LabelFont()) {
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.translate(width / 2, height / 2);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(Qt::NoBrush);
}

QtPainter::~QtPainter() {
  Flush();
  painter_.restore();
}

QFont QtPainter::LabelFont() {
  QFont font(QStringLiteral("Arial Narrow"));
  font.setPixelSize(15);
  return font;
}

void QtPainter::Flush() {
  if (!lines_.isEmpty()) {
    painter_.drawLines(lines_);
    lines_.clear();
  }
}

void QtPainter::FillBackground(corvane::Rgb colour) {
  Flush();
  painter_.fillRect(QRect(-(width_ / 2), -(height_ / 2), width_, height_), ToQColor(colour));
}

void QtPainter::SetPen(std::optional<corvane::Rgb> colour) {
  Flush();
  if (colour) {
    QPen pen(ToQColor(*colour), 0);  // cosmetic: one pixel whatever the scale
    painter_.setPen(pen);
  } else {
    painter_.setPen(Qt::NoPen);
  }
}

void QtPainter::SetBrush(std::optional<corvane::Rgb> colour) {
  Flush();
  painter_.setBrush(colour ? QBrush(ToQColor(*colour)) : QBrush(Qt::NoBrush));
}

void QtPainter::MoveTo(int32_t x, int32_t y) { current_ = QPoint(x, y); }

void QtPainter::LineTo(int32_t x, int32_t y) {
  const QPoint to(x, y);
  if (painter_.pen().style() != Qt::NoPen) lines_.append(QLine(current_, to));
  current_ = to;
}

void QtPainter::Polygon(const std::vector<corvane::ScreenPoint>& points) {
  if (points.empty()) return;
  Flush();
  polygon_.resize(static_cast<qsizetype>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) {
    polygon_[static_cast<qsizetype>(i)] = QPoint(points[i].x, points[i].y);
  }
  painter_.drawPolygon(polygon_.constData(), static_cast<int>(polygon_.size()));
}

void QtPainter::Text(int32_t x, int32_t y, const std::string& text) {
  Flush();
  painter_.save();
  painter_.setFont(font_);
  if (ascent_ < 0) ascent_ = QFontMetrics(font_).ascent();
  painter_.setPen(Qt::black);
  painter_.setBackgroundMode(Qt::OpaqueMode);
  painter_.setBackground(Qt::white);
  painter_.drawText(QPoint(x, y + ascent_), QString::fromStdString(text));
  painter_.restore();
}

void DrawViewImage(corvane::ViewModel& model, const corvane::CCorvaneDoc& doc, QImage& image) {
  if (image.isNull()) return;
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
      image.format() != QImage::Format_ARGB32_Premultiplied) {
    image = image.convertToFormat(QImage::Format_RGB32);
  }
  const int w = image.width();
  const int h = image.height();
  auto* bits = reinterpret_cast<uint32_t*>(image.bits());
  corvane::PixelPainter pixels(bits, w, h, image.bytesPerLine() / 4,
                               [&image, w, h](int32_t x, int32_t y, const std::string& text) {
                                 QPainter painter(&image);
                                 QtPainter labels(painter, w, h);
                                 labels.Text(x, y, text);
                               });
  model.Draw(doc, pixels, w, h);
}
