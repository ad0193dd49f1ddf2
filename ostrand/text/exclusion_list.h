// The exclusion list "excllist.txt" of the scenery text interpreter: the
// scenery areas, numbered by the directories they lie in, and the boxes
// whose objects are skipped for the sources of lower-numbered areas.
//
// Lines (other lines ignored):
//
//   ARE <number> "<scenery directory>"
//   XCL <area limit> <min lat> <min lon> <max lat> <max lon> <flags hex>
//
// (positions in seconds of arc; flag bit 1 marks a box whose objects are
// skipped for sources whose area number is below the area limit).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ostrand/text/string_list.h"

namespace ostrand {

inline constexpr const char* kExclusionListName = "excllist.txt";
inline constexpr int32_t kExclusionListCapacity = 262144;
inline constexpr int32_t kNoArea = -2;

class ExclusionList {
 public:
  // An empty list of capacity 262144 bytes (a fatal error without memory).
  ExclusionList();

  // Empties the list and loads the file into it; the number of lines, or -1
  // when the file does not open (the list stays empty).
  int32_t Load(const char* name = kExclusionListName);

  // The area number of a source directory ("ARE " lines): for an absolute
  // directory (beginning with a backslash or slash, or with ':' as its
  // second character) the longest "ARE " path found in it, the first of
  // equally long ones; for a relative one the first "ARE " path that begins
  // with it. kNoArea when none matches.
  int32_t FindArea(const std::string& directory) const;

  // The index in the list of the first "XCL " line whose box holds the
  // position and applies to the area, or -1.
  int32_t IsExcluded(int32_t area, double latitude, double longitude) const;

 private:
  // The "ARE " and "XCL " lines, converted once per load, in list order.
  struct AreaRule {
    int32_t number = 0;
    std::string path;  // the text after the first double quote
  };
  struct BoxRule {
    int32_t index = 0;  // line in the list
    long limit = 0;
    double minLatitude = 0.0;
    double minLongitude = 0.0;
    double maxLatitude = 0.0;
    double maxLongitude = 0.0;
    unsigned flags = 0;
  };
  void ConvertRules();

  STRING_LIST list_;
  std::vector<AreaRule> areas_;
  std::vector<BoxRule> boxes_;
};

}  // namespace ostrand
