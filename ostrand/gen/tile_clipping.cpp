// Tile clipping: splitting pieces at tile borders and filing them.
#include "ostrand/gen/tile_clipping.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "ostrand/gen/generation_run.h"
#include "ostrand/gen/line.h"
#include "ostrand/gen/working_units.h"
#include "ostrand/surface/winding.h"

namespace ostrand {
namespace {

// Splits deeper than this in one direction drop the piece.
constexpr int32_t kMaxSplitDepth = 40;
// A lone vertex at least this far beyond the tile size from the cut still
// spans another border.
constexpr int64_t kSpanSlack = 5;

int32_t IndexOf(int64_t v, int32_t origin, int32_t size) {
  const int64_t index = (v - origin) / size;
  return index < 0 || index >= kTilesPerSide ? 0 : static_cast<int32_t>(index);
}

// The first tile border above c (columns from originX, rows from originZ).
int64_t NextBorder(int64_t c, int32_t origin, int64_t size) {
  return origin + ((c + size - origin) / size) * size;
}

// The border that a piece starting at `low` is cut at.
int32_t CutAbove(int32_t low, int32_t origin, int64_t size) {
  return ClampToInt32(origin + ((int64_t{low} + size + 1 - origin) / size) * size);
}

// True when the surface piece encloses no area: corners that the rounding
// of the cuts made equal, or that lie on one line. Such slivers are not
// filed. (Differences of corners within a few tiles keep the products
// exact in doubles.)
bool EnclosesNoArea(const PlanePoint* corners, int32_t n) {
  double twice = 0;
  for (int32_t i = 1; i + 1 < n; ++i) {
    const double ax = static_cast<double>(int64_t{corners[i].x} - corners[0].x);
    const double az = static_cast<double>(int64_t{corners[i].z} - corners[0].z);
    const double bx = static_cast<double>(int64_t{corners[i + 1].x} - corners[0].x);
    const double bz = static_cast<double>(int64_t{corners[i + 1].z} - corners[0].z);
    twice += ax * bz - bx * az;
  }
  return twice == 0;
}

// The section of the layer that a piece of n corners goes into: the
// current one when the corners it does not hold yet fit its table, else a
// further section.
TileSection& SectionFor(TileLayer& layer, const PlanePoint* corners, int32_t n) {
  TileSection& current = layer.Current();
  const int32_t room = current.points.capacity - current.points.count;
  if (n <= room) return current;
  int32_t missing = 0;
  for (int32_t i = 0; i < n; ++i) {
    bool earlier = false;
    for (int32_t k = 0; k < i && !earlier; ++k) {
      earlier = corners[k].x == corners[i].x && corners[k].z == corners[i].z;
    }
    if (!earlier && !current.Contains(corners[i].x, corners[i].z)) ++missing;
  }
  return missing <= room ? current : layer.AddSection();
}

// True when a surface piece, with its corners found in `target` as
// `points`, winds the negative way about the normal (0, 32767, 0) that
// pieces get: what TEXTURE::Orientation would say, taken from the corners
// themselves where every turn is clear, else asked of the polygon.
bool WindsNegatively(const PlanePoint* corners, int32_t n, const TextureHeader& header,
                     const int32_t* points, const TileSection& target, TEXTURE& scratch) {
  // The plane of the winding test for that normal: u = z, v = x.
  int64_t sum = 0;
  if (SumOfClearTurns(n, [corners](int32_t k, int64_t& u, int64_t& v) {
        u = corners[k].z, v = corners[k].x;
        return true;
      }, sum)) {
    return sum < 0;
  }
  scratch.header = header;
  for (int32_t i = 0; i < n; ++i) {
    scratch.vertices[static_cast<size_t>(i)] = TexVertex();
    scratch.vertices[static_cast<size_t>(i)].point = points[i];
  }
  return scratch.Orientation(target.points, 0) == 1;
}

// Files a piece of n (2 to 4) corners into the current tile's layer, in a
// section whose table takes all its corners. Surfaces are turned to the
// positive winding; a surface that encloses no area is not filed.
void FilePiece(GenerationRun& run, int layer, const PlanePoint* corners, int32_t n,
               int32_t attribute, bool surface) {
  if (surface && EnclosesNoArea(corners, n)) return;
  const ClippingState& state = run.clipping;
  TileSection& target = SectionFor(run.grid.Layer(state.column, state.row, layer), corners, n);
  TextureHeader header;
  header.normal[1] = 32767;
  header.real = 1.0;
  header.vertexCount = n;
  header.attribute = attribute;
  int32_t points[4];
  for (int32_t i = 0; i < n; ++i) {
    points[i] = target.FindOrAddPoint(corners[i].x, corners[i].z);
    if (points[i] < 0) return;
  }
  if (surface && WindsNegatively(corners, n, header, points, target, run.clipping.scratch))
    std::reverse(points, points + n);
  target.polygons.Add(header, points, n);
}

void AddLineToTile(GenerationRun& run, int layer, PlanePoint a, PlanePoint b, int32_t attribute) {
  SelectTile(run, (int64_t{a.x} + b.x) / 2, (int64_t{a.z} + b.z) / 2);
  const PlanePoint ends[2] = {a, b};
  FilePiece(run, layer, ends, 2, attribute, false);
}

void CutLine(GenerationRun& run, int layer, PlanePoint a, PlanePoint b, int32_t attribute,
             bool alongX);

// A light string within one column, cut at every row border.
void SplitLineZ(GenerationRun& run, int layer, PlanePoint a, PlanePoint b, int32_t attribute) {
  CutLine(run, layer, a, b, attribute, false);
}

// Cuts a light string at every column border (alongX, each piece then goes
// to SplitLineZ) or at every row border (each piece filed).
void CutLine(GenerationRun& run, int layer, PlanePoint a, PlanePoint b, int32_t attribute,
             bool alongX) {
  const TileGrid& grid = run.grid;
  auto along = [alongX](PlanePoint p) { return alongX ? p.x : p.z; };
  auto index = [&grid, alongX](int64_t v) {
    return alongX ? TileIndex(grid, v) : TileIndexZ(grid, v);
  };
  auto file = [&](PlanePoint from, PlanePoint to) {
    if (alongX) {
      SplitLineZ(run, layer, from, to, attribute);
    } else {
      AddLineToTile(run, layer, from, to, attribute);
    }
  };
  if (index(int64_t{along(a)} + 1) == index(int64_t{along(b)} - 1) || along(a) == along(b)) {
    file(a, b);
    return;
  }
  if (along(a) > along(b)) std::swap(a, b);
  Line line;
  line.Set(a.x, a.z, b.x, b.z);
  const int32_t origin = alongX ? grid.OriginX() : grid.OriginZ();
  PlanePoint c = a;
  while (along(c) < along(b)) {
    const int32_t border =
        ClampToInt32(std::min<int64_t>(NextBorder(along(c), origin, grid.TileSize()), along(b)));
    const PlanePoint n = alongX ? PlanePoint{border, TruncateToInt32(line.ZAtX(border))}
                                : PlanePoint{TruncateToInt32(line.XAtZ(border)), border};
    file(c, n);
    c = n;
  }
}

void AddTriangleToTile(GenerationRun& run, int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3) {
  SelectTile(run, (int64_t{p1.x} + p2.x + p3.x) / 3, (int64_t{p1.z} + p2.z + p3.z) / 3);
  const PlanePoint corners[3] = {p1, p2, p3};
  FilePiece(run, layer, corners, 3, 0, true);
}

void AddQuadToTile(GenerationRun& run, int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3,
                   PlanePoint p4) {
  SelectTile(run, (int64_t{p1.x} + p2.x + p3.x + p4.x) / 4,
             (int64_t{p1.z} + p2.z + p3.z + p4.z) / 4);
  const PlanePoint corners[4] = {p1, p2, p3, p4};
  FilePiece(run, layer, corners, 4, 0, true);
}

// Access to one axis of a point, so that one cut routine serves x and z.
struct Axis {
  bool alongX;
  int32_t Along(PlanePoint p) const { return alongX ? p.x : p.z; }
  // The crossing of edge a -> b with the cut, as a point on the cut.
  PlanePoint Crossing(PlanePoint a, PlanePoint b, int32_t cut) const {
    Line edge;
    edge.Set(a.x, a.z, b.x, b.z);
    if (alongX) return {cut, RoundHalfUp(edge.ZAtX(cut))};
    return {RoundHalfUp(edge.XAtZ(cut)), cut};
  }
};

void SplitTriangleZ(GenerationRun& run, int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3);

// Cuts a triangle that spans a border along the axis, into a triangle and a
// quadrilateral (or, when the cut runs through a corner, two triangles).
void CutTriangle(GenerationRun& run, int layer, const Axis& axis, PlanePoint p1, PlanePoint p2,
                 PlanePoint p3) {
  const TileGrid& g = run.grid;
  int32_t& depth = axis.alongX ? run.clipping.depthX : run.clipping.depthZ;
  ++depth;
  if (depth >= kMaxSplitDepth) {
    --depth;
    return;
  }
  const int32_t origin = axis.alongX ? g.OriginX() : g.OriginZ();
  const int32_t low = std::min({axis.Along(p1), axis.Along(p2), axis.Along(p3)});
  const int32_t cut = CutAbove(low, origin, g.TileSize());
  const int32_t v1 = axis.Along(p1), v2 = axis.Along(p2), v3 = axis.Along(p3);
  const bool c12 = Between(cut, v1, v2) != 0;
  const bool c23 = Between(cut, v2, v3) != 0;
  const bool c31 = Between(cut, v3, v1) != 0;

  // The lone-vertex triangle: cut again while it still spans a border.
  auto lone = [&](PlanePoint a, PlanePoint alone, PlanePoint b) {
    if (std::llabs(int64_t{axis.Along(alone)} - cut) >= int64_t{g.TileSize()} + kSpanSlack) {
      AddTriangle(run, layer, a, alone, b);
    } else if (axis.alongX) {
      SplitTriangleZ(run, layer, a, alone, b);
    } else {
      AddTriangleToTile(run, layer, a, alone, b);
    }
  };

  if (c12 && c23) {
    const PlanePoint a = axis.Crossing(p1, p2, cut), b = axis.Crossing(p2, p3, cut);
    lone(a, p2, b);
    AddQuad(run, layer, p1, a, b, p3);
  } else if (c23 && c31) {
    const PlanePoint a = axis.Crossing(p2, p3, cut), b = axis.Crossing(p3, p1, cut);
    lone(a, p3, b);
    AddQuad(run, layer, p1, p2, a, b);
  } else if (c12 && c31) {
    const PlanePoint a = axis.Crossing(p1, p2, cut), b = axis.Crossing(p3, p1, cut);
    lone(a, p1, b);
    AddQuad(run, layer, p2, p3, b, a);
  } else if (v1 == cut && c23) {
    // The cut runs through a corner and across the opposite edge: two
    // triangles, one either side, so that no pavement is lost.
    const PlanePoint x = axis.Crossing(p2, p3, cut);
    AddTriangle(run, layer, p1, p2, x);
    AddTriangle(run, layer, p1, x, p3);
  } else if (v2 == cut && c31) {
    const PlanePoint x = axis.Crossing(p3, p1, cut);
    AddTriangle(run, layer, p2, p3, x);
    AddTriangle(run, layer, p2, x, p1);
  } else if (v3 == cut && c12) {
    const PlanePoint x = axis.Crossing(p1, p2, cut);
    AddTriangle(run, layer, p3, p1, x);
    AddTriangle(run, layer, p3, x, p2);
  }
  // Otherwise the cut misses the triangle (only outside the grid): dropped.
  --depth;
}

void SplitTriangleZ(GenerationRun& run, int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3) {
  const int32_t minZ = std::min({p1.z, p2.z, p3.z});
  const int32_t maxZ = std::max({p1.z, p2.z, p3.z});
  if (TileIndexZ(run.grid, int64_t{minZ} + 1) == TileIndexZ(run.grid, int64_t{maxZ} - 1)) {
    AddTriangleToTile(run, layer, p1, p2, p3);
    return;
  }
  CutTriangle(run, layer, Axis{false}, p1, p2, p3);
}

}  // namespace

int32_t TileIndex(const TileGrid& grid, int64_t x) {
  return IndexOf(x, grid.OriginX(), grid.TileSize());
}

int32_t TileIndexZ(const TileGrid& grid, int64_t z) {
  return IndexOf(z, grid.OriginZ(), grid.TileSize());
}

void SelectTile(GenerationRun& run, int64_t x, int64_t z) {
  run.clipping.column = TileIndex(run.grid, x);
  run.clipping.row = TileIndexZ(run.grid, z);
}

int32_t CellId(const TileGrid& grid, int64_t x, int64_t z) {
  return TileIndex(grid, x) * 256 + TileIndexZ(grid, z);
}

int Between(int32_t v, int32_t a, int32_t b) {
  if (a == b) return 0;
  return (a < v && v < b) || (b < v && v < a) ? 1 : 0;
}

namespace {

// Keeps the piece when pieces are held (true), else false.
bool KeepWhileHolding(ClippingState& state, int layer, std::initializer_list<PlanePoint> corners,
                      int32_t attribute) {
  if (!state.holding) return false;
  HeldPiece piece;
  piece.layer = layer;
  piece.attribute = attribute;
  for (const PlanePoint& c : corners) piece.corners[piece.n++] = c;
  state.held.push_back(piece);
  return true;
}

}  // namespace

void AddLightLine(GenerationRun& run, int layer, int32_t x1, int32_t z1, int32_t x2, int32_t z2,
                  int32_t attribute) {
  if (KeepWhileHolding(run.clipping, layer, {{x1, z1}, {x2, z2}}, attribute)) return;
  CutLine(run, layer, {x1, z1}, {x2, z2}, attribute, true);
}

void HoldPieces(GenerationRun& run) { run.clipping.holding = true; }

bool HeldPiecesInsideGrid(const GenerationRun& run) {
  const TileGrid& g = run.grid;
  const int64_t span = int64_t{g.TileSize()} * kTilesPerSide;
  for (const HeldPiece& piece : run.clipping.held) {
    for (int32_t i = 0; i < piece.n; ++i) {
      const int64_t dx = int64_t{piece.corners[i].x} - g.OriginX();
      const int64_t dz = int64_t{piece.corners[i].z} - g.OriginZ();
      if (dx < 0 || dx >= span || dz < 0 || dz >= span) return false;
    }
  }
  return true;
}

void ExtendByHeldPieces(GenerationRun& run) {
  for (const HeldPiece& piece : run.clipping.held) {
    for (int32_t i = 0; i < piece.n; ++i) run.box.Extend(piece.corners[i].x, piece.corners[i].z);
  }
}

void FileHeldPieces(GenerationRun& run) {
  ClippingState& state = run.clipping;
  state.holding = false;
  // Each piece leaves the queue as it is filed, so that the memory it held
  // serves the growing tile layers.
  while (!state.held.empty()) {
    const HeldPiece piece = state.held.front();
    state.held.pop_front();
    const PlanePoint* c = piece.corners;
    if (piece.n == 2) {
      AddLightLine(run, piece.layer, c[0].x, c[0].z, c[1].x, c[1].z, piece.attribute);
    } else if (piece.n == 3) {
      AddTriangle(run, piece.layer, c[0], c[1], c[2]);
    } else {
      AddQuad(run, piece.layer, c[0], c[1], c[2], c[3]);
    }
  }
}

namespace {

// Notes the area of a piece handed in from outside the clipping.
class EntryGuard {
 public:
  EntryGuard(ClippingState& state, int layer, std::initializer_list<PlanePoint> corners)
      : state_(state) {
    if (state_.nesting++ == 0 && layer >= 0 && layer < kLayersPerTile) {
      double sum = 0;
      const PlanePoint* c = corners.begin();
      const size_t n = corners.size();
      for (size_t i = 0; i < n; ++i) {
        const PlanePoint& a = c[i];
        const PlanePoint& b = c[(i + 1) % n];
        sum += static_cast<double>(a.x) * b.z - static_cast<double>(b.x) * a.z;
      }
      state_.handedArea[layer] += std::fabs(sum) / 2;
    }
  }
  ~EntryGuard() { --state_.nesting; }
  EntryGuard(const EntryGuard&) = delete;
  EntryGuard& operator=(const EntryGuard&) = delete;

