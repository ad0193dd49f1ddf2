#include "corvane/core/taxi_path.h"

#include <cmath>

#include "corvane/core/text_number.h"

namespace corvane {

double Bearing(const TaxiPoint& p, const TaxiPoint& q) { return std::atan2(q.x - p.x, q.z - p.z); }

double TurnAngle(const TaxiPoint& p0, const TaxiPoint& p1, const TaxiPoint& p2) {
  double turn = Bearing(p1, p2) - Bearing(p0, p1);
  if (turn < -kPi) {
    turn += kTwoPi;
  } else if (turn > kPi) {
    turn -= kTwoPi;
  }
  return turn;
}

namespace {

// Inserted points carry only a position and a leg.
TaxiPoint PlainPoint(double x, double z, uint8_t kind) {
  TaxiPoint t;
  t.kind = kind;
  t.x = x;
  t.z = z;
  return t;
}

}  // namespace

TaxiPoint PointTowards(const TaxiPoint& p, const TaxiPoint& q, double f) {
  double d = 0.5 * std::sqrt((q.x - p.x) * (q.x - p.x) + (q.z - p.z) * (q.z - p.z));
  double h = Bearing(p, q);
  return PlainPoint(p.x + std::sin(h) * d * f, p.z + std::cos(h) * d * f, p.kind);
}

TaxiPoint TurnAroundPoint(const TaxiPoint& p, const TaxiPoint& q, int n) {
  double h = Bearing(p, q) - kPi / n;
  return PlainPoint(q.x + std::sin(h) * 10.0, q.z + std::cos(h) * 10.0, q.kind);
}

LatLon ToLatLon(const TaxiPoint& point, double orgLat, double orgLon) {
  LatLon r;
  r.lat = 0.0098749 * point.z + orgLat;
  double d = r.lat / 3600.0;
  double g = std::trunc(d);
  double a = g + (d - g) * 0.6;
  r.lon = 0.0098749 * point.x / std::cos(a * 0.017453292519943295) + orgLon;
  return r;
}

size_t CountStopPoints(const std::vector<TaxiPoint>& path) {
  size_t stops = 0;
  for (const TaxiPoint& p : path) stops += p.type == kTypeStop ? 1 : 0;
  return stops;
}

bool HasPivot(const std::vector<TaxiPoint>& path) {
  for (const TaxiPoint& p : path) {
    if (p.pivot == 1) return true;
  }
  return false;
}

std::vector<TaxiPoint> BuildSubPath(const std::vector<TaxiPoint>& path, size_t s, bool hasPivot) {
  std::vector<TaxiPoint> sub;
  sub.reserve(path.size() + 4);
  for (size_t j = 0; j < path.size(); ++j) {
    const TaxiPoint& p = path[j];
    if (p.type != kTypeStop) {
      sub.push_back(p);
      continue;
    }
    if (static_cast<int64_t>(p.stopNo) != static_cast<int64_t>(s) + 1) continue;
    sub.push_back(p);
    TaxiPoint copy = p;
    copy.kind = kKindDeparture;
    sub.push_back(copy);
    if (hasPivot && j >= s + 1) {
      TaxiPoint before = path[j - 1 - s];
      before.kind = kKindDeparture;
      sub.push_back(before);
    }
  }
  return sub;
}

void SoftenSubPath(std::vector<TaxiPoint>& path, bool softAngles, double softAngle, bool hasPivot) {
  const double threshold = softAngles ? softAngle * kPi / 180.0 : kPi;
  size_t i = 1;
  while (i + 1 < path.size()) {
    const double turn = TurnAngle(path[i - 1], path[i], path[i + 1]);
    if (path[i].type == kTypeStop) {
      // The departure copy turns round behind the stop point; it needs the
      // two points before it, so a copy standing second is left alone.
      if (path[i].kind == kKindDeparture && hasPivot && i >= 2) {
        TaxiPoint a = TurnAroundPoint(path[i - 2], path[i - 1], 4);
        TaxiPoint b = TurnAroundPoint(path[i - 2], path[i - 1], 2);
        a.kind = kKindDeparture;
        b.kind = kKindDeparture;
        path.insert(path.begin() + static_cast<std::ptrdiff_t>(i) + 1, {a, b});
        i += 3;
      } else {
        i += 1;
      }
    } else if (turn < -threshold || turn > threshold) {
      TaxiPoint a = PointTowards(path[i], path[i - 1], 0.05);
      TaxiPoint b = PointTowards(path[i], path[i + 1], 0.05);
      a.kind = path[i].kind;
      b.kind = path[i].kind;
      path[i] = a;
      path.insert(path.begin() + static_cast<std::ptrdiff_t>(i) + 1, b);
      i += 4;
    } else {
      i += 1;
    }
  }
}

std::string TaxiPathFileText(const CCorvaneDoc& doc) {
  const bool hasPivot = HasPivot(doc.m_taxiPoints);
  const size_t stops = CountStopPoints(doc.m_taxiPoints);

  const bool light = doc.m_nAIType == 1;
  const char* name = doc.m_szName.c_str();
  std::string text;
  // One sub-path at a time, so memory stays proportional to the path.
  for (size_t s = 0; s < stops; ++s) {
    std::vector<TaxiPoint> sub = BuildSubPath(doc.m_taxiPoints, s, hasPivot);
    SoftenSubPath(sub, doc.m_bSoftAngles != 0, doc.m_dSoftAngle, hasPivot);
    const int number = static_cast<int>(s);
    for (const TaxiPoint& p : sub) {
      const LatLon ll = ToLatLon(p, doc.m_dOrgLat, doc.m_dOrgLon);
      if (p.kind == kKindArrival) {
        if (p.type == kTypeLanding) {
          text += Format("%-4.4s,%c,nn%02d,%010.2f,%010.2f", name, light ? 'a' : 'A', number,
                         ll.lat, ll.lon);
        } else if (p.type == kTypeStop) {
          text += Format(",01,00,%010.2f,%010.2f\n", ll.lat, ll.lon);
        } else {
          text += Format(",00,%02d,%010.2f,%010.2f", 0, ll.lat, ll.lon);
        }
      } else if (p.kind == kKindDeparture) {
        if (p.type == kTypeStop) {
          text += Format("%-4.4s,%c,nn%02d,%010.2f,%010.2f", name, light ? 'd' : 'D', number,
                         ll.lat, ll.lon);
        } else if (p.type == kTypeAcceleration) {
          text += Format(",22,00,%010.2f,%010.2f", ll.lat, ll.lon);
        } else if (p.type == kTypeTakeOff) {
          text += Format(",30,00,%010.2f,%010.2f\n", ll.lat, ll.lon);
        } else {
          text += Format(",00,%02d,%010.2f,%010.2f", 0, ll.lat, ll.lon);
        }
      }
    }
  }
  return text;
}

WriteResult WriteTaxiPathFile(const CCorvaneDoc& doc, const std::string& path,
                              const TextSaver& save) {
  return save(path, TaxiPathFileText(doc)) ? WriteResult::kWritten : WriteResult::kCannotCreate;
}

}  // namespace corvane
