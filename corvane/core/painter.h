// The drawing operations the view's paint needs, so that the drawing itself
// lives apart from any window system: the screen, the printer, an image and
// the tests each provide their own Painter.
//
// Coordinates are logical units with (0, 0) at the centre of the drawn area,
// one unit per pixel, y growing downward. Lines keep a current position
// (MoveTo, LineTo); Polygon fills with the brush and outlines with the pen;
// Text writes with its top-left corner at the point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

class Painter {
 public:
  virtual ~Painter() = default;
  // Fills the whole drawn area.
  virtual void FillBackground(Rgb colour) = 0;
  // A solid pen of one pixel, or no pen.
  virtual void SetPen(std::optional<Rgb> colour) = 0;
  // A solid brush, or no brush.
  virtual void SetBrush(std::optional<Rgb> colour) = 0;
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  virtual void LineTo(int32_t x, int32_t y) = 0;
  virtual void Polygon(const std::vector<ScreenPoint>& points) = 0;
  // Label text in the label font ("Arial Narrow", 15 units high).
  virtual void Text(int32_t x, int32_t y, const std::string& text) = 0;
};

}  // namespace corvane
