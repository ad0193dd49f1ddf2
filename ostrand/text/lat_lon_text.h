// Text form of geographic positions: seconds of arc (doubles, north and
// east positive) split into degrees, minutes, seconds and ten-thousandths,
// printed as "%ld %ld'%02ld.%04ld\"%c"; and the parsing of the scenery
// text's coordinate fields ("N47:27:8.5").
#pragma once

#include <cstdint>
#include <string>

namespace ostrand {

struct LatLonText {
  char hemisphere = 'N';
  int32_t degrees = 0;
  int32_t minutes = 0;
  int32_t seconds = 0;
  int32_t tenThousandths = 0;
};

LatLonText LatitudeText(double seconds);
// West longitudes are one ten-thousandth of a second short of 360 degrees
// minus the value (the tile computation relies on it).
LatLonText LongitudeText(double seconds);
std::string FormatLatLon(const LatLonText& parts);

// Hemisphere letter (upper-cased) then "%lf:%lf:%lf"; seconds of arc,
// negative for S and W; 0 for any other letter.
double ParseLatitude(const char* text);
double ParseLongitude(const char* text);

}  // namespace ostrand
