// The exclusion list: loading, and the area and box searches.
#include "ostrand/text/exclusion_list.h"

#include <cstring>

#include "ostrand/frame/ascii_text.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/format_scan.h"
#include "ostrand/frame/int32_range.h"
#include "ostrand/frame/report.h"

namespace ostrand {
namespace {

constexpr double kSecondsPerCircle = 1296000.0;
constexpr double kSecondsPerHalfCircle = 648000.0;

// The first n characters of a and b are equal without regard to ASCII case
// (or both end together before), as FindNoCase compares them.
bool EqualNoCase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const unsigned char ca = static_cast<unsigned char>(a[i]);
    const unsigned char cb = static_cast<unsigned char>(b[i]);
    if (LowerAscii(ca) != LowerAscii(cb)) return false;
    if (ca == '\0') return true;
  }
  return true;
}

}  // namespace

ExclusionList::ExclusionList() {
  if (list_.Create(kExclusionListCapacity) == 0)
    FatalError("ExclusionList() no memory 0 %d", kExclusionListCapacity);
}

int32_t ExclusionList::Load(const char* name) {
  list_.Reset();
  const int32_t count = list_.Load(name);
  ConvertRules();
  return count;
}

void ExclusionList::ConvertRules() {
  areas_.clear();
  boxes_.clear();
  int32_t index = -1;
  for (const char* text = FirstWithPrefix(list_, "ARE ", &index); text != nullptr;
       text = NextWithPrefix(&index)) {
    long number = 0;
    if (ScanText(text, "%ld", {&number}) != 1) continue;
    const char* quote = std::strchr(text, '"');
    areas_.push_back({ClampToInt32(number), quote == nullptr ? std::string() : std::string(quote + 1)});
  }
  for (const char* text = FirstWithPrefix(list_, "XCL ", &index); text != nullptr;
       text = NextWithPrefix(&index)) {
    BoxRule box;
    box.index = index;
    if (ScanText(text, "%ld %lf %lf %lf %lf %x",
                 {&box.limit, &box.minLatitude, &box.minLongitude, &box.maxLatitude,
                  &box.maxLongitude, &box.flags}) == 6)
      boxes_.push_back(box);
  }
}

int32_t ExclusionList::FindArea(const std::string& directory) const {
  const bool absolute = !directory.empty() &&
                        (directory[0] == '\\' || directory[0] == '/' ||
                         (directory.size() > 1 && directory[1] == ':'));
  int32_t result = kNoArea;
  size_t best = 0;
  for (const AreaRule& rule : areas_) {
    if (absolute) {
      // The path without its closing quote; the longest one found wins.
      if (rule.path.size() < 2) continue;
      const size_t n = rule.path.size() - 1;
      if (n > best && FindNoCase(directory.c_str(), rule.path.c_str(), static_cast<long>(n)) != nullptr) {
        result = rule.number;
        best = n;
      }
    } else if (EqualNoCase(rule.path.c_str(), directory.c_str(), directory.size())) {
      return rule.number;
    }
  }
  return result;
}

int32_t ExclusionList::IsExcluded(int32_t area, double latitude, double longitude) const {
  if (longitude < -kSecondsPerHalfCircle)
    longitude += kSecondsPerCircle;
  else if (longitude > kSecondsPerHalfCircle)
    longitude -= kSecondsPerCircle;
  for (const BoxRule& box : boxes_) {
    if (!(area < box.limit) || (box.flags & 1u) == 0) continue;
    if (box.minLatitude <= latitude && latitude <= box.maxLatitude && box.minLongitude <= longitude &&
        longitude <= box.maxLongitude)
      return box.index;
  }
  return -1;
}

}  // namespace ostrand
