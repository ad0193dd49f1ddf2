// Locale-independent text-to-number and number-to-text conversions.
//
// The listings and project files are read with the semantics of the C
// library's atoi/atof (leading blanks skipped, the number ends at the first
// character that cannot belong to it, no number gives 0), but without their
// undefined behaviour: an integer out of range is clamped to the 32-bit range.
// Formatting always uses the "C" locale, whatever locale the process runs in,
// so files written on one machine read the same on another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// atof of the text: 0.0 when no number starts it; may return +-inf or nan.
double TextToDouble(std::string_view text);

// atoi of the text, clamped to [INT32_MIN, INT32_MAX].
int32_t TextToInt(std::string_view text);

// Strict parse for an edit box: the whole text (blanks around allowed) must be
// one finite number. Returns false otherwise.
bool ParseWholeDouble(std::string_view text, double& value);

// Converts a double to a 32-bit int by truncation toward zero; nan gives 0 and
// values outside the range are clamped.
int32_t TruncToInt(double value);

// printf into a std::string in the "C" locale.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace corvane
