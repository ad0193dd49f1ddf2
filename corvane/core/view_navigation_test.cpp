#include "corvane/core/view_navigation.h"

#include <gtest/gtest.h>

#include "corvane/core/test_support.h"

namespace corvane {
namespace {

TEST(ViewNavigation, WheelStepsThroughTheZoomsKeepingThePointUnderThePointer) {
  // zoom, centre x, centre z, pointer x, pointer y, wheel steps, zoom after
  const int32_t cases[][7] = {{25, 0, 0, 400, 300, 1, 20},     {25, 0, 0, 0, 0, -1, 50},
                              {1, -700, 90, 799, 599, 3, 1},   {3, 7, 7, 10, 10, 1, 2},
                              {3, 7, 7, 10, 10, -1, 5},        {100, 123456, -5, 13, 577, 2, 25},
                              {20, 10, 10, 401, 299, -4, 100}, {200, 0, 0, 1, 1, 1, 100}};
  for (const auto& c : cases) {
    g_nZoom = c[0];
    CCorvaneDoc doc;
    doc.m_ptCentre = IntPoint{c[1], c[2]};
    ViewModel view;
    view.SetClientSize(801, 600);
    const IntPoint before = view.ScreenToWorld(doc, c[3], c[4]);
    ZoomAbout(doc, view, c[3], c[4], c[5]);
    EXPECT_EQ(g_nZoom, c[6]) << c[0] << " " << c[5];
    const IntPoint after = view.ScreenToWorld(doc, c[3], c[4]);
    EXPECT_TRUE(after.x == before.x && after.z == before.z) << c[0] << " " << c[3];
  }
}

TEST(ViewNavigation, FitShowsEverything) {
  CCorvaneDoc doc;
  ViewModel view;
  view.SetClientSize(1000, 500);
  doc.m_vertices = {{-4000, 1000}, {14000, 3000}};
  doc.m_taxiPoints = {MakePoint(2, 2, 0, 9000)};
  FitAll(doc, view);  // 18000 x 8000 ft into 900 x 450 pixels
  EXPECT_TRUE(doc.m_ptCentre.x == 5000 && doc.m_ptCentre.z == 5000);
  EXPECT_EQ(g_nZoom, 20);
  g_nZoom = 25;
}

}  // namespace
}  // namespace corvane
