#include "corvane/core/view_model.h"

#include <gtest/gtest.h>

#include <sstream>

#include "corvane/core/command_table.h"
#include "corvane/core/commands.h"
#include "corvane/core/test_support.h"

namespace corvane {
namespace {

// Writes every drawing call as one line of text.
class RecordingPainter : public Painter {
 public:
  std::ostringstream out;
  void FillBackground(Rgb c) override { out << "fill " << Colour(c) << "\n"; }
  void SetPen(std::optional<Rgb> c) override { out << "pen " << Colour(c) << "\n"; }
  void SetBrush(std::optional<Rgb> c) override { out << "brush " << Colour(c) << "\n"; }
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
  static std::string Colour(std::optional<Rgb> c) {
    if (!c) return "none";
    return std::to_string(c->r) + "," + std::to_string(c->g) + "," + std::to_string(c->b);
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

TEST_F(ViewModelTest, ScreenAndWorldCoordinates) {
  std::istringstream rows(SourceFile("corvane/core/testdata/coordinates.txt"));
  for (std::string line; std::getline(rows, line);) {
    std::istringstream in(line);
    std::vector<double> v;
    std::string kind;
    in >> kind;
    if (kind != "w" && kind != "s") continue;
    for (std::string t; in >> t;) v.push_back(std::stod(t));
    auto n = [&](size_t k) { return static_cast<int32_t>(v.at(k)); };
    if (kind == "w") {
      g_nZoom = n(0);
      doc.m_ptCentre = {n(1), n(2)};
      ScreenPoint p = ViewModel::ToPixel(ViewModel::WorldToScreen(doc, v[3], v[4]));
      EXPECT_TRUE(p.x == n(5) && p.y == n(6)) << line;
    } else if (kind == "s") {
      g_nZoom = n(0);
      view.SetClientSize(n(1), n(2));
      doc.m_ptCentre = {n(3), n(4)};
      IntPoint w = view.ScreenToWorld(doc, n(5), n(6));
      EXPECT_TRUE(w.x == n(7) && w.z == n(8)) << line;
    }
  }
  // Every pixel maps to a point that maps back to it.
  view.SetClientSize(1024, 768);
  for (int32_t zoom : {1, 5, 25}) {
    g_nZoom = zoom;
    doc.m_ptCentre = {-1234, 5678};
    for (int32_t mx = 0; mx < 1024; mx += 37) {
      for (int32_t my = 0; my < 768; my += 41) {
        IntPoint w = view.ScreenToWorld(doc, mx, my);
        ScreenPoint s = ViewModel::ToPixel(ViewModel::WorldToScreen(doc, w.x, w.z));
        ASSERT_TRUE(s.x + 512 == mx && s.y + 384 == my) << zoom << " " << mx << " " << my;
      }
    }
  }
}

TEST_F(ViewModelTest, Sessions) {
  ExpectCases("corvane/core/testdata/view_sessions.txt", [&](const TextCase& c) {
    SetUp();
    CCorvaneDoc d;
    ViewModel v;
    v.SetClientSize(800, 600);
    std::istringstream steps(c.input);
    std::string out;
    for (std::string line; std::getline(steps, line);) {
      std::istringstream in(line);
      std::string what;
      int32_t x = 0, y = 0;
      in >> what >> x >> y;
      out += line + ":";
      if (what == "click") out += v.OnLeftClick(d, x, y) ? " added" : " ignored";
      if (what == "move") v.OnMouseMove(d, x, y);
      if (what == "move") out += " " + ViewModel::MouseXText(d) + " " + ViewModel::MouseZText(d);
      if (what == "double") v.OnDoubleClick(d);
      if (what == "double") out += " centre " + std::to_string(d.m_ptCentre.x) + " |";
      for (const CommandRow& row : Commands()) {
        if (what == "disabled" && !ViewModel::Enabled(row.id)) out += std::string(" ") + row.text;
        if (what == "cmd" && line.substr(4) == row.text) {
          out += " " + std::to_string(static_cast<int>(v.OnCommand(row.id, d))) + " |";
        }
      }
      for (const CommandRow& row : Commands()) {
        if ((what == "cmd" || what == "double") && v.Checked(row.id, d).value_or(false)) {
          out += std::string(" ") + row.text;
        }
      }
      out += "\n";
    }
    return out + Dump(d) + "last stop " + std::to_string(g_nStopCount) + "\n";
  });
}

// Every drawing pass, written as text.
TEST_F(ViewModelTest, Drawings) {
  const std::string common =
      "pen none\nbrush none\nfill 190,190,190\npen 255,0,0\nM -6 0\nL 6 0\nM 0 -6\nL 0 6\n";
  std::string all;
  auto draw = [&](const char* name, CCorvaneDoc& d, int32_t w, int32_t h) {
    RecordingPainter p;
    view.Draw(d, p, w, h);
    // After the first drawing, the background and the cross go without saying.
    std::string text = p.out.str();
    if (!all.empty() && text.starts_with(common))
      text = "(background, cross)\n" + text.substr(common.size());
    all += std::string("== ") + name + " (client " + std::to_string(view.m_cxClient) + ")\n" + text;
  };
  draw("empty document: background only", doc, 100, 80);

  g_nZoom = 10;
  doc.m_vertices = {{0, 0}, {100, 50}};
  doc.m_edges = {{0, 1}, {1, 7}, {-1, 0}};
  doc.m_pavePoints = {{3, 0, 0}, {3, 10, 0}, {3, 0, 10}, {4, 1, 1}};  // last one incomplete
  doc.m_nShowFlags = kShowEdges | kShowEdgesRead | kShowPolygons;
  doc.m_taxiPoints = {MakePoint(2, 2, 200, 0), MakePoint(2, 8, 200, 100), MakePoint(4, 32, 300, 0)};
  draw("all passes", doc, 640, 480);
  doc.m_taxiPoints.clear();
  view.OnCommand(ID_VIEW_POLYGONS, doc);
  draw("polygons only", doc, 10, 10);
  view.OnCommand(ID_VIEW_EDGES, doc);
  draw("edges only", doc, 10, 10);

  // The red pass draws nothing; the yellow one starts at its first point.
  view.OnCommand(ID_SHOW_POINT_DATA, doc);
  doc.m_taxiPoints = {MakePoint(4, 0, 250, 0), MakePoint(4, 0, 500, 0)};
  draw("departure only, labels off", doc, 10, 10);
  view.OnCommand(ID_SHOW_POINT_DATA, doc);
  // The red line starts at the first point, not at the last network vertex.
  doc.m_taxiPoints = {MakePoint(2, 0, 0, 250), MakePoint(2, 8, 250, 250, 1)};
  draw("path without landing point", doc, 10, 10);

  // The polygon walk stops at a count of 0 or less and at one running past the end.
  doc.m_taxiPoints.clear();
  doc.m_nShowFlags = kShowPolygons;
  for (std::vector<int32_t> counts : std::vector<std::vector<int32_t>>{
           {0, 3, 3}, {1}, {2, 2, 1}, {2, 2, 3, 3}, {-5, 1}, {2147483647, 1}}) {
    doc.m_pavePoints.clear();
    std::string name = "counts";
    for (int32_t n : counts) {
      doc.m_pavePoints.push_back({n, 100, 100});
      name += " " + std::to_string(n);
    }
    draw(name.c_str(), doc, 10, 10);
  }
  ExpectFileText(all, "corvane/core/testdata/drawings.txt");
}

}  // namespace
}  // namespace corvane
