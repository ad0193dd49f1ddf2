#include "corvane/core/view_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "corvane/core/commands.h"
#include "corvane/core/test_support.h"

namespace corvane {
namespace {

// Writes every drawing call as one line of text.
class RecordingPainter : public Painter {
 public:
  std::ostringstream out;
  void FillBackground(Rgb c) override { out << "fill " << Colour(c) << "\n"; }
  void SetPen(std::optional<Rgb> c) override { out << "pen " << (c ? Colour(*c) : "none") << "\n"; }
  void SetBrush(std::optional<Rgb> c) override {
    out << "brush " << (c ? Colour(*c) : "none") << "\n";
  }
  void MoveTo(int32_t x, int32_t y) override { out << "M " << x << " " << y << "\n"; }
  void LineTo(int32_t x, int32_t y) override { out << "L " << x << " " << y << "\n"; }
  void Polygon(const std::vector<ScreenPoint>& pts) override {
    out << "poly";
    for (auto p : pts) out << " " << p.x << "," << p.y;
    out << "\n";
  }
  void Text(int32_t x, int32_t y, const std::string& t) override {
    out << "T " << x << " " << y << " " << t << "\n";
  }
  static std::string Colour(Rgb c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
  }
};

class ViewModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nZoom = 25;
    g_nStopCount = 0;
  }
  CCorvaneDoc doc;
  ViewModel view;
};

TEST_F(ViewModelTest, WorldToScreenTruncatesTowardZero) {
  const struct {
    int32_t zoom;
    IntPoint centre;
    double wx, wz;
    int32_t sx, sy;
  } cases[] = {
      {25, {0, 0}, 0, 0, 0, 0},
      {25, {0, 0}, 2500, 1000, 100, -40},
      {10, {0, 0}, 15, -15, 1, 1},    // 1.5 and 1.5 -> 1, 1
      {10, {0, 0}, -15, 15, -1, -1},  // -1.5 -> -1 on the other side
      {10, {0, 0}, 19.99, -19.99, 1, 1},
      {10, {0, 0}, -19.99, 19.99, -1, -1},
      {5, {100, -100}, 100, -100, 0, 0},
      {5, {100, -100}, 97.5, -102.5, 0, 0},
      {1, {0, 0}, 1e300, -1e300, 8000000, 8000000},
      {1, {0, 0}, std::nan(""), 0, 0, 0},
  };
  for (const auto& c : cases) {
    g_nZoom = c.zoom;
    doc.m_ptCentre = c.centre;
    ScreenPoint p = ViewModel::ToPixel(ViewModel::WorldToScreen(doc, c.wx, c.wz));
    EXPECT_EQ(p.x, c.sx) << c.wx;
    EXPECT_EQ(p.y, c.sy) << c.wz;
  }
}

TEST_F(ViewModelTest, ScreenToWorld) {
  const struct {
    int32_t zoom, cx, cy;
    IntPoint centre;
    int32_t mx, my;
    int32_t wx, wz;
  } cases[] = {
      {25, 800, 600, {0, 0}, 500, 260, 2500, 1000},  // 100 right, 40 up
      {25, 801, 601, {0, 0}, 400, 300, 0, 0},        // halves by integer division
      {1, 800, 600, {-50, 70}, 0, 0, -450, 370},
      {25, 800, 600, {2147483600, 0}, 800, 0, 2147483647, 7500},  // clamped
  };
  for (const auto& c : cases) {
    g_nZoom = c.zoom;
    view.SetClientSize(c.cx, c.cy);
    doc.m_ptCentre = c.centre;
    IntPoint w = view.ScreenToWorld(doc, c.mx, c.my);
    EXPECT_EQ(w.x, c.wx);
    EXPECT_EQ(w.z, c.wz);
  }
}

TEST_F(ViewModelTest, ScreenWorldScreenRoundTrip) {
  view.SetClientSize(1024, 768);
  for (int32_t zoom : {1, 5, 10, 20, 25}) {
    g_nZoom = zoom;
    for (IntPoint centre : {IntPoint{0, 0}, IntPoint{-1234, 5678}}) {
      doc.m_ptCentre = centre;
      for (int32_t mx = 0; mx < 1024; mx += 37) {
        for (int32_t my = 0; my < 768; my += 41) {
          IntPoint w = view.ScreenToWorld(doc, mx, my);
          ScreenPoint s = ViewModel::ToPixel(ViewModel::WorldToScreen(doc, w.x, w.z));
          EXPECT_EQ(s.x + 512, mx);
          EXPECT_EQ(s.y + 384, my);
        }
      }
    }
  }
}

