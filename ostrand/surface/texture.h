// TEXTURE: one flat surface polygon of up to 256 vertices whose corners are
// indices into a TEXPOINTS table, with its triangulation (fan for small or
// convex polygons, otherwise ear clipping).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "ostrand/surface/texpoints.h"

namespace ostrand {

struct TexVertex {
  int32_t point = 0;             // index into the polygon's point table
  std::array<int32_t, 4> extra{};  // carried unchanged
};

struct Triangle {
  int32_t v[3] = {0, 0, 0};  // vertex positions
};

// The descriptive block: what TextureList copies besides the vertices.
struct TextureHeader {
  int32_t reserved = 0;
  int32_t vertexCount = 0;
  int32_t normal[3] = {0, 0, 0};
  int32_t extra[3] = {0, 0, 0};  // carried unchanged
  double real = 0.0;
  uint8_t flag = 0;
  int32_t attribute = 0;
};

class TEXTURE {
 public:
  static constexpr int32_t kMaxVertices = 256;

  TEXTURE();

  void Release();
  void CopyFrom(const TEXTURE& other);
  void Reverse();
  int ChooseAxis() const;
  // 1 when the polygon winds the negative way.
  int Orientation(const TEXPOINTS& points, int fallback) const;
  // 1 when the polygon is flat (y = 0) and convex in x-z.
  int IsConvexFlat(const TEXPOINTS& points) const;
  // Triangle `index` of the triangulation (index 0 computes it), or nullptr
  // past the end (which frees the list).
  const Triangle* Triangulate(const TEXPOINTS& points, int32_t index, int allowFan);
  void ReleaseTriangles();

  TextureHeader header;
  std::vector<TexVertex> vertices;  // kMaxVertices records
  std::vector<Triangle> triangles;  // empty until Triangulate runs
  bool hasTriangles = false;

  int32_t& vertexCount() { return header.vertexCount; }
  int32_t vertexCount() const { return header.vertexCount; }
};

class TextureList {
 public:
  TextureList() = default;
  ~TextureList();
  TextureList(const TextureList&) = delete;
  TextureList& operator=(const TextureList&) = delete;

  // Copies the polygon into a new node at the head; 1, or 0 on failure.
  int Add(const TEXTURE& texture);
  // Iteration, last added first; the result is a working copy owned by the list.
  TEXTURE* First();
  TEXTURE* Next();
  // Drops every node.
  void Clear();
  int32_t Count() const { return count_; }

 private:
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
