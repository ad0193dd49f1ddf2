// Plain ASCII text tests and case folding, the same in every locale: file
// names, extensions and keywords compare this way.
#pragma once

#include <cstring>

namespace ostrand {

constexpr int LowerAscii(int c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

constexpr int UpperAscii(int c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

// True when `text` begins with all of `prefix`.
inline bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace ostrand
