// Fuzz target: the record readers over arbitrary bytes, in the order the
// operations call them (origin, vertices until one fails, edges until one
// fails), read from an in-memory stream.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "ostrand/bgr/bgr_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // fmemopen wants a writable buffer of at least one byte.
  std::vector<char> bytes(data, data + size);
  if (bytes.empty()) return 0;
  std::FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
  if (stream == nullptr) return 0;
  ostrand::BgrFile file;
  if (file.OpenReadStream(stream)) {
    double a = 0, b = 0, c = 0;
    file.ReadOrigin(a, b, c);
    // Each record read consumes at least its tags, so both loops end.
    size_t records = 0;
    while (file.ReadNode(a, b, c)) {
      if (++records > size) __builtin_trap();
    }
    ostrand::BgrEdge edge;
    while (file.ReadEdge(edge)) {
      if (++records > size) __builtin_trap();
    }
    file.FindTag("<endo>");
  }
  file.Close();
  return 0;
}
