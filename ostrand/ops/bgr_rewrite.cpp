// In-place rewrite frame and the double point table.
#include "ostrand/ops/bgr_rewrite.h"

#include <new>
#include <string>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/report.h"
#include "ostrand/surface/texpoints.h"

namespace ostrand {

int insert_double_points(DoublePoint* table, int32_t& count, double x, double y, double z,
                         int32_t capacity) {
  if (table == nullptr || count < 0 || count >= capacity) FatalError("insert_double_points failed");
  table[count] = DoublePoint{x, y, z};
  ++count;
  return 1;
}

int32_t WholeFeet(double v) { return TruncateToInt32(v); }

int InPlaceRewrite::OpenSource(BgrFile& file, const char* name) {
  if (file.OpenRead(name != nullptr ? name : "")) return 1;
  file.Close();  // a file that opened but is no network is not read
  ReportError("%s source file '%s' not found", op_, name != nullptr ? name : "");
  return 0;
}

int InPlaceRewrite::OpenTemp(const char* target) {
  target_ = target != nullptr ? target : "";
  if (temp_.OpenWrite(target_)) return 1;
  ReportError("%s temp file '%s' not found", op_, target_.c_str());
  return 0;
}

int InPlaceRewrite::CheckWhole(const BgrFile& source, const char* name) {
  if (!source.Damaged()) return 1;
  ReportError("%s damaged record in '%s'", op_, name != nullptr ? name : "");
  return 0;
}

int InPlaceRewrite::ReadOriginOf(BgrFile& source, const char* name, double& lat, double& lon,
                                 double& elev) {
  if (source.ReadOrigin(lat, lon, elev)) return 1;
  ReportError("%s no origin record in '%s'", op_, name != nullptr ? name : "");
  return 0;
}

int InPlaceRewrite::CopyOrigin(BgrFile& source, const char* name) {
  double lat = 0.0, lon = 0.0, elev = 0.0;
  if (!ReadOriginOf(source, name, lat, lon, elev)) return 0;
  temp_.WriteOrigin(lat, lon, elev);
  return 1;
}

int InPlaceRewrite::SkipOrigin(BgrFile& source, const char* name) {
  double lat = 0.0, lon = 0.0, elev = 0.0;
  return ReadOriginOf(source, name, lat, lon, elev);
}

int InPlaceRewrite::Finish(int result) {
  if (!result) {
    temp_.Discard();
    return 0;
  }
  // A new network that was not written in full never replaces the target.
  if (temp_.Close()) return 1;
  ReportError("%s temp file '%s' not written", op_, target_.c_str());
  return 0;
}

void InPlaceRewrite::Abandon() { temp_.Discard(); }

bool DoublePointTable::Allocate(int32_t newCapacity) {
  points_.reset(new (std::nothrow) DoublePoint[static_cast<size_t>(newCapacity)]);
  count = 0;
  capacity = points_ != nullptr ? newCapacity : 0;
  return points_ != nullptr;
}

void DoublePointTable::Add(double x, double y, double z, InPlaceRewrite* rewrite) {
  if (count >= capacity && rewrite != nullptr) rewrite->Abandon();
  insert_double_points(points_.get(), count, x, y, z, capacity);
}

}  // namespace ostrand
