// Fuzz target: the formatted scanner and the text helpers over arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/format_scan.h"
#include "ostrand/frame/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string all(reinterpret_cast<const char*>(data), size);
  const std::string text = all.c_str();  // up to the first NUL
  long a = 0;
  long b = 0;
  double n = 0;
  double e = 0;
  unsigned x = 0;
  ostrand::ScanText(text.c_str(), "%ld:%ld", {&a, &b});
  ostrand::ScanText(text.c_str(), "%lf:%lf:%ld:%ld", {&n, &e, &a, &b});
  ostrand::ScanText(text.c_str(), "-pr%x", {&x});
  ostrand::ScanText(text.c_str(), "-ti%03ld%03ld", {&a, &b});
  // Pattern and text split at the first '|': arbitrary patterns too.
  const size_t bar = text.find('|');
  if (bar != std::string::npos) {
    const std::string pattern = text.substr(0, bar);
    const std::string rest = text.substr(bar + 1);
    ostrand::ScanText(rest.c_str(), pattern.c_str(), {&a, &n, &x, &b});
    ostrand::platform::MatchWildcard(pattern, rest);
    ostrand::MatchExtension(rest.c_str(), pattern.c_str());
    ostrand::FindNoCase(rest.c_str(), pattern.c_str());
    ostrand::FindNoCase(rest.c_str(), pattern.c_str(), static_cast<long>(size % 64));
  }
  std::string token;
  const char* cursor = text.c_str();
  while (*cursor != '\0') {
    const char* next = ostrand::NextToken(cursor, token);
    if (next == cursor) break;
    cursor = next;
  }
  ostrand::ReplaceExtension(text, "bgr");
  ostrand::CutToDirectory(text);
  ostrand::FileNamePart(text.c_str());
  return 0;
}