TEST_F(ViewModelTest, ClickAddsAPointOnlyWhileRecording) {
  view.SetClientSize(800, 600);
  EXPECT_FALSE(view.OnLeftClick(doc, 500, 260));
  EXPECT_TRUE(doc.m_taxiPoints.empty());

  view.OnCommand(ID_FLAG_LANDING_POINT, doc);
  EXPECT_EQ(doc.m_bStopped, 0);
  EXPECT_TRUE(view.OnLeftClick(doc, 500, 260));
  ASSERT_EQ(doc.m_taxiPoints.size(), 1u);
  EXPECT_EQ(doc.m_taxiPoints[0].kind, 2);
  EXPECT_EQ(doc.m_taxiPoints[0].type, 2);
  EXPECT_EQ(doc.m_taxiPoints[0].x, 2500);
  EXPECT_EQ(doc.m_taxiPoints[0].z, 1000);

  // One "&Stop Point" marks one point; the next needs the command again.
  view.OnCommand(ID_FLAG_STOP_POINT, doc);
  view.OnLeftClick(doc, 400, 300);
  view.OnLeftClick(doc, 400, 300);
  view.OnCommand(ID_FLAG_STOP_POINT, doc);
  view.OnLeftClick(doc, 400, 300);
  ASSERT_EQ(doc.m_taxiPoints.size(), 4u);
  EXPECT_EQ(doc.m_taxiPoints[1].type, 8);
  EXPECT_EQ(doc.m_taxiPoints[1].stopNo, 1);
  EXPECT_EQ(doc.m_taxiPoints[2].type, 0);
  EXPECT_EQ(doc.m_taxiPoints[2].stopNo, 0);
  EXPECT_EQ(doc.m_taxiPoints[3].stopNo, 2);
  EXPECT_EQ(g_nStopCount, 2);

  // Factory stays on; pivot marks one point.
  view.OnCommand(ID_ENABLE_FACTORY_NODES, doc);
  view.OnCommand(ID_FLAG_PARKING_PIVOT, doc);
  view.OnLeftClick(doc, 0, 0);
  view.OnLeftClick(doc, 0, 0);
  EXPECT_EQ(doc.m_taxiPoints[4].pivot, 1);
  EXPECT_EQ(doc.m_taxiPoints[4].factory, 1);
  EXPECT_EQ(doc.m_taxiPoints[5].pivot, 0);
  EXPECT_EQ(doc.m_taxiPoints[5].factory, 1);

  view.OnCommand(ID_PROC_STOP_TAXI_PATH, doc);
  EXPECT_FALSE(view.OnLeftClick(doc, 0, 0));
  EXPECT_EQ(doc.m_taxiPoints.size(), 6u);
}

