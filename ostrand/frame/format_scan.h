// Formatted input as the C library's scanf family reads it, for the
// patterns the program uses: the scanned command-line options ("-pr%x",
// "-ti%03ld%03ld", the "%ld:%ld" ranges, the "%lf:%lf:%ld:%ld" move
// parameters), the numbers of the scenery text and exclusion list lines
// ("%lf %lf %lf %ld %ld", "%ld %lf %lf %lf %lf %x", ...), the field list of
// the airport database and the edit-script commands ("replace-edges> %ld
// %ld %ld"), but with a defined result for every input.
//
// Pattern syntax: white space in the pattern matches any run of white space
// in the input, also none; other literal characters must match exactly; a
// conversion is '%', an optional field width, and one of "x" (hexadecimal,
// stored as unsigned), "ld" (decimal, stored as long) or "lf" (real, stored
// as double). Conversions skip leading white space; a number accepts an
// optional sign; "x" also accepts a "0x" prefix. Numbers that do not fit
// 32 bits saturate (decimal at the int32_t limits, hexadecimal at
// 0xFFFFFFFF before the sign is applied), as on the system the files and
// options come from, where long is 32 bits. Reals that are not finite
// ("nan", "inf", 1e999) do not convert.
//
// Result: the number of values stored, or kScanEnd (-1) when the input ends
// before the first conversion stored anything. So the result is non-zero
// both for a parsed value and for input that stops short, and 0 only when a
// character fails to match before the first value.
#pragma once

#include <cstddef>
#include <initializer_list>

namespace ostrand {

inline constexpr int kScanEnd = -1;

// Where one conversion stores its value: a long for "ld", a double for
// "lf", an unsigned for "x". Made from the pointer itself, so that targets
// are written as {&a, &b}.
class ScanTarget {
 public:
  ScanTarget(long* value) : conversion_('d'), value_(value) {}
  ScanTarget(double* value) : conversion_('f'), value_(value) {}
  ScanTarget(unsigned* value) : conversion_('x'), value_(value) {}

  // The conversion letter whose values this target takes.
  char Conversion() const { return conversion_; }
  void* Value() const { return value_; }

 private:
  char conversion_;
  void* value_;
};

// Scans the input against the pattern, storing each converted value into
// the next target (a conversion whose target has another type, or with no
// target left, ends the scan). Targets of conversions that fail keep their
// values.
int ScanText(const char* input, const char* pattern, const ScanTarget* targets, size_t count);
inline int ScanText(const char* input, const char* pattern,
                    std::initializer_list<ScanTarget> targets) {
  return ScanText(input, pattern, targets.begin(), targets.size());
}

}  // namespace ostrand