 private:
  ClippingState& state_;
};

}  // namespace

void AddTriangle(GenerationRun& run, int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3) {
  if (KeepWhileHolding(run.clipping, layer, {p1, p2, p3}, 0)) return;
  const EntryGuard entry(run.clipping, layer, {p1, p2, p3});
  const int32_t minX = std::min({p1.x, p2.x, p3.x});
  const int32_t maxX = std::max({p1.x, p2.x, p3.x});
  if (TileIndex(run.grid, int64_t{minX} + 1) == TileIndex(run.grid, int64_t{maxX} - 1)) {
    SplitTriangleZ(run, layer, p1, p2, p3);
    return;
  }
  CutTriangle(run, layer, Axis{true}, p1, p2, p3);
}

void AddQuad(GenerationRun& run, int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3,
             PlanePoint p4) {
  if (KeepWhileHolding(run.clipping, layer, {p1, p2, p3, p4}, 0)) return;
  const int32_t minX = std::min({p1.x, p2.x, p3.x, p4.x});
  const int32_t maxX = std::max({p1.x, p2.x, p3.x, p4.x});
  const int32_t minZ = std::min({p1.z, p2.z, p3.z, p4.z});
  const int32_t maxZ = std::max({p1.z, p2.z, p3.z, p4.z});
  if (CellId(run.grid, int64_t{minX} + 1, int64_t{minZ} + 1) !=
      CellId(run.grid, int64_t{maxX} - 1, int64_t{maxZ} - 1)) {
    AddTriangle(run, layer, p1, p2, p3);
    AddTriangle(run, layer, p1, p3, p4);
    return;
  }
  // A quadrilateral is taken as filed: whole, or as the two triangles above
  // (noted each on its own), which for a twisted or concave one differs.
  const EntryGuard entry(run.clipping, layer, {p1, p2, p3, p4});
  AddQuadToTile(run, layer, p1, p2, p3, p4);
}

}  // namespace ostrand
