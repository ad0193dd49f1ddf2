#include "corvane/core/pixel_painter.h"

#include <gtest/gtest.h>

#include <random>

#include "corvane/core/test_support.h"

namespace corvane {
namespace {

constexpr uint32_t kPad = 0x12345678u;  // stands in the stride beyond each row
constexpr uint32_t kBack = 0xFF000000u;
constexpr Rgb kInk{255, 0, 0};

// A width x height buffer with a padded stride and one padded row after it,
// drawn as text rows of '.' and '#'; a '!' marks a pixel drawn outside.
struct Canvas {
  int32_t w, h;
  size_t stride;
  std::vector<uint32_t> pixels;
  std::vector<std::string> texts;
  PixelPainter painter;
  Canvas(int32_t width, int32_t height)
      : w(width), h(height), stride(static_cast<size_t>(width) + 3),
        pixels(stride * static_cast<size_t>(height + 1), kPad),
        painter(pixels.data(), width, height, static_cast<ptrdiff_t>(stride),
                [this](int32_t x, int32_t y, const std::string& t) {
                  texts.push_back(std::to_string(x) + "," + std::to_string(y) + " " + t);
                }) {
    painter.FillBackground(Rgb{});
  }
  std::string Rows() const {
    std::string out;
    for (size_t i = 0; i < pixels.size(); ++i) {
      const int64_t x = static_cast<int64_t>(i % stride), y = static_cast<int64_t>(i / stride);
      if (x < w && y < h) out += pixels[i] == kBack ? '.' : '#';
      if ((x >= w || y >= h) && pixels[i] != kPad) out += '!';
      if (x == w - 1 && y < h) out += '\n';
    }
    return out;
  }
};

TEST(PixelPainter, LinesAndPolygons) {
  ExpectCases("corvane/core/testdata/pixels.txt", [](const TextCase& c) {
    std::istringstream header(c.name);
    std::string kind;
    header >> kind;
    std::vector<ScreenPoint> points;
    for (ScreenPoint p; header >> p.x >> p.y;) points.push_back(p);
    Canvas canvas(6, 6);
    if (kind != "polygon") canvas.painter.SetPen(kInk);
    if (kind != "line") canvas.painter.SetBrush(kInk);
    if (kind == "line") canvas.painter.MoveTo(points[0].x, points[0].y);
    if (kind == "line") canvas.painter.LineTo(points[1].x, points[1].y);
    if (kind != "line") canvas.painter.Polygon(points);
    return canvas.Rows();
  });
}

TEST(PixelPainter, NothingEverLandsOutsideTheBuffer) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> huge(-8000000, 8000000);
  std::uniform_int_distribution<int32_t> near(-40, 40);
  for (int32_t size : {0, 1, 7, 33}) {
    Canvas canvas(size, size / 2 + 1);
    canvas.painter.SetPen(kInk);
    canvas.painter.SetBrush(Rgb{0, 255, 0});
    for (int i = 0; i < 400; ++i) {
      auto pick = [&] { return i % 2 ? huge(random) : near(random); };
      canvas.painter.MoveTo(pick(), pick());
      canvas.painter.LineTo(pick(), pick());
      std::vector<ScreenPoint> polygon;
      for (int k = 0; k < 3 + i % 5; ++k) polygon.push_back({pick(), pick()});
      canvas.painter.Polygon(polygon);
    }
    EXPECT_EQ(canvas.Rows().find('!'), std::string::npos) << size;
  }
}

TEST(PixelPainter, TextGoesToTheSinkInLogicalUnits) {
  Canvas canvas(10, 10);
  canvas.painter.Text(-3, 4, "800");
  EXPECT_EQ(canvas.texts, std::vector<std::string>{"-3,4 800"});
  EXPECT_EQ(PixelPainter::Pixel(Rgb{160, 200, 130}), 0xFFA0C882u);
}

}  // namespace
}  // namespace corvane
