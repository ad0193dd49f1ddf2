// Formatted input with the C library's rules and a defined result.
#include "ostrand/frame/format_scan.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace ostrand {
namespace {

// ' ', '\t', '\n', '\v', '\f', '\r': the C locale's white space, as a table
// indexed by the byte (one load where the scanner asks most often).
constexpr std::array<bool, 256> kSpace = [] {
  std::array<bool, 256> table{};
  for (const char c : {' ', '\t', '\n', '\v', '\f', '\r'})
    table[static_cast<unsigned char>(c)] = true;
  return table;
}();
bool IsSpace(char c) { return kSpace[static_cast<unsigned char>(c)]; }

// The value of a decimal digit, or a number above 9.
unsigned DecimalValue(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - 48u; }

// The value of a hexadecimal digit, or -1.
int HexValue(char c) {
  const unsigned u = static_cast<unsigned char>(c);
  if (u - '0' <= 9u) return static_cast<int>(u - '0');
  const unsigned lower = u | 0x20u;  // 'A'..'F' to 'a'..'f'
  if (lower - 'a' <= 5u) return static_cast<int>(lower - 'a' + 10);
  return -1;
}

// Magnitudes past 32 bits all read as 2^32, which keeps them small and
// still saturates every limit the results are clamped to.
constexpr uint64_t kMaxMagnitude = 0xFFFFFFFFull;
uint64_t Saturated(uint64_t magnitude) {
  return magnitude > kMaxMagnitude ? kMaxMagnitude + 1 : magnitude;
}

// Reads an integer of the base (10 or 16) from at most `room` characters of
// the text (its NUL ends it earlier). Returns false when no digit is found.
bool ReadInteger(const char*& in, size_t room, bool hex, bool& negative, uint64_t& magnitude) {
  const char* const p = in;
  size_t i = 0;
  negative = false;
  if (room > 0 && (p[0] == '+' || p[0] == '-')) {
    negative = p[0] == '-';
    i = 1;
  }
  // Each test reads a character only after the one before it proved not to
  // be the NUL.
  if (hex && i + 2 < room && p[i] == '0' && (p[i + 1] | 0x20) == 'x' && HexValue(p[i + 2]) >= 0) {
    i += 2;
  }
  const size_t first = i;
  uint64_t value = 0;
  if (hex) {
    for (int d = 0; i < room && (d = HexValue(p[i])) >= 0; ++i) {
      value = Saturated(value * 16 + static_cast<uint64_t>(d));
    }
  } else {
    for (unsigned d = 0; i < room && (d = DecimalValue(p[i])) <= 9u; ++i) {
      value = Saturated(value * 10 + d);
    }
  }
  if (i == first) return false;
  magnitude = value;
  in = p + i;
  return true;
}

// The common number of the files: decimal, no width, at most nine digits,
// which can neither pass 32 bits nor need clamping. False (nothing read)
// for anything else, which ReadInteger then reads.
bool ReadShortDecimal(const char*& in, long& out) {
  const char* p = in;
  const bool negative = *p == '-';
  if (negative || *p == '+') ++p;
  const char* const digits = p;
  uint64_t value = 0;  // wraps harmlessly for long numbers, which are refused
  for (unsigned d = 0; (d = DecimalValue(*p)) <= 9u; ++p) value = value * 10 + d;
  if (p == digits || p - digits > 9) return false;
  const long magnitude = static_cast<long>(value);
  out = negative ? -magnitude : magnitude;
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
    if (*pat != '%' && !IsSpace(*pat)) {
      // A literal character; equal to the input's, that is no NUL either.
      if (*in != *pat) return *in == '\0' ? ended() : stored;
      ++in;
      ++pat;
      continue;
    }
    if (*pat != '%') {
      while (IsSpace(*pat)) ++pat;
      while (IsSpace(*in)) ++in;
      continue;
    }
    ++pat;
    size_t width = 0;
    for (unsigned d = 0; (d = DecimalValue(*pat)) <= 9u; ++pat) {
      width = width * 10 + d;
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
    if (target == lastTarget || target->Conversion() != conversion) return stored;

    if (conversion == 'd' && width == 0 &&
        ReadShortDecimal(in, *static_cast<long*>(target->Value()))) {
      // The common case, read without saturating or clamping.
    } else if (conversion == 'f') {
      char* end = nullptr;
      const double value = std::strtod(in, &end);
      if (end == in || !std::isfinite(value)) return stored;
      in = end;
      *static_cast<double*>(target->Value()) = value;
    } else {
      bool negative = false;
      uint64_t magnitude = 0;
      const size_t room = width > 0 ? width : SIZE_MAX;
      if (!ReadInteger(in, room, conversion == 'x', negative, magnitude)) return stored;
      if (conversion == 'x') {
        const uint32_t value =
            static_cast<uint32_t>(magnitude > kMaxMagnitude ? kMaxMagnitude : magnitude);
        *static_cast<unsigned*>(target->Value()) = negative ? 0u - value : value;
      } else {
        const int64_t signedValue =
            negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
        const int64_t clamped = signedValue > INT32_MAX
                                    ? INT32_MAX
                                    : (signedValue < INT32_MIN ? INT32_MIN : signedValue);
        *static_cast<long*>(target->Value()) = static_cast<long>(clamped);
      }
    }
    ++target;
    ++stored;
  }
  return stored;
}

}  // namespace ostrand