TEST_F(ViewModelTest, CommandsAndCheckMarks) {
  using E = ViewModel::Effect;
  auto shown = [](std::vector<int> ids) {
    ids.insert(ids.end(), {ID_ZOOM_1X05, ID_VIEW_EDGES_POLYGONS, ID_VIEW_EDGES, ID_VIEW_POLYGONS,
                           ID_VIEW_CENTER});
    return ids;
  };
  const struct {
    int id;
    E effect;
    std::vector<int> checked;
  } steps[] = {
      {ID_ZOOM_1X05,
       E::kRedraw,
       {ID_ZOOM_1X05, ID_VIEW_CENTER, ID_SHOW_POINT_DATA, ID_PROC_STOP_TAXI_PATH}},
      {ID_VIEW_POLYGONS,
       E::kRedraw,
       {ID_ZOOM_1X05, ID_VIEW_POLYGONS, ID_VIEW_CENTER, ID_SHOW_POINT_DATA,
        ID_PROC_STOP_TAXI_PATH}},
      {ID_VIEW_EDGES,
       E::kRedraw,
       {ID_ZOOM_1X05, ID_VIEW_EDGES, ID_VIEW_CENTER, ID_SHOW_POINT_DATA, ID_PROC_STOP_TAXI_PATH}},
      // From here on zoom 1:5, all three views and the centre stay checked.
      {ID_VIEW_EDGES_POLYGONS, E::kRedraw, shown({ID_SHOW_POINT_DATA, ID_PROC_STOP_TAXI_PATH})},
      {ID_START_DEPARTURE, E::kHandled, shown({ID_SHOW_POINT_DATA, ID_START_DEPARTURE})},
      {ID_FLAG_TAKEOFF, E::kHandled,
       shown({ID_SHOW_POINT_DATA, ID_START_DEPARTURE, ID_FLAG_TAKEOFF})},
      {ID_SHOW_POINT_DATA, E::kRedraw, shown({ID_START_DEPARTURE, ID_FLAG_TAKEOFF})},
      {ID_FLAG_BRAKING, E::kHandled, shown({ID_START_LANDING, ID_FLAG_BRAKING})},
  };
  const int all[] = {ID_ZOOM_1X1,
                     ID_ZOOM_1X05,
                     ID_ZOOM_1X10,
                     ID_ZOOM_1X20,
                     ID_ZOOM_1X25,
                     ID_VIEW_EDGES_POLYGONS,
                     ID_VIEW_EDGES,
                     ID_VIEW_POLYGONS,
                     ID_VIEW_CENTER,
                     ID_START_LANDING,
                     ID_START_DEPARTURE,
                     ID_FLAG_LANDING_POINT,
                     ID_FLAG_BRAKING,
                     ID_FLAG_PARKING_PIVOT,
                     ID_FLAG_STOP_POINT,
                     ID_FLAG_ACCELERATION,
                     ID_FLAG_TAKEOFF,
                     ID_SHOW_POINT_DATA,
                     ID_ENABLE_FACTORY_NODES,
                     ID_PROC_STOP_TAXI_PATH};
  for (const auto& step : steps) {
    EXPECT_EQ(view.OnCommand(step.id, doc), step.effect) << step.id;
    for (int id : all) {
      bool want = std::find(step.checked.begin(), step.checked.end(), id) != step.checked.end();
      EXPECT_EQ(view.Checked(id, doc), want) << "after " << step.id << " item " << id;
    }
  }
  EXPECT_FALSE(view.Checked(ID_FILE_NEW, doc).has_value());
  EXPECT_FALSE(ViewModel::Enabled(ID_PAUSE));
  EXPECT_FALSE(ViewModel::Enabled(ID_EDIT_PASTE));
  EXPECT_TRUE(ViewModel::Enabled(ID_VIEW_CENTER));
}

TEST_F(ViewModelTest, DoubleClickRecentresAndCenterGoesBack) {
  view.SetClientSize(800, 600);
  view.OnMouseMove(doc, 500, 260);
  EXPECT_EQ(ViewModel::MouseXText(doc), "2500");
  EXPECT_EQ(ViewModel::MouseZText(doc), "1000");
  view.OnDoubleClick(doc);
  EXPECT_EQ(doc.m_ptCentre.x, 2500);
  EXPECT_EQ(view.Checked(ID_VIEW_CENTER, doc), false);
  view.OnCommand(ID_VIEW_CENTER, doc);
  EXPECT_EQ(view.Checked(ID_VIEW_CENTER, doc), true);
}

TEST_F(ViewModelTest, EmptyDocumentDrawsOnlyTheBackground) {
  RecordingPainter p;
  view.Draw(doc, p, 100, 80);
  EXPECT_EQ(p.out.str(), "pen none\nbrush none\nfill 190,190,190\n");
  EXPECT_EQ(view.m_cxClient, 0);
}

TEST_F(ViewModelTest, DrawingPasses) {
  g_nZoom = 10;
  doc.m_vertices = {{0, 0}, {100, 50}};
  doc.m_edges = {{0, 1}, {1, 7}, {-1, 0}};
  doc.m_pavePoints = {{3, 0, 0}, {3, 10, 0}, {3, 0, 10}, {4, 1, 1}};  // last one incomplete
  doc.m_nShowFlags = kShowEdges | kShowEdgesRead | kShowPolygons;
  doc.m_taxiPoints = {MakePoint(2, 2, 200, 0), MakePoint(2, 8, 200, 100), MakePoint(4, 32, 300, 0)};
  RecordingPainter p;
  view.Draw(doc, p, 640, 480);
  EXPECT_EQ(view.m_cxClient, 640);
  EXPECT_EQ(p.out.str(),
            "pen none\nbrush none\nfill 190,190,190\n"
            "pen 255,0,0\nM -6 0\nL 6 0\nM 0 -6\nL 0 6\n"
            "pen 0,0,255\nM 0 0\nL 10 -5\n"
            "M 8 -5\nL 10 -3\nL 12 -5\nL 10 -7\nL 8 -5\nM 10 -5\n"
            "pen none\nbrush 160,200,130\npoly 0,0 1,0 0,-1\nbrush none\n"
            "pen 255,0,0\n"
            "M 20 0\n"
            "M 17 0\nL 20 3\nL 23 0\nL 20 -3\nL 17 0\nM 20 0\nT 20 10 200\n"
            "L 20 -10\n"
            "M 17 -10\nL 20 -7\nL 23 -10\nL 20 -13\nL 17 -10\nM 20 -10\nT 20 0 800\n"
            "pen 255,255,0\nM 20 -10\nL 30 0\n"
            "M 27 0\nL 30 3\nL 33 0\nL 30 -3\nL 27 0\nM 30 0\nT 30 10 3200\n");
}

