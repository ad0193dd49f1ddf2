// Fuzz target: winding, convexity and triangulation of arbitrary polygons
// (the apron outlines of polygon files reach them unchecked). Triangles must
// name vertex positions of the polygon, and nothing may read outside the
// point table or the vertex records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ostrand/surface/texture.h"

namespace {

// Little-endian 32-bit value from the input, or 0 past its end.
int32_t Take(const uint8_t*& data, size_t& size) {
  uint8_t bytes[4] = {0, 0, 0, 0};
  size_t n = size < 4 ? size : 4;
  std::memcpy(bytes, data, n);
  data += n;
  size -= n;
  uint32_t u = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
               (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  return static_cast<int32_t>(u);
}

}  // namespace

// Input: a header word (vertex count in the low byte plus one, table size
// in the next byte, allowFan in bit 16), the normal, then per corner x, y, z
// and a point index.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int32_t header = Take(data, size);
  int32_t n = (header & 0xFF) + 1;
  int32_t tableSize = (header >> 8) & 0xFF;
  int allowFan = (header >> 16) & 1;

  static ostrand::TEXPOINTS table(300);
  static ostrand::TEXTURE polygon;
  table.count = 0;
  table.base = 0;
  for (int k = 0; k < 3; ++k) polygon.header.normal[k] = Take(data, size);
  polygon.vertexCount() = n;
  for (int32_t i = 0; i < n; ++i) {
    int32_t x = Take(data, size);
    int32_t y = Take(data, size);
    int32_t z = Take(data, size);
    int32_t index = Take(data, size);
    if (i < tableSize) table.Add(x, y, z, -1);
    // Mostly "vertex i is point i", sometimes anything at all.
    polygon.vertices[static_cast<size_t>(i)].point = (index & 0x100) ? index : i;
  }
  polygon.Orientation(table, 0);
  polygon.IsConvexFlat(table);
  for (int32_t i = 0;; ++i) {
    const ostrand::Triangle* t = polygon.Triangulate(table, i, allowFan);
    if (t == nullptr) break;
    for (int32_t v : t->v) {
      if (v < 0 || v >= n) std::abort();
    }
    if (i > 4 * n) std::abort();
  }
  polygon.Reverse();
  return 0;
}
