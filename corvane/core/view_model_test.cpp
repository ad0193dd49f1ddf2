#include "corvane/core/view_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "corvane/core/command_table.h"
#include "corvane/core/commands.h"
#include "corvane/core/listing_reader.h"
#include "corvane/core/test_support.h"
#include "corvane/core/view_navigation.h"

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
    return c ? std::to_string(c->r) + "," + std::to_string(c->g) + "," + std::to_string(c->b)
             : "none";
  }
};

// A drawing as text; past the first of a script, the background and the
// cross go without saying.
std::string Drawing(const CCorvaneDoc& doc, ViewModel& view, int32_t width, int32_t height,
                    bool first) {
  static const std::string common =
      "pen none\nbrush none\nfill 190,190,190\npen 255,0,0\nM -6 0\nL 6 0\nM 0 -6\nL 0 6\n";
  RecordingPainter p;
  view.Draw(doc, p, width, height);
  std::string text = p.out.str();
  if (!first && text.starts_with(common))
    text = "(background, cross)\n" + text.substr(common.size());
  return "client " + std::to_string(view.m_cxClient) + "\n" + text;
}

class ViewModelTest : public ::testing::Test {
 protected:
  void SetUp() override { g_nZoom = 25, g_nStopCount = 0; }
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
    for (int32_t i = 0; i < 28 * 19; ++i) {
      const int32_t mx = i % 28 * 37, my = i / 28 * 41;
      IntPoint w = view.ScreenToWorld(doc, mx, my);
      ScreenPoint s = ViewModel::ToPixel(ViewModel::WorldToScreen(doc, w.x, w.z));
      ASSERT_TRUE(s.x + 512 == mx && s.y + 384 == my) << zoom << " " << mx << " " << my;
    }
  }
}

TEST_F(ViewModelTest, Scripts) {
  ExpectCases("corvane/core/testdata/view_scripts.txt", [&](const TextCase& c) {
    SetUp();
    CCorvaneDoc d;
    ViewModel v;
    v.SetClientSize(800, 600);
    std::istringstream steps(c.input);
    std::string out;
    for (std::string line; std::getline(steps, line);) {
      std::string what;
      int32_t x = 0, y = 0, clicks = 0;
      std::istringstream(line) >> what >> x >> y >> clicks;
      out += line + ":";
      if (what == "size") v.SetClientSize(x, y);
      if (what == "centre") d.m_ptCentre = {x, y};
      if (what == "fit") FitAll(d, v);
      const IntPoint under = v.ScreenToWorld(d, x, y);
      if (what == "wheel") ZoomAbout(d, v, x, y, clicks);
      const IntPoint after = v.ScreenToWorld(d, x, y);
      if (what == "wheel" || what == "fit")
        out += " zoom " + std::to_string(g_nZoom) + " centre " + std::to_string(d.m_ptCentre.x) +
               " " + std::to_string(d.m_ptCentre.z) +
               (after.x == under.x && after.z == under.z ? "" : " (the point moved)");
      if (what == "click") out += v.OnLeftClick(d, x, y) ? " added" : " ignored";
      if (what == "move") v.OnMouseMove(d, x, y);
      if (what == "move") out += " " + ViewModel::MouseXText(d) + " " + ViewModel::MouseZText(d);
      if (what == "double") v.OnDoubleClick(d);
      if (what == "zoom") g_nZoom = x;
      if (what == "flags") d.m_nShowFlags = static_cast<uint8_t>(x);
      std::string text = line.substr(std::min<size_t>(4, line.size()));
      std::replace(text.begin(), text.end(), '|', '\n');
      if (what == "doc") ReadDocument(d, text);
      if (what == "clear") d.m_taxiPoints.clear();
      if (what == "pave") d.m_pavePoints.clear();
      std::istringstream counts(text);
      for (int32_t n = 0; what == "pave" && counts >> n;) d.m_pavePoints.push_back({n, 100, 100});
      if (what == "draw") out += "\n" + Drawing(d, v, x, y, out.find("L 0 6") == std::string::npos);
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

}  // namespace
}  // namespace corvane
