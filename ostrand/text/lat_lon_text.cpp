// Coordinate text: seconds of arc split into degrees, minutes, seconds and
// ten-thousandths for printing, and the hemisphere-letter coordinate fields
// of scenery text files.
#include "ostrand/text/lat_lon_text.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace ostrand {
namespace {

constexpr int64_t kPerDegree = 36000000;  // ten-thousandths of a second
constexpr int64_t kPerMinute = 600000;
constexpr int64_t kPerSecond = 10000;
constexpr double kFullCircle = 12960000000.0;
constexpr double kHalfCircle = 6480000000.0;
constexpr double kWestBase = 12959999999.0;

// Largest magnitude kept, in ten-thousandths: two billion degrees, so that
// every part of the split fits its 32-bit field.
constexpr double kLimit = 2000000000.0 * 36000000.0;

// Seconds of arc to ten-thousandths of a second. A value that is not a
// number or infinite counts as 0; magnitudes beyond kLimit are clamped.
double TenThousandths(double seconds) {
  if (!std::isfinite(seconds)) return 0.0;
  double v = seconds * 10000.0;
  if (v > kLimit) return kLimit;
  if (v < -kLimit) return -kLimit;
  return v;
}

// Splits a value in ten-thousandths of a second (|v| <= kLimit), each
// quotient truncated toward zero.
LatLonText Split(char hemisphere, double value) {
  int64_t v = static_cast<int64_t>(value);  // toward zero
  LatLonText t;
  t.hemisphere = hemisphere;
  const int64_t degrees = v / kPerDegree;
  v -= degrees * kPerDegree;
  const int64_t minutes = v / kPerMinute;
  v -= minutes * kPerMinute;
  const int64_t seconds = v / kPerSecond;
  v -= seconds * kPerSecond;
  t.degrees = static_cast<int32_t>(degrees);
  t.minutes = static_cast<int32_t>(minutes);
  t.seconds = static_cast<int32_t>(seconds);
  t.tenThousandths = static_cast<int32_t>(v);
  return t;
}

// Hemisphere letter (upper-cased) then "%lf:%lf:%lf", missing parts 0.
double ParseCoordinate(const char* text, char positive, char negative) {
  if (text == nullptr || text[0] == '\0') return 0.0;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (letter != positive && letter != negative) return 0.0;
  double degrees = 0.0;
  double minutes = 0.0;
  double seconds = 0.0;
  std::sscanf(text + 1, "%lf:%lf:%lf", &degrees, &minutes, &seconds);
  double value = degrees * 3600.0 + minutes * 60.0 + seconds;
  // "nan" and "inf" are numbers to sscanf; they are no position.
  if (!std::isfinite(value)) return 0.0;
  return letter == negative ? -value : value;
}

}  // namespace

LatLonText LatitudeText(double seconds) {
  double v = TenThousandths(seconds);
  char hemisphere = 'N';
  if (v < 0) {
    hemisphere = 'S';
    v = -v;
  }
  return Split(hemisphere, v);
}

LatLonText LongitudeText(double seconds) {
  double v = TenThousandths(seconds);
  if (v < 0) v += kFullCircle;
  char hemisphere = 'E';
  // The comparison is made before any truncation, so a value a fraction
  // above 180 degrees is already west.
  if (v > kHalfCircle) {
    hemisphere = 'W';
    v = kWestBase - v;
  }
  return Split(hemisphere, v);
}

std::string FormatLatLon(const LatLonText& parts) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%ld %ld'%02ld.%04ld\"%c", static_cast<long>(parts.degrees),
                static_cast<long>(parts.minutes), static_cast<long>(parts.seconds),
                static_cast<long>(parts.tenThousandths), parts.hemisphere);
  return buffer;
}

double ParseLatitude(const char* text) { return ParseCoordinate(text, 'N', 'S'); }

double ParseLongitude(const char* text) { return ParseCoordinate(text, 'E', 'W'); }

}  // namespace ostrand
