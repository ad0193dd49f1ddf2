// TextureList: the copied surface polygons of one tile layer, collected
// before they are written. Iteration yields the last-added polygon first.
// The polygons are kept one after the other in a few arrays that keep their
// room when the list is cleared, so that filing a piece allocates nothing
// once the arrays have grown.
#pragma once

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
  // Iteration, last added first; the result is a working copy owned by the
  // list, overwritten by the next call. nullptr at the end.
  TEXTURE* First();
  TEXTURE* Next();
  // Drops every polygon.
  void Clear();
  int32_t Count() const { return static_cast<int32_t>(headers_.size()); }

 private:
  std::vector<TextureHeader> headers_;
  std::vector<TexVertex> vertices_;      // of every polygon, one after the other
  std::vector<size_t> starts_ = {0};     // polygon i's vertices start at starts_[i]; one more
  size_t cursor_ = 0;                    // polygons that Next has yet to give
  std::unique_ptr<TEXTURE> working_;    // made by the first Next: a list never read needs none
};

}  // namespace ostrand
