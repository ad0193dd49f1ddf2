#include "corvane/core/view_model.h"

#include <algorithm>
#include <cmath>

#include "corvane/core/command_table.h"
#include "corvane/core/text_number.h"

namespace corvane {

int32_t g_nZoom = 25;

namespace {

// Pixels beyond this distance from the centre are far off any page; keeping
// them there spares the painters coordinates they cannot represent.
constexpr int32_t kPixelLimit = 8000000;

int32_t Pixel(double v) { return std::clamp(TruncToInt(v), -kPixelLimit, kPixelLimit); }

int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

ScreenOffset ViewModel::WorldToScreen(const CCorvaneDoc& doc, double wx, double wz) {
  const double zoom = g_nZoom > 0 ? g_nZoom : 1;
  return ScreenOffset{(wx - doc.m_ptCentre.x) / zoom, -(wz - doc.m_ptCentre.z) / zoom};
}

ScreenPoint ViewModel::ToPixel(ScreenOffset offset) {
  return ScreenPoint{Pixel(offset.x), Pixel(offset.y)};
}

IntPoint ViewModel::ScreenToWorld(const CCorvaneDoc& doc, int32_t mx, int32_t my) const {
  const int64_t zoom = g_nZoom;
  return IntPoint{ClampToInt32((int64_t{mx} - m_cxClient / 2) * zoom + doc.m_ptCentre.x),
                  ClampToInt32((int64_t{m_cyClient / 2} - my) * zoom + doc.m_ptCentre.z)};
}

void ViewModel::SetClientSize(int32_t width, int32_t height) {
  m_cxClient = width;
  m_cyClient = height;
}

ViewModel::Effect ViewModel::OnCommand(int id, CCorvaneDoc& doc) {
  const CommandRow* row = FindCommand(id);
  return row != nullptr && row->run != nullptr ? row->run(*this, doc) : Effect::kNotHandled;
}

std::optional<bool> ViewModel::Checked(int id, const CCorvaneDoc& doc) const {
  const CommandRow* row = FindCommand(id);
  if (row == nullptr || row->checked == nullptr) return std::nullopt;
  return row->checked(*this, doc);
}

bool ViewModel::Enabled(int id) {
  const CommandRow* row = FindCommand(id);
  return row == nullptr || row->enable != EnableRule::kNever;
}

void ViewModel::OnMouseMove(CCorvaneDoc& doc, int32_t mx, int32_t my) const {
  doc.m_ptMouse = ScreenToWorld(doc, mx, my);
}

TaxiPoint ViewModel::NewPoint(const CCorvaneDoc& doc, int32_t mx, int32_t my) const {
  TaxiPoint p;
  p.kind = m_nPathKind;
  p.type = m_nPointType;
  p.factory = m_bFactory != 0 ? 1 : 0;
  p.pivot = m_bPivot != 0 ? 1 : 0;
  const IntPoint w = ScreenToWorld(doc, mx, my);
  p.x = w.x;
  p.z = w.z;
  p.stopNo = p.type == kTypeStop ? (g_nStopCount < INT32_MAX ? g_nStopCount + 1 : INT32_MAX) : 0;
  return p;
}

bool ViewModel::OnLeftClick(CCorvaneDoc& doc, int32_t mx, int32_t my) {
  if (doc.m_bStopped == 1) return false;
  TaxiPoint p = NewPoint(doc, mx, my);
  if (p.type == kTypeStop) g_nStopCount = p.stopNo;
  doc.AddTaxiPoint(p);
  m_nPointType = 0;
  m_bPivot = 0;
  return true;
}

std::string ViewModel::MouseXText(const CCorvaneDoc& doc) { return Format("%d", doc.m_ptMouse.x); }
std::string ViewModel::MouseZText(const CCorvaneDoc& doc) { return Format("%d", doc.m_ptMouse.z); }

void EndMark(Painter& painter, double x, double y, int32_t h) {
  painter.MoveTo(Pixel(x - h), Pixel(y));
  painter.LineTo(Pixel(x), Pixel(y + h));
  painter.LineTo(Pixel(x + h), Pixel(y));
  painter.LineTo(Pixel(x), Pixel(y - h));
  painter.LineTo(Pixel(x - h), Pixel(y));
  painter.MoveTo(Pixel(x), Pixel(y));
}

void ViewModel::Label(Painter& painter, ScreenOffset s, const TaxiPoint& point) const {
  if ((m_nViewFlags & kShowPointData) == 0) return;
  painter.Text(Pixel(s.x), Pixel(s.y + 10),
               Format("%1d%1d%1d", point.type, point.factory, point.pivot));
}

void ViewModel::Draw(const CCorvaneDoc& doc, Painter& painter, int32_t width, int32_t height) {
  painter.SetPen(std::nullopt);
  painter.SetBrush(std::nullopt);
  painter.FillBackground(kBackground);
  if (doc.m_nShowFlags == 0) return;
  SetClientSize(width, height);

  painter.SetPen(kCross);
  painter.MoveTo(-6, 0);
  painter.LineTo(6, 0);
  painter.MoveTo(0, -6);
  painter.LineTo(0, 6);

  if (doc.m_nShowFlags & kShowEdges) {
    painter.SetPen(kEdge);
    const auto& v = doc.m_vertices;
    for (const NetEdge& e : doc.m_edges) {
      if (e.from < 0 || e.to < 0 || static_cast<size_t>(e.from) >= v.size() ||
          static_cast<size_t>(e.to) >= v.size())
        continue;  // an edge naming a vertex that is not there
      const ScreenOffset a = WorldToScreen(doc, v[e.from].x, v[e.from].z);
      const ScreenOffset b = WorldToScreen(doc, v[e.to].x, v[e.to].z);
      const ScreenPoint pa = ToPixel(a);
      const ScreenPoint pb = ToPixel(b);
      painter.MoveTo(pa.x, pa.y);
      painter.LineTo(pb.x, pb.y);
      EndMark(painter, b.x, b.y, 2);
    }
  }

  if ((doc.m_nShowFlags & kShowPolygons) && !doc.m_pavePoints.empty()) {
    painter.SetPen(std::nullopt);
    painter.SetBrush(kPolygon);
    const auto& pave = doc.m_pavePoints;
    std::vector<ScreenPoint> corners;
    size_t i = 0;
    while (i < pave.size()) {
      const int32_t n = pave[i].count;
      // Only complete polygons: a count of 0 (or less) or one that runs past
      // the list ends the walk.
      if (n <= 0 || static_cast<size_t>(n) > pave.size() - i) break;
      corners.clear();
      for (size_t k = i; k < i + static_cast<size_t>(n); ++k) {
        corners.push_back(ToPixel(WorldToScreen(doc, pave[k].x, pave[k].z)));
      }
      painter.Polygon(corners);
      i += static_cast<size_t>(n);
    }
    painter.SetBrush(std::nullopt);
  }

  if (!doc.m_taxiPoints.empty()) DrawTaxiPath(doc, painter);
}

void ViewModel::DrawTaxiPath(const CCorvaneDoc& doc, Painter& painter) const {
  const auto& path = doc.m_taxiPoints;
  painter.SetPen(kArrival);
  std::optional<ScreenOffset> pivot;
  std::optional<ScreenOffset> last;
  size_t i = 0;
  for (; i < path.size() && path[i].kind != kKindDeparture; ++i) {
    const TaxiPoint& p = path[i];
    const ScreenOffset s = WorldToScreen(doc, p.x, p.z);
    if (p.pivot == 1) pivot = s;
    const ScreenPoint px = ToPixel(s);
    if (p.type == kTypeLanding || i == 0) {
      // A path that does not begin with its landing point begins at its
      // first point, not where the network drawing left off.
      painter.MoveTo(px.x, px.y);
    } else {
      if (p.type == kTypeStop && pivot) {
        const ScreenPoint pv = ToPixel(*pivot);
        painter.MoveTo(pv.x, pv.y);
      }
      painter.LineTo(px.x, px.y);
    }
    EndMark(painter, s.x, s.y, 3);
    Label(painter, s, p);
    last = s;
  }
  if (!pivot) pivot = last;

  painter.SetPen(kDeparture);
  for (size_t k = i; k < path.size(); ++k) {
    const TaxiPoint& p = path[k];
    const ScreenOffset s = WorldToScreen(doc, p.x, p.z);
    const ScreenPoint px = ToPixel(s);
    if (k == i) {
      // Leave from the pivot (or the last arrival point); a path that starts
      // with its departure starts at its first point.
      const ScreenPoint from = pivot ? ToPixel(*pivot) : px;
      painter.MoveTo(from.x, from.y);
    }
    painter.LineTo(px.x, px.y);
    EndMark(painter, s.x, s.y, 3);
    Label(painter, s, p);
  }
}

}  // namespace corvane
