#include "corvane/app/qt_painter.h"

#include <gtest/gtest.h>

#include <QImage>

#include "corvane/app/test_support.h"
#include "corvane/core/commands.h"
#include "corvane/core/test_support.h"
#include "corvane/core/view_model.h"

using namespace corvane;

namespace {

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// The screen's pixel drawing and QPainter (printing) give the same colours,
// and an empty document is all background through either.
TEST(QtPainter, DrawnDocumentHasThePartsColours) {
  EnsureApp();
  g_nZoom = 1;
  CCorvaneDoc doc;
  // A horizontal edge 40 px above the centre, a square polygon below it.
  doc.m_vertices = {{-100, 40}, {100, 40}};
  doc.m_edges = {{0, 1}};
  for (auto [x, z] : {std::pair{-50.0, -20.0}, {50, -20}, {50, -80}, {-50, -80}}) {
    doc.m_pavePoints.push_back({4, x, z});
  }
  doc.m_taxiPoints = {MakePoint(2, 2, -100, 100), MakePoint(2, 0, 100, 100),
                      MakePoint(4, 0, 100, 150)};
  const struct { int x, y; QRgb colour; } parts[] = {
      {5, 5, 0xBEBEBE}, {203, 200, 0xFF0000}, {230, 160, 0x0000FF},
      {200, 250, 0xA0C882}, {200, 100, 0xFF0000}, {300, 75, 0xFFFF00}};
  for (bool throughQPainter : {false, true}) {
    SCOPED_TRACE(throughQPainter ? "QPainter" : "pixels");
    for (uint8_t show : {0, kShowEdges | kShowEdgesRead | kShowPolygons}) {
      doc.m_nShowFlags = show;
      QImage image(400, 400, QImage::Format_RGB32);
      image.fill(Qt::black);
      ViewModel view;
      view.OnCommand(ID_SHOW_POINT_DATA, doc);  // labels off
      if (throughQPainter) {
        QPainter painter(&image);
        QtPainter adapter(painter, 400, 400);
        view.Draw(doc, adapter, 400, 400);
      } else {
        DrawViewImage(view, doc, image);
      }
      int background = 0;
      for (int i = 0; i < 400 * 400; ++i) background += Pixel(image, i % 400, i / 400) == 0xBEBEBEu;
      EXPECT_TRUE(show != 0 || background == 400 * 400) << background;
      for (const auto& part : parts) {
        EXPECT_TRUE(show == 0 || Pixel(image, part.x, part.y) == part.colour) << part.x;
      }
    }
  }
  g_nZoom = 25;
}

TEST(QtPainter, LabelsAreBlackOnWhiteBelowRightOfThePoint) {
  EnsureApp();
  CCorvaneDoc doc;
  doc.m_nShowFlags = kShowEdges;
  doc.m_taxiPoints = {MakePoint(2, 8, 0, 0, 1)};
  QImage image(400, 400, QImage::Format_RGB32);
  ViewModel view;
  DrawViewImage(view, doc, image);
  int white = 0, black = 0;
  for (int y = 210; y < 230; ++y) {
    for (int x = 200; x < 240; ++x) {
      white += Pixel(image, x, y) == 0xFFFFFFu;
      black += qGray(image.pixel(x, y)) < 96;  // text may be smoothed
    }
  }
  EXPECT_GT(white, 20);
  EXPECT_GT(black, 5);
  EXPECT_EQ(Pixel(image, 199, 209), 0xBEBEBEu);  // nothing above or left of the corner
}

}  // namespace
