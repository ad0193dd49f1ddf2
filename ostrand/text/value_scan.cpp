// Whitespace-separated numbers with the formatted-input rules of the C
// library and saturating integers.
#include "ostrand/text/value_scan.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace ostrand {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// Optional sign, optional "0x" for base 16, then digits; the magnitude
// saturates just above 32 bits. False when no digit follows.
bool ReadInteger(const char*& in, int base, bool& negative, uint64_t& magnitude) {
  const char* p = in;
  negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2], 16) >= 0) p += 2;
  if (DigitValue(*p, base) < 0) return false;
  magnitude = 0;
  for (; DigitValue(*p, base) >= 0; ++p) {
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(DigitValue(*p, base));
    if (magnitude > 0x100000000ull) magnitude = 0x100000000ull;
  }
  in = p;
  return true;
}

}  // namespace

int ScanValues(const char* text, std::initializer_list<ValueTarget> targets) {
  if (text == nullptr) return 0;
  const char* in = text;
  int stored = 0;
  for (const ValueTarget& target : targets) {
    while (IsSpace(*in)) ++in;
    if (*in == '\0') break;
    if (double* const* d = std::get_if<double*>(&target)) {
      char* end = nullptr;
      const double value = std::strtod(in, &end);
      // "nan", "inf" and numbers beyond the range of a double are no
      // numbers of these files.
      if (end == in || !std::isfinite(value)) break;
      in = end;
      **d = value;
    } else if (long* const* l = std::get_if<long*>(&target)) {
      bool negative = false;
      uint64_t magnitude = 0;
      if (!ReadInteger(in, 10, negative, magnitude)) break;
      const int64_t limit = negative ? int64_t{INT32_MAX} + 1 : int64_t{INT32_MAX};
      const int64_t value = magnitude > static_cast<uint64_t>(limit) ? limit : static_cast<int64_t>(magnitude);
      **l = static_cast<long>(negative ? -value : value);
    } else if (unsigned* const* u = std::get_if<unsigned*>(&target)) {
      bool negative = false;
      uint64_t magnitude = 0;
      if (!ReadInteger(in, 16, negative, magnitude)) break;
      const uint32_t value = magnitude > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(magnitude);
      **u = negative ? 0u - value : value;
    }
    ++stored;
  }
  return stored;
}

}  // namespace ostrand
