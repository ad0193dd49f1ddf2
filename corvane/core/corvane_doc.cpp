#include "corvane/core/corvane_doc.h"

#include <cmath>

#include "corvane/core/text_number.h"

namespace corvane {

int32_t g_nStopCount = 0;

void CCorvaneDoc::SetName(std::string_view name) { m_szName.assign(name.substr(0, kNameMax)); }

void CCorvaneDoc::RemoveLastTaxiPoint() {
  if (m_taxiPoints.empty()) return;
  const TaxiPoint& last = m_taxiPoints.back();
  if (last.type == kTypeStop && last.stopNo == g_nStopCount && g_nStopCount > 0) --g_nStopCount;
  m_taxiPoints.pop_back();
}

void CCorvaneDoc::OnNewDocument() {
  m_vertices.clear();
  m_edges.clear();
  m_pavePoints.clear();
  m_taxiPoints.clear();
  m_nShowFlags = 0;
  m_ptCentre = IntPoint{};
  m_bStopped = 1;
  m_dOrgLat = 0.0;
  m_dOrgLon = 0.0;
  m_nAIType = 0;
  m_dSoftAngle = 0.0;
  m_bSoftAngles = 0;
  g_nStopCount = 0;
}

void CCorvaneDoc::SnapFactoryPoints() {
  for (TaxiPoint& point : m_taxiPoints) {
    if (point.factory != 1) continue;
    for (const NetVertex& v : m_vertices) {
      if (std::fabs(v.x - point.x) <= 75.0 && std::fabs(v.z - point.z) <= 75.0) {
        point.x = v.x;
        point.z = v.z;
      }
    }
  }
}

std::string CCorvaneDoc::ProjectFileText() const {
  std::string text = "<vloc> (0) 0.0 0.0 0.0\n\n";
  text += Format("ICAO %s\n", m_szName.c_str());
  text += Format("ORGN %.5f %.5f\n", m_dOrgLat, m_dOrgLon);
  for (const TaxiPoint& p : m_taxiPoints) {
    text += Format("# %02d %02d %02d %02d %013.5f %013.5f %d\n", p.kind, p.type, p.factory, p.pivot,
                   p.x, p.z, p.stopNo);
  }
  return text;
}

WriteResult CCorvaneDoc::WriteProjectFile(const std::string& path, const TextSaver& save) const {
  if (m_taxiPoints.empty()) return WriteResult::kNothingToWrite;
  return save(path, ProjectFileText()) ? WriteResult::kWritten : WriteResult::kCannotCreate;
}

}  // namespace corvane