TEST_F(ViewModelTest, ShowFlagsChooseWhatIsDrawn) {
  doc.m_vertices = {{0, 0}, {100, 0}};
  doc.m_edges = {{0, 1}};
  doc.m_pavePoints = {{1, 0, 0}};
  doc.m_nShowFlags = kShowPolygons;
  // "&Edges" on a polygon-only document: polygons off, nothing but the cross.
  view.OnCommand(ID_VIEW_POLYGONS, doc);
  RecordingPainter polygons;
  view.Draw(doc, polygons, 10, 10);
  EXPECT_NE(polygons.out.str().find("poly"), std::string::npos);
  EXPECT_EQ(polygons.out.str().find("pen 0,0,255"), std::string::npos);
  view.OnCommand(ID_VIEW_EDGES, doc);
  RecordingPainter edges;
  view.Draw(doc, edges, 10, 10);
  EXPECT_EQ(edges.out.str().find("poly"), std::string::npos);
  EXPECT_NE(edges.out.str().find("pen 0,0,255"), std::string::npos);
}

TEST_F(ViewModelTest, DeparturePathWithoutArrivalAndLabelsOff) {
  doc.m_nShowFlags = kShowEdges;
  TaxiPoint a;
  a.kind = 4;
  a.x = 250;
  TaxiPoint b = a;
  b.x = 500;
  doc.m_taxiPoints = {a, b};
  view.OnCommand(ID_SHOW_POINT_DATA, doc);
  RecordingPainter p;
  view.Draw(doc, p, 10, 10);
  const std::string s = p.out.str();
  // The red pass draws nothing; the yellow one starts at its first point.
  EXPECT_NE(s.find("pen 255,0,0\npen 255,255,0\nM 10 0\nL 10 0\n"), std::string::npos);
  EXPECT_EQ(s.find("T "), std::string::npos);
}

TEST_F(ViewModelTest, PolygonWalkStopsAtZeroAndOverlongCounts) {
  const struct {
    std::vector<int32_t> counts;
    size_t polygons;
  } cases[] = {
      {{0, 3, 3}, 0},    {{1}, 1},     {{2, 2, 1}, 2},
      {{2, 2, 3, 3}, 1}, {{-5, 1}, 0}, {{2147483647, 1}, 0},
  };
  for (const auto& c : cases) {
    doc.m_pavePoints.clear();
    for (int32_t n : c.counts) doc.m_pavePoints.push_back({n, 1, 1});
    doc.m_nShowFlags = kShowPolygons;
    RecordingPainter p;
    view.Draw(doc, p, 10, 10);
    std::string s = p.out.str();
    size_t count = 0;
    for (size_t at = s.find("poly"); at != std::string::npos; at = s.find("poly", at + 1)) ++count;
    EXPECT_EQ(count, c.polygons);
  }
}

TEST_F(ViewModelTest, PathWithoutLandingPointAndDeletingItsStopPoint) {
  doc.m_vertices = {{0, 0}, {250, 0}};
  doc.m_edges = {{0, 1}};
  doc.m_nShowFlags = kShowEdges;
  doc.m_taxiPoints = {MakePoint(2, 0, 0, 250), MakePoint(2, 8, 250, 250, 1)};
  g_nStopCount = 1;
  RecordingPainter p;
  view.Draw(doc, p, 10, 10);
  // The red line starts at the first point, not at the last network vertex.
  EXPECT_NE(p.out.str().find("pen 255,0,0\nM 0 -10\nM -3 -10\n"), std::string::npos);

  EXPECT_EQ(view.OnCommand(ID_EDIT_DELETE_LAST_POINT, doc), ViewModel::Effect::kRedraw);
  EXPECT_EQ(doc.m_taxiPoints.size(), 1u);
  EXPECT_EQ(g_nStopCount, 0);  // the next stop point gets number 1 again
}

}  // namespace
}  // namespace corvane
