// A Painter that draws straight into a buffer of 32-bit pixels (0xAARRGGBB),
// for the screen and for images: one-pixel lines and filled polygons cost a
// few instructions per pixel instead of a general graphics engine's set-up
// per shape, which keeps the paint of a large airport fast.
//
// Lines follow the line-drawing rule of the original platform: every pixel
// from the current position up to, but not including, the end point. Polygons
// are filled by the even-odd rule, a pixel being inside when its centre is.
// Everything is clipped to the buffer, whatever the coordinates. Text is
// handed to a sink (the window system draws it), in logical units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "corvane/core/painter.h"

namespace corvane {

class PixelPainter : public Painter {
 public:
  using TextSink = std::function<void(int32_t x, int32_t y, const std::string& text)>;

  // stride: pixels from the start of one row to the start of the next.
  PixelPainter(uint32_t* pixels, int32_t width, int32_t height, ptrdiff_t stride, TextSink text);

  void FillBackground(Rgb colour) override;
  void SetPen(std::optional<Rgb> colour) override { pen_ = colour; }
  void SetBrush(std::optional<Rgb> colour) override { brush_ = colour; }
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void Polygon(const std::vector<ScreenPoint>& points) override;
  void Text(int32_t x, int32_t y, const std::string& text) override;

  static uint32_t Pixel(Rgb c) {
    return 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
  }

 private:
  // Both in buffer pixels (the logical origin is the buffer's centre).
  void Line(double x0, double y0, double x1, double y1, uint32_t colour);
  void Plot(int64_t x, int64_t y, uint32_t colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * stride_ + x] = colour;
  }

  uint32_t* pixels_;
  int32_t width_;
  int32_t height_;
  ptrdiff_t stride_;
  TextSink text_;
  int32_t originX_;
  int32_t originY_;
  std::optional<Rgb> pen_;
  std::optional<Rgb> brush_;
  int32_t currentX_ = 0;
  int32_t currentY_ = 0;
  std::vector<double> crossings_;
};

}  // namespace corvane
