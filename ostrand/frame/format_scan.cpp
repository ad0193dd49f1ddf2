// Formatted input with the C library's rules and a defined result.
#include "ostrand/frame/format_scan.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace ostrand {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v < base ? v : -1;
}

// Reads an integer of the base from at most `width` characters (0: no
// limit). Returns false when no digit is found.
bool ReadInteger(const char*& in, long width, int base, bool& negative, uint64_t& magnitude) {
  const char* p = in;
  const char* limit = nullptr;
  auto room = [&](const char* q) { return *q != '\0' && (limit == nullptr || q < limit); };
  if (width > 0) {
    // The limit may lie past the end of the text; room() stops at the NUL.
    limit = p;
    for (long k = 0; k < width && *limit != '\0'; ++k) ++limit;
  }
  negative = false;
  if (room(p) && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (base == 16 && room(p) && *p == '0' && room(p + 1) && (p[1] == 'x' || p[1] == 'X') &&
      room(p + 2) && DigitValue(p[2], 16) >= 0) {
    p += 2;
  }
  magnitude = 0;
  bool any = false;
  for (; room(p) && DigitValue(*p, base) >= 0; ++p) {
    any = true;
    const uint64_t next =
        magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(DigitValue(*p, base));
    magnitude = next > 0xFFFFFFFFull ? 0x100000000ull : next;  // saturated, stays small
  }
  if (!any) return false;
  in = p;
  return true;
}

}  // namespace

int ScanText(const char* input, const char* pattern, const ScanTarget* targets, size_t count) {
  if (input == nullptr || pattern == nullptr) return kScanEnd;
  const char* in = input;
  const char* pat = pattern;
  const ScanTarget* target = targets;
  const ScanTarget* const lastTarget = targets + count;
  int stored = 0;
  auto ended = [&]() { return stored > 0 ? stored : kScanEnd; };

  while (*pat != '\0') {
    if (IsSpace(*pat)) {
      while (IsSpace(*pat)) ++pat;
      while (IsSpace(*in)) ++in;
      continue;
    }
    if (*pat != '%') {
      if (*in == '\0') return ended();
      if (*in != *pat) return stored;
      ++in;
      ++pat;
      continue;
    }
    ++pat;
    long width = 0;
    for (; *pat >= '0' && *pat <= '9'; ++pat) {
      width = width * 10 + (*pat - '0');
      if (width > 1000000) width = 1000000;
    }
    char conversion = '\0';
    if (*pat == 'x') {
      conversion = 'x';
      ++pat;
    } else if (pat[0] == 'l' && (pat[1] == 'd' || pat[1] == 'f')) {
      conversion = pat[1];
      pat += 2;
    } else {
      return stored;  // not a conversion this scanner knows
    }
    while (IsSpace(*in)) ++in;
    if (*in == '\0') return ended();
    if (target == lastTarget) return stored;

    if (conversion == 'f') {
      double* const* out = std::get_if<double*>(target);
      if (out == nullptr) return stored;
      char* end = nullptr;
      const double value = std::strtod(in, &end);
      if (end == in || !std::isfinite(value)) return stored;
      in = end;
      **out = value;
    } else {
      bool negative = false;
      uint64_t magnitude = 0;
      const int base = conversion == 'x' ? 16 : 10;
      if (conversion == 'x') {
        unsigned* const* out = std::get_if<unsigned*>(target);
        if (out == nullptr || !ReadInteger(in, width, base, negative, magnitude)) return stored;
        const uint32_t value =
            magnitude > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(magnitude);
        **out = negative ? 0u - value : value;
      } else {
        long* const* out = std::get_if<long*>(target);
        if (out == nullptr || !ReadInteger(in, width, base, negative, magnitude)) return stored;
        const int64_t signedValue =
            negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
        const int64_t clamped = signedValue > INT32_MAX
                                    ? INT32_MAX
                                    : (signedValue < INT32_MIN ? INT32_MIN : signedValue);
        **out = static_cast<long>(clamped);
      }
    }
    ++target;
    ++stored;
  }
  return stored;
}

}  // namespace ostrand
