// TextureList: the copied surface polygons of one tile layer, collected
// before they are written. Iteration yields the last-added polygon first.
//
// A tile layer collects tens of thousands of small polygons that mostly share
// one descriptive block and carry nothing in their vertex records but the
// point index. The list therefore keeps each descriptive block once for a
// run of polygons that share it (vertex count aside), the point indices of
// all polygons one after the other, and the other four fields of the vertex
// records only once one of them is not zero. The arrays keep their room when
// the list is cleared, so that filing a piece allocates nothing once they
// have grown.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ostrand/surface/texture.h"

namespace ostrand {

class TextureList {
 public:
  TextureList() = default;
  TextureList(const TextureList&) = delete;
  TextureList& operator=(const TextureList&) = delete;

  // Copies the polygon (descriptive block and vertexCount vertex records)
  // into the list; 1, or 0 on allocation failure (reported once per run,
  // the polygon is dropped).
  int Add(const TEXTURE& texture);
  // The same for a polygon given as its descriptive block (its vertex count
  // aside) and the point indices of its n vertices, whose other fields are
  // 0: what a producer of pieces has at hand, without a TEXTURE.
  int Add(const TextureHeader& header, const int32_t* points, int32_t n);
  // Iteration, last added first; the result is a working copy owned by the
  // list, overwritten by the next call. nullptr at the end.
  TEXTURE* First();
  TEXTURE* Next();
  // Visits every polygon, last added first, as visit(block, points, n): its
  // descriptive block (vertex count 0), and the point indices of its n
  // vertices (at most TEXTURE::kMaxVertices, as iteration copies them) -
  // what a writer of the polygons needs, without copying each.
  template <typename Visit>
  void ForEachLastFirst(Visit&& visit) const {
    for (size_t i = polygons_.size(); i-- > 0;) {
      const size_t start = i == 0 ? 0 : polygons_[i - 1].end;
      const size_t n = polygons_[i].end - start;
      visit(headers_[polygons_[i].header], points_.data() + start,
            static_cast<int32_t>(n < TEXTURE::kMaxVertices ? n : TEXTURE::kMaxVertices));
    }
  }
  // Drops every polygon.
  void Clear();
  int32_t Count() const { return static_cast<int32_t>(polygons_.size()); }

 private:
  template <typename PointOf, typename ExtraOf>
  int Keep(const TextureHeader& header, int32_t n, PointOf pointOf, ExtraOf extraOf);

  struct Polygon {
    uint32_t end = 0;     // one past its last vertex in points_
    uint32_t header = 0;  // its descriptive block in headers_
  };
  std::vector<TextureHeader> headers_;             // vertex counts 0
  std::vector<Polygon> polygons_;
  std::vector<int32_t> points_;                    // every polygon's point indices
  std::vector<std::array<int32_t, 4>> extras_;     // parallel to points_, or empty while all are 0
  size_t cursor_ = 0;                              // polygons that Next has yet to give
  std::unique_ptr<TEXTURE> working_;               // made by the first Next: a list never read needs none
};

}  // namespace ostrand
