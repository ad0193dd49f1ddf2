// TextureList: a singly linked list of copied surface polygons, used to
// collect the polygons of one tile layer before they are written. Add
// prepends, so iteration yields the last-added polygon first.
#pragma once

#include <cstdint>
#include <vector>

#include "ostrand/surface/texture.h"

namespace ostrand {

class TextureList {
 public:
  TextureList() = default;
  ~TextureList();
  TextureList(const TextureList&) = delete;
  TextureList& operator=(const TextureList&) = delete;

  // Copies the polygon (descriptive block and vertexCount vertex records)
  // into a new node at the head; 1, or 0 on allocation failure (reported
  // once per run, the polygon is dropped).
  int Add(const TEXTURE& texture);
  // Iteration, last added first; the result is a working copy owned by the
  // list, overwritten by the next call. nullptr at the end.
  TEXTURE* First();
  TEXTURE* Next();
  // Drops every node.
  void Clear();
  int32_t Count() const { return count_; }

 private:
  // BitAndTex: one node.
  struct Node {
    TextureHeader header;
    std::vector<TexVertex> vertices;
    Node* next = nullptr;
  };
  Node* head_ = nullptr;
  Node* cursor_ = nullptr;
  int32_t count_ = 0;
  TEXTURE working_;
};

}  // namespace ostrand
