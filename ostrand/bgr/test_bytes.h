// Byte builders for the tests of network files (header-only, test programs
// only): tags, little-endian integers and reals appended to a string, and
// the example network that the record and listing tests share.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

namespace ostrand::testing {

class Bytes {
 public:
  Bytes& Tag(const char* tag) { return bytes_.append(tag, std::strlen(tag) + 1), *this; }
  Bytes& Int(int32_t v) { return Le(static_cast<uint32_t>(v), 4); }
  Bytes& Real(double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    return Le(u, 8);
  }
  Bytes& Raw(const std::string& raw) { return bytes_ += raw, *this; }
  Bytes& Origin(double latitude, double longitude, double elevation) {
    return Tag("<orgn>").Real(latitude).Real(longitude).Real(elevation).Int(1);
  }
  // A vertex record, with a "<flow>" mark for each value given.
  Bytes& Node(double x, double y, double z, std::initializer_list<int32_t> flows = {}) {
    Tag("<node>").Tag("<bgno>").Tag("<vloc>").Real(x).Real(y).Real(z);
    for (int32_t f : flows) Tag("<flow>").Int(f);
    return Tag("<endo>");
  }
  Bytes& Edge(int32_t from, int32_t to, int32_t word, int32_t type) {
    Tag("<edge>").Int(from).Int(to).Tag("<bgno>").Tag("<thck>").Int(word);
    return Tag("<type>").Int(type).Tag("<endo>");
  }
  const std::string& str() const { return bytes_; }

 private:
  Bytes& Le(uint64_t u, int n) {  // little-endian, n bytes
    for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<char>(u >> (8 * i)));
    return *this;
  }
  std::string bytes_;
};

// The example network: origin 184827" N, 3600" E; vertices (0, 0, 0) and
// (2560, 0, 5120); one runway edge 0-1 of 50 feet (code 16968, sp 0).
inline std::string ExampleNetworkBytes() {
  return Bytes().Tag("<bgno>").Origin(184827.0, 3600.0, 0.0).Node(0, 0, 0).Node(2560, 0, 5120)
      .Edge(0, 1, 16968 * 65536, 0).Tag("<endo>").str();
}

}  // namespace ostrand::testing
