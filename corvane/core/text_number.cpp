#include "corvane/core/text_number.h"

#include <locale.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace corvane {
namespace {

locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

double TextToDouble(std::string_view text) {
  // strtod needs a terminated string; copying also keeps it from reading
  // past the token into whatever follows it in the caller's buffer.
  std::string copy(text);
  return strtod_l(copy.c_str(), nullptr, CLocale());
}

int32_t TextToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > limit) {
      value = limit;  // keep consuming digits, the result stays clamped
    }
  }
  return static_cast<int32_t>(negative ? -value : value);
}

bool ParseWholeDouble(std::string_view text, double& value) {
  std::string copy(text);
  const char* begin = copy.c_str();
  char* end = nullptr;
  double v = strtod_l(begin, &end, CLocale());
  if (end == begin) return false;
  while (*end != '\0' && IsSpace(*end)) ++end;
  if (*end != '\0' || !std::isfinite(v)) return false;
  value = v;
  return true;
}

int32_t TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

std::string Format(const char* format, ...) {
  locale_t previous = uselocale(CLocale());
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string out;
  if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
    out.assign(small, static_cast<size_t>(n));
  } else if (n >= 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), format, copy);
    out.resize(static_cast<size_t>(n));
  }
  va_end(copy);
  uselocale(previous);
  return out;
}

}  // namespace corvane
