// Fuzz target: the edit-script parser. The input is a script text: its
// lines go into a string list as the loader stores them, the "<bgr-" lines
// are parsed, and the pattern scan is checked against the C library's scan
// wherever no number is long enough to overflow.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ostrand/frame/report.h"
#include "ostrand/ops/bgr_script.h"
#include "ostrand/text/string_list.h"

namespace {

// True when no run of digits is longer than 9 (every value fits 32 bits).
bool ShortNumbers(const std::string& text) {
  int run = 0;
  for (char c : text) {
    run = (c >= '0' && c <= '9') ? run + 1 : 0;
    if (run > 9) return false;
  }
  return true;
}

void CheckAgainstLibrary(const std::string& text) {
  static const char* const kPatterns[] = {"replace-edges> %ld %ld %ld", "align-nodes> %ld %ld %ld",
                                          "width-edges> %ld %ld"};
  for (const char* pattern : kPatterns) {
    int32_t got[3] = {7, 8, 9};
    const int n = ostrand::ScanPattern(text.c_str(), pattern, got);
    if (n < -1 || n > 3) __builtin_trap();
    if (!ShortNumbers(text)) continue;
    long want[3] = {7, 8, 9};
    const int m = std::sscanf(text.c_str(), pattern, &want[0], &want[1], &want[2]);
    if (m != n) __builtin_trap();
    for (int k = 0; k < 3; ++k) {
      if (want[k] != got[k]) __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  ostrand::SetConsole(sink);
  ostrand::STRING_LIST list;
  if (!list.Create(10240)) return 0;
  // Lines as the reader delivers them: at most 254 characters, no NUL.
  std::string line;
  for (size_t i = 0; i <= size; ++i) {
    const char c = i < size ? static_cast<char>(data[i]) : '\n';
    if (c == '\n' || line.size() == 254) {
      if (!line.empty()) list.Add(line.c_str());
      line.clear();
      if (c == '\n') continue;
    }
    if (c != '\0') line += c;
  }
  for (const char* text = ostrand::FirstWithPrefix(list, "<bgr-"); text != nullptr;
       text = ostrand::NextWithPrefix()) {
    const auto calls = ostrand::ParseScriptLine(text);
    if (calls.size() > 3) __builtin_trap();
    CheckAgainstLibrary(text);
  }
  return 0;
}
