// TEXTURE: one flat surface polygon of up to 256 vertices whose corners are
// indices into a TEXPOINTS table, with its winding test and its
// triangulation (fan for small or convex polygons, otherwise ear clipping).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ostrand/surface/texpoints.h"

namespace ostrand {

struct TexVertex {
  int32_t point = 0;               // index into the polygon's point table
  std::array<int32_t, 4> extra{};  // carried unchanged
};

struct Triangle {
  int32_t v[3] = {0, 0, 0};  // vertex positions
};

// The descriptive block: what TextureList copies besides the vertices.
struct TextureHeader {
  int32_t reserved = 0;
  int32_t vertexCount = 0;
  int32_t normal[3] = {0, 0, 0};  // unit length is 32767; producers set (0, 32767, 0)
  int32_t extra[3] = {0, 0, 0};   // carried unchanged
  double real = 0.0;              // producers set 1.0; carried
  uint8_t flag = 0;               // carried
  int32_t attribute = 0;          // 0 for surfaces; light type * 256 + step for lights
};

class TEXTURE {
 public:
  static constexpr int32_t kMaxVertices = 256;

  // All counts 0, room for 256 vertex records (allocation failure is fatal).
  TEXTURE();

  // Counts 0, vertex and triangle storage freed.
  void Release();
  // Descriptive block and the vertex records in use; not the triangles.
  void CopyFrom(const TEXTURE& other);
  // Reverses the vertex order in place.
  void Reverse();
  // 0, 1 or 2: the dominant component of the normal (ties go to x, then y).
  int ChooseAxis() const;
  // 1 when the polygon winds the negative way about its normal, else 0:
  // the corners are walked in the plane of the normal's dominant axis
  // (backwards for a negative normal), each turn between the whole-degree
  // directions of its two steps counting +1 when at least 1, -1 when
  // negative; 1 when the sum is negative. A corner with a point outside the
  // table counts nothing. A normal of exactly (0, 32766, 0) returns
  // `fallback` untested. When every turn is clear (ClearTurn) the sum is
  // taken from the cross products alone, else from WalkedOrientation.
  int Orientation(const TEXPOINTS& points, int fallback) const;
  // The same answer from the whole-degree directions of every step.
  int WalkedOrientation(const TEXPOINTS& points, int fallback) const;
  // 1 when every corner lies at y = 0 and the polygon is convex in x-z.
  int IsConvexFlat(const TEXPOINTS& points) const;
  // Triangle `index` of the triangulation, or nullptr. Index 0 computes the
  // list afresh; an index past its end frees it. For ear clipping, `points`
  // holds the corners in vertex order (vertex i is point i).
  const Triangle* Triangulate(const TEXPOINTS& points, int32_t index, int allowFan);
  void ReleaseTriangles();

  int32_t triangleCount() const { return static_cast<int32_t>(triangles.size()); }

  TextureHeader header;
  std::vector<TexVertex> vertices;  // kMaxVertices records
  std::vector<Triangle> triangles;  // the current triangle list
  bool hasTriangles = false;        // a list exists (from Triangulate(…, 0, …))

  int32_t& vertexCount() { return header.vertexCount; }
  int32_t vertexCount() const { return header.vertexCount; }

 private:
  // Vertices usable by the geometry: vertexCount cut to the records held.
  int32_t UsableCount() const;
  bool FanTriangulate(int32_t n);
};

}  // namespace ostrand

#include "ostrand/surface/texture_list.h"
