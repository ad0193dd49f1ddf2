#include "corvane/core/pixel_painter.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace corvane {

PixelPainter::PixelPainter(uint32_t* pixels, int32_t width, int32_t height, ptrdiff_t stride,
                           TextSink text)
    : pixels_(pixels),
      width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_(stride),
      text_(std::move(text)),
      originX_(width_ / 2),
      originY_(height_ / 2) {}

void PixelPainter::FillBackground(Rgb colour) {
  const uint32_t c = Pixel(colour);
  for (int32_t y = 0; y < height_; ++y) std::fill_n(pixels_ + y * stride_, width_, c);
}

void PixelPainter::MoveTo(int32_t x, int32_t y) {
  currentX_ = x;
  currentY_ = y;
}

void PixelPainter::LineTo(int32_t x, int32_t y) {
  if (pen_) {
    Line(static_cast<double>(currentX_) + originX_, static_cast<double>(currentY_) + originY_,
         static_cast<double>(x) + originX_, static_cast<double>(y) + originY_, Pixel(*pen_));
  }
  currentX_ = x;
  currentY_ = y;
}

void PixelPainter::Line(double x0, double y0, double x1, double y1, uint32_t colour) {
  // Clip the segment to the buffer with a margin (Liang-Barsky), so the
  // stepping below never walks far outside it.
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  double t0 = 0.0;
  double t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 + 1.0, width_ - x0, y0 + 1.0, height_ - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) return;
  const bool endClipped = t1 < 1.0;
  int64_t ax = std::llround(x0 + t0 * dx);
  int64_t ay = std::llround(y0 + t0 * dy);
  const int64_t bx = std::llround(x0 + t1 * dx);
  const int64_t by = std::llround(y0 + t1 * dy);

  // Bresenham from a to b; the end point itself is left out unless the
  // clipping moved it.
  const int64_t sx = ax < bx ? 1 : -1;
  const int64_t sy = ay < by ? 1 : -1;
  const int64_t ex = bx > ax ? bx - ax : ax - bx;
  const int64_t ey = by > ay ? ay - by : by - ay;  // negative
  int64_t err = ex + ey;
  for (;;) {
    if (ax == bx && ay == by) {
      if (endClipped) Plot(ax, ay, colour);
      return;
    }
    Plot(ax, ay, colour);
    const int64_t e2 = 2 * err;
    if (e2 >= ey) {
      err += ey;
      ax += sx;
    }
    if (e2 <= ex) {
      err += ex;
      ay += sy;
    }
  }
}

void PixelPainter::Polygon(const std::vector<ScreenPoint>& points) {
  const size_t n = points.size();
  if (n == 0) return;
  if (brush_) {
    double top = points[0].y;
    double bottom = points[0].y;
    for (const ScreenPoint& p : points) {
      top = std::min<double>(top, p.y);
      bottom = std::max<double>(bottom, p.y);
    }
    // Rows whose centre (row + 0.5, in buffer pixels) lies within the polygon.
    const int64_t first = std::max<int64_t>(0, std::llround(std::ceil(top + originY_ - 0.5)));
    const int64_t last =
        std::min<int64_t>(height_ - 1, std::llround(std::floor(bottom + originY_ - 0.5)));
    const uint32_t colour = Pixel(*brush_);
    for (int64_t row = first; row <= last; ++row) {
      const double yc = row + 0.5 - originY_;
      crossings_.clear();
      for (size_t i = 0; i < n; ++i) {
        const ScreenPoint& a = points[i];
        const ScreenPoint& b = points[(i + 1) % n];
        if (a.y == b.y) continue;
        const double ya = a.y;
        const double yb = b.y;
        if ((yc >= ya && yc < yb) || (yc >= yb && yc < ya)) {
          crossings_.push_back(a.x + (yc - ya) * (static_cast<double>(b.x) - a.x) / (yb - ya) +
                               originX_);
        }
      }
      std::sort(crossings_.begin(), crossings_.end());
      uint32_t* line = pixels_ + row * stride_;
      for (size_t k = 0; k + 1 < crossings_.size(); k += 2) {
        // Pixels whose centre x + 0.5 lies in [left, right).
        const double left = std::max(crossings_[k] - 0.5, -1.0);
        const double right = std::min(crossings_[k + 1] - 0.5, static_cast<double>(width_));
        const int64_t from = std::max<int64_t>(0, std::llround(std::ceil(left)));
        const int64_t to = std::min<int64_t>(width_, std::llround(std::ceil(right)));
        if (from < to) std::fill(line + from, line + to, colour);
      }
    }
  }
  if (pen_) {
    for (size_t i = 0; i < n; ++i) {
      const ScreenPoint& a = points[i];
      const ScreenPoint& b = points[(i + 1) % n];
      Line(static_cast<double>(a.x) + originX_, static_cast<double>(a.y) + originY_,
           static_cast<double>(b.x) + originX_, static_cast<double>(b.y) + originY_, Pixel(*pen_));
    }
  }
}

void PixelPainter::Text(int32_t x, int32_t y, const std::string& text) {
  if (text_) text_(x, y, text);
}

}  // namespace corvane
