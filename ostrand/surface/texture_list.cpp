#include "ostrand/surface/texture_list.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <new>

#include "ostrand/frame/report.h"

namespace ostrand {

namespace {
// One report per run for both allocation failures of Add.
ReportOnce g_allocFailure;

// Equal descriptive blocks, the vertex count aside; the real compared by its
// bits, so that the copy gives back exactly what was added.
bool SameBlock(const TextureHeader& a, const TextureHeader& b) {
  return a.reserved == b.reserved && a.normal[0] == b.normal[0] && a.normal[1] == b.normal[1] &&
         a.normal[2] == b.normal[2] && a.extra[0] == b.extra[0] && a.extra[1] == b.extra[1] &&
         a.extra[2] == b.extra[2] && std::bit_cast<uint64_t>(a.real) == std::bit_cast<uint64_t>(b.real) &&
         a.flag == b.flag && a.attribute == b.attribute;
}

bool AllZero(const std::array<int32_t, 4>& fields) {
  return (fields[0] | fields[1] | fields[2] | fields[3]) == 0;
}
}  // namespace

template <typename PointOf, typename ExtraOf>
int TextureList::Keep(const TextureHeader& header, int32_t n, PointOf pointOf, ExtraOf extraOf) {
  // The polygon's entry and its descriptive block.
  const size_t start = points_.size();
  const size_t headerCount = headers_.size();
  try {
    if (headers_.empty() || !SameBlock(headers_.back(), header)) {
      headers_.push_back(header);
      headers_.back().vertexCount = 0;
    }
    polygons_.push_back(Polygon{static_cast<uint32_t>(start), static_cast<uint32_t>(headers_.size() - 1)});
  } catch (const std::bad_alloc&) {
    g_allocFailure.Report("TextureList::Add(TEXTURE) alloc failed");
    headers_.resize(headerCount);
    return 0;
  }
  // Its vertex records. (Positions are 32-bit: a list of 2^32 vertices is
  // one that memory could not take either.)
  try {
    if (start + static_cast<size_t>(n) > UINT32_MAX) throw std::bad_alloc();
    bool extra = false;
    for (int32_t k = 0; k < n; ++k) {
      points_.push_back(pointOf(k));
      extra = extra || !AllZero(extraOf(k));
    }
    if (extra && extras_.empty()) extras_.resize(start);
    if (!extras_.empty())
      for (int32_t k = 0; k < n; ++k) extras_.push_back(extraOf(k));
  } catch (const std::bad_alloc&) {
    g_allocFailure.Report("BitAndTex::Add(TEXTURE) alloc failed 0 %ld",
                          static_cast<long>(n) * static_cast<long>(sizeof(TexVertex)));
    polygons_.pop_back();
    headers_.resize(headerCount);
    points_.resize(start);
    if (extras_.size() > start) extras_.resize(start);
    return 0;
  }
  polygons_.back().end = static_cast<uint32_t>(points_.size());
  return 1;
}

int TextureList::Add(const TEXTURE& texture) {
  int32_t n = texture.vertexCount();
  if (n < 0) n = 0;
  if (n > static_cast<int32_t>(texture.vertices.size())) n = static_cast<int32_t>(texture.vertices.size());
  const TexVertex* v = texture.vertices.data();
  return Keep(texture.header, n, [v](int32_t k) { return v[k].point; },
              [v](int32_t k) -> const std::array<int32_t, 4>& { return v[k].extra; });
}

int TextureList::Add(const TextureHeader& header, const int32_t* points, int32_t n) {
  static constexpr std::array<int32_t, 4> kNone{};
  return Keep(header, n < 0 ? 0 : n, [points](int32_t k) { return points[k]; },
              [](int32_t) -> const std::array<int32_t, 4>& { return kNone; });
}

TEXTURE* TextureList::First() {
  cursor_ = polygons_.size();
  return Next();
}

TEXTURE* TextureList::Next() {
  if (cursor_ == 0) return nullptr;
  const size_t i = --cursor_;
  if (working_ == nullptr) working_ = std::make_unique<TEXTURE>();
  TEXTURE& working = *working_;
  const size_t start = i == 0 ? 0 : polygons_[i - 1].end;
  const size_t n = std::min(polygons_[i].end - start, working.vertices.size());
  working.header = headers_[polygons_[i].header];
  working.header.vertexCount = static_cast<int32_t>(n);
  for (size_t k = 0; k < n; ++k) {
    TexVertex& v = working.vertices[k];
    v.point = points_[start + k];
    v.extra = extras_.empty() ? std::array<int32_t, 4>{} : extras_[start + k];
  }
  return &working;
}

void TextureList::Clear() {
  headers_.clear();
  polygons_.clear();
  points_.clear();
  extras_.clear();
  cursor_ = 0;
}

}  // namespace ostrand
