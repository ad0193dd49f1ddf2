// Reading of whitespace-separated numbers from a line of text, as the C
// library's formatted input reads them with a format of "%lf", "%ld" and
// "%x" conversions separated by blanks (a blank in such a format matches any
// run of white space, also none), but with a defined result for every input:
// reals that are not finite ("nan", "inf", 1e999) do not convert, and
// decimal integers saturate at the 32-bit limits (long is 32 bits on the
// system the files come from), hexadecimal ones at 0xFFFFFFFF.
#pragma once

#include <initializer_list>
#include <variant>

namespace ostrand {

// The type of each target selects its conversion: double* "%lf", long*
// "%ld", unsigned* "%x".
using ValueTarget = std::variant<double*, long*, unsigned*>;

// Converts values in order into the targets; stops at the first text that
// does not convert. Returns the number of values stored; targets after the
// last stored one keep their values.
int ScanValues(const char* text, std::initializer_list<ValueTarget> targets);

}  // namespace ostrand
