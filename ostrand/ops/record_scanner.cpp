// The record scanner and field readers shared by the listing, the copy
// operations and the TXP export.
#include "ostrand/ops/record_scanner.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "ostrand/frame/little_endian.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/report.h"

namespace ostrand {
namespace {

// Longest tag: '<' to '>' inclusive.
constexpr int kMaxTagChars = kTagBufferSize - 2;

// Reads up to n bytes; returns how many were read.
size_t ReadField(std::FILE* in, unsigned char* bytes, size_t n) {
  if (in == nullptr) return 0;
  return std::fread(bytes, 1, n, in);
}

// Prints " %lf" of the value. std::to_chars in fixed notation with six
// decimals gives the same characters as printf in the C locale, at a
// fraction of its cost (the listing prints three per vertex).
void PrintReal(std::FILE* out, double value) {
  char text[400];  // the longest double in fixed notation takes 317
  text[0] = ' ';
  const auto result =
      std::to_chars(text + 1, text + sizeof text, value, std::chars_format::fixed, 6);
  if (result.ec != std::errc()) {
    std::fprintf(out, " %lf", value);
    return;
  }
  std::fwrite(text, 1, static_cast<size_t>(result.ptr - text), out);
}

}  // namespace

int ScanTag(char (&tag)[kTagBufferSize], std::FILE* in, std::FILE* copy) {
  tag[0] = '\0';
  if (in == nullptr) return 0;
  std::FILE* console = Options().printFlag ? Console() : nullptr;
  int stored = 0;
  for (;;) {
    const int c = std::getc(in);
    if (c == EOF) {
      tag[stored] = '\0';
      return 0;
    }
    if (copy != nullptr) std::putc(c, copy);
    if (stored == 0 && c != '<') {  // before the tag: skipped
      if (console != nullptr) std::fprintf(console, " %02X", static_cast<unsigned>(c));
      continue;
    }
    if (stored == kMaxTagChars) {  // no '>' within the longest tag
      tag[stored] = '\0';
      return 0;
    }
    tag[stored++] = static_cast<char>(c);
    if (c == '>') break;
  }
  tag[stored] = '\0';
  const int c = std::getc(in);  // after the tag: its NUL
  if (c == EOF) return 0;
  if (copy != nullptr) std::putc(c, copy);
  return c == 0 ? 1 : 0;
}

double ReadRealField(std::FILE* in, std::FILE* out, double addend) {
  unsigned char bytes[8];
  const size_t got = ReadField(in, bytes, sizeof bytes);
  double value = 0.0;
  if (got == sizeof bytes) {
    value = LoadLeDouble(bytes) + addend;
    StoreLeDouble(bytes, value);
  }
  // A field cut short by the end of the file is copied as it was.
  if (out != nullptr && got > 0) std::fwrite(bytes, 1, got, out);
  if (Options().printFlag) PrintReal(Console(), value);
  return value;
}

long ReadLongField(std::FILE* in, std::FILE* out, long addend, long divisor, int quiet) {
  unsigned char bytes[4];
  const size_t got = ReadField(in, bytes, sizeof bytes);
  long value = 0;
  if (got == sizeof bytes) {
    const uint32_t u = LoadLe32(bytes);
    // The field is 32 bits: the sum wraps to 32 bits as it is stored.
    const uint32_t sum = u + static_cast<uint32_t>(addend);
    value = static_cast<long>(static_cast<int32_t>(sum));
    StoreLe32(bytes, sum);
  }
  if (out != nullptr && got > 0) std::fwrite(bytes, 1, got, out);
  if (Options().printFlag && !quiet) {
    // A divisor of 0 prints the value undivided; -1 is a plain negation,
    // safe here because the value fits 32 bits.
    const long shown = divisor == 0 ? value : value / divisor;
    std::fprintf(Console(), " %ld", shown);
  }
  return value;
}

}  // namespace ostrand
