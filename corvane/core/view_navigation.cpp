#include "corvane/core/view_navigation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvane {

namespace {

int32_t ClampFeet(double v) {
  return static_cast<int32_t>(std::clamp(std::round(v), -2.0e9, 2.0e9));
}

}  // namespace

int32_t NextZoomStep(int32_t zoom, int steps) {
  // Index of the first step not below zoom (coarser zooms sit at the end).
  auto it = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom);
  int index = static_cast<int>(it - kZoomSteps.begin());
  const bool onStep = it != kZoomSteps.end() && *it == zoom;
  if (steps > 0) {
    index -= steps;  // from between two steps, one step closer is the lower one
  } else if (steps < 0) {
    index += onStep ? -steps : -steps - 1;
  }
  index = std::clamp(index, 0, static_cast<int>(kZoomSteps.size()) - 1);
  return kZoomSteps[static_cast<size_t>(index)];
}

void ZoomAbout(CCorvaneDoc& doc, const ViewModel& view, int32_t mx, int32_t my, int steps) {
  const IntPoint fixed = view.ScreenToWorld(doc, mx, my);
  g_nZoom = NextZoomStep(g_nZoom, steps);
  const int64_t z = g_nZoom;
  doc.m_ptCentre.x = ClampFeet(fixed.x - (int64_t{mx} - view.m_cxClient / 2) * z);
  doc.m_ptCentre.z = ClampFeet(fixed.z - (int64_t{view.m_cyClient / 2} - my) * z);
}

void Pan(CCorvaneDoc& doc, int32_t dx, int32_t dy) {
  const int64_t z = g_nZoom;
  doc.m_ptCentre.x = ClampFeet(doc.m_ptCentre.x - dx * z);
  doc.m_ptCentre.z = ClampFeet(doc.m_ptCentre.z + dy * z);
}

void FitAll(CCorvaneDoc& doc, const ViewModel& view) {
  double minX = std::numeric_limits<double>::infinity();
  double minZ = minX;
  double maxX = -minX;
  double maxZ = -minX;
  auto add = [&](double x, double z) {
    if (!std::isfinite(x) || !std::isfinite(z)) return;
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minZ = std::min(minZ, z);
    maxZ = std::max(maxZ, z);
  };
  for (const NetVertex& v : doc.m_vertices) add(v.x, v.z);
  for (const PavePoint& p : doc.m_pavePoints) add(p.x, p.z);
  for (const TaxiPoint& p : doc.m_taxiPoints) add(p.x, p.z);
  if (minX > maxX) return;
  doc.m_ptCentre = IntPoint{ClampFeet((minX + maxX) / 2), ClampFeet((minZ + maxZ) / 2)};
  // A margin of a twentieth of the client area on every side.
  const double width = view.m_cxClient * 0.9;
  const double height = view.m_cyClient * 0.9;
  g_nZoom = kZoomSteps.back();
  for (int32_t step : kZoomSteps) {
    if ((maxX - minX) / step <= width && (maxZ - minZ) / step <= height) {
      g_nZoom = step;
      break;
    }
  }
}

}  // namespace corvane
