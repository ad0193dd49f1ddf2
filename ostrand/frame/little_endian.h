// Little-endian byte order of the binary files: 32-bit integers and IEEE
// doubles and singles stored lowest byte first, whatever the host's order.
#pragma once

#include <bit>
#include <cstdint>

namespace ostrand {

constexpr void StoreLe32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

constexpr uint32_t LoadLe32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

constexpr void StoreLe64(unsigned char* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

constexpr uint64_t LoadLe64(const unsigned char* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

constexpr void StoreLeDouble(unsigned char* p, double v) {
  StoreLe64(p, std::bit_cast<uint64_t>(v));
}

constexpr double LoadLeDouble(const unsigned char* p) {
  return std::bit_cast<double>(LoadLe64(p));
}

}  // namespace ostrand
