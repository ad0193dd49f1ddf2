#include "ostrand/surface/surface_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

namespace ostrand {

namespace {

constexpr int32_t kRecordType = 5;
constexpr int32_t kSectionHeader[4] = {20, 65536, 2, 0};
constexpr int32_t kRecordFixed[4] = {0, 65535, 0, 0};

// A single as the integer of its bits, as the file stores it.
int32_t SingleBits(float v) { return static_cast<int32_t>(std::bit_cast<uint32_t>(v)); }

}  // namespace

SurfaceFile::~SurfaceFile() { Close(); }

long SurfaceFile::Tell() { return file.Tell(); }

int SurfaceFile::WriteSingle(float v) { return file.WriteInt(SingleBits(v)); }

int SurfaceFile::ReadSingle(float& v) {
  int32_t bits = 0;
  if (!file.ReadInt(bits)) return 0;
  v = std::bit_cast<float>(static_cast<uint32_t>(bits));
  return 1;
}

// ---- writing ----

int SurfaceFile::Create(const std::string& name) {
  Close();
  sectionStart = 0;
  state = kStateOutside;
  return file.OpenWrite(name);
}

int SurfaceFile::WriteOrigin(double a, double b, double c) {
  if (!file.IsOpen()) return 0;
  int ok = file.WriteTag("<orgn>");
  ok &= file.WriteReal(a);
  ok &= file.WriteReal(b);
  ok &= file.WriteReal(c);
  ok &= file.WriteInt(1);
  return ok;
}

int SurfaceFile::WriteGrid() {
  int ok = file.WriteTag("<tlxz>");
  ok &= file.WriteInt(tilesX);
  ok &= file.WriteInt(tilesZ);
  ok &= file.WriteTag("<feet>");
  ok &= WriteSingle(tileFeet);
  ok &= file.WriteTag("<lowl>");
  for (double v : lowLeft) ok &= file.WriteReal(v);
  return ok;
}

int SurfaceFile::WriteTile() {
  // A section left open by a caller that skipped the tile end is finished
  // first, so that its length is right.
  int ok = CloseSection();
  ok &= file.WriteTag("<tile>");
  ok &= file.WriteTag("<bgno>");
  ok &= file.WriteTag("<indx>");
  ok &= file.WriteInt(tileX);
  ok &= file.WriteInt(tileZ);
  state = kStateTile;
  return ok;
}

int SurfaceFile::OpenSection() {
  if (sectionStart != 0) return 1;
  long position = Tell();
  if (position <= 0 || position > INT32_MAX) return 0;
  sectionStart = static_cast<int32_t>(position);
  return file.WriteInt(0);
}

int SurfaceFile::CloseSection() {
  if (sectionStart == 0) return 1;
  int ok = file.WriteInt(0);
  long end = Tell();
  if (end >= 0) {
    // The length goes into the placeholder that OpenSection wrote.
    int64_t length = static_cast<int64_t>(end) - sectionStart - 4;
    ok &= file.OverwriteInt(sectionStart, static_cast<int32_t>(length));
    file.Settle();  // nothing before a closed section is written over
  } else {
    ok = 0;
  }
  sectionStart = 0;
  return ok;
}

int SurfaceFile::WritePolygonRecord(int32_t kind, const int32_t* corners, int32_t n) {
  const char* tag = kind == kStatePave ? "<pave>" : kind == kStateEdgeMark ? "<edmk>" : "<cntr>";
  if (kind != kStatePave && kind != kStateEdgeMark) kind = kStateCentre;
  int ok = file.IsOpen();
  if (state != kStateTile && state != kind) {
    state = kStateTile;
    ok &= CloseSection();
  }
  if (state == kStateTile) {
    ok &= file.WriteTag(tag);
    ok &= OpenSection();
    ok &= file.WriteInts(kSectionHeader, std::size(kSectionHeader));
    // A count the table cannot hold is written as an empty table, so that
    // the section stays readable.
    int32_t count = points.count;
    if (count < 0 || count > points.capacity || count > static_cast<int32_t>(points.points.size()))
      count = 0;
    ok &= file.WriteInt(count);
    ok &= file.WriteInts(points.points.data(), static_cast<size_t>(count));
    state = kind;
  }
  if (n < 3 || n > TEXTURE::kMaxVertices) return 0;
  // The record in one piece: type, vertex count, the fixed fields, the
  // point indices.
  int32_t record[6 + TEXTURE::kMaxVertices];  // only the fields in use are set
  record[0] = kRecordType;
  record[1] = n;
  std::copy(std::begin(kRecordFixed), std::end(kRecordFixed), record + 2);
  std::copy(corners, corners + n, record + 6);
  ok &= file.WriteInts(record, 6 + static_cast<size_t>(n));
  return ok;
}

int SurfaceFile::WritePolygon(int32_t kind) {
  const int32_t n = polygon.vertexCount();
  if (n < 3 || n > TEXTURE::kMaxVertices || n > static_cast<int32_t>(polygon.vertices.size()))
    return WritePolygonRecord(kind, nullptr, 0);
  int32_t corners[TEXTURE::kMaxVertices];
  for (int32_t i = 0; i < n; ++i) corners[i] = polygon.vertices[static_cast<size_t>(i)].point;
  return WritePolygonRecord(kind, corners, n);
}

int SurfaceFile::WritePave() { return WritePolygon(kStatePave); }
int SurfaceFile::WriteEdgeMark() { return WritePolygon(kStateEdgeMark); }
int SurfaceFile::WriteCentre() { return WritePolygon(kStateCentre); }

int SurfaceFile::WriteLights() {
  int ok = file.IsOpen();
  if (state != kStateTile && state != kStateLights) {
    state = kStateTile;
    ok &= CloseSection();
  }
  if (state == kStateTile) {
    ok &= file.WriteTag("<lite>");
    ok &= OpenSection();
    state = kStateLights;
  }
  int32_t count = points.count;
  if (count < 0 || count > points.capacity || count > static_cast<int32_t>(points.points.size()))
    count = 0;
  if (count > 0) {
    ok &= file.WriteInt(count);
    ok &= file.WriteInt(lightType);
    // The positions in whole feet (the division truncates toward zero), as
    // singles, a few hundred at a time.
    int32_t singles[512];
    for (int32_t i = 0; i < count;) {
      size_t m = 0;
      for (; i < count && m < std::size(singles); ++i) {
        singles[m++] = SingleBits(static_cast<float>(points[i].x / 256));
        singles[m++] = SingleBits(static_cast<float>(points[i].z / 256));
      }
      ok &= file.WriteInts(singles, m);
    }
    if (count > 1) ok &= WriteSingle(stepFeet);
  }
  return ok;
}

int SurfaceFile::EndSection() {
  if (state == kStateOutside || state == kStateTile) return 1;
  state = kStateTile;
  return CloseSection();
}

int SurfaceFile::WriteTileEnd() {
  int ok = EndSection();
  if (state == kStateTile) {
    ok &= file.WriteTag("<endo>");
    state = kStateOutside;
  }
  return ok;
}

int SurfaceFile::Close() {
  CloseSection();
  state = kStateOutside;
  return file.Close();
}

// ---- reading ----

int SurfaceFile::Open(const std::string& name) {
  Close();
  return file.OpenRead(name);
}

int SurfaceFile::ReadOrigin(double& a, double& b, double& c) { return file.ReadOrigin(a, b, c); }

int SurfaceFile::ReadGrid() {
  if (!file.FindTag("<tlxz>")) return 0;
  int ok = file.ReadInt(tilesX);
  ok &= file.ReadInt(tilesZ);
  if (!file.FindTag("<feet>")) return 0;
  ok &= ReadSingle(tileFeet);
  if (!file.FindTag("<lowl>")) return 0;
  for (double& v : lowLeft) ok &= file.ReadReal(v);
  return ok;
}

int SurfaceFile::ReadTile() {
  if (!file.FindTag("<tile>") || !file.FindTag("<bgno>") || !file.FindTag("<indx>")) return 0;
  if (!file.ReadInt(tileX) || !file.ReadInt(tileZ)) return 0;
  state = kStateTile;
  return 1;
}

int SurfaceFile::ReadPolygon(int32_t kind, const char* tag) {
  if (state == kStateTile && file.FindTag(tag)) {
    int32_t ignored = 0;
    file.ReadInt(ignored);  // length
    for (int i = 0; i < 4; ++i) file.ReadInt(ignored);
    int32_t count = 0;
    if (!file.ReadInt(count) || count < 0 || count > points.capacity) count = 0;
    points.base = 0;
    points.count = 0;
    for (int32_t i = 0; i < count; ++i) {
      IntPoint p;
      if (!file.ReadInt(p.x) || !file.ReadInt(p.y) || !file.ReadInt(p.z)) break;
      points[i] = p;
      points.count = i + 1;
    }
    state = kind;
  }
  if (state != kind) return 0;

  bool read = false;
  int32_t type = 0;
  if (file.ReadInt(type)) {
    if (type != kRecordType) {
      file.Seek(file.Tell() - 4);
    } else {
      int32_t n = 0;
      polygon.vertexCount() = 0;
      if (file.ReadInt(n) && n >= 0 && n <= TEXTURE::kMaxVertices &&
          n <= static_cast<int32_t>(polygon.vertices.size())) {
        int32_t fixed = 0;
        bool ok = true;
        for (int i = 0; i < 4 && ok; ++i) ok = file.ReadInt(fixed) != 0;
        for (int32_t i = 0; i < n && ok; ++i)
          ok = file.ReadInt(polygon.vertices[static_cast<size_t>(i)].point) != 0;
        // A record cut short by the end of the file is not a record.
        if (ok) {
          polygon.vertexCount() = n;
          read = n > 0;
        }
      }
    }
  }
  if (read) return 1;

  state = kStateTile;
  int32_t terminator = 0;
  if (file.ReadInt(terminator) && terminator != 0) file.Seek(file.Tell() - 4);
  return 0;
}

int SurfaceFile::ReadPave() { return ReadPolygon(kStatePave, "<pave>"); }
int SurfaceFile::ReadEdgeMark() { return ReadPolygon(kStateEdgeMark, "<edmk>"); }
int SurfaceFile::ReadCentre() { return ReadPolygon(kStateCentre, "<cntr>"); }

int SurfaceFile::ReadLights() {
  if (state == kStateTile && file.FindTag("<lite>")) {
    int32_t length = 0;
    file.ReadInt(length);  // not needed: records are read one by one
    state = kStateLights;
  }
  if (state != kStateLights) return 0;

  int32_t count = 0;
  if (!file.ReadInt(count) || count < 0 || count > points.capacity) count = 0;
  if (count == 0) {
    state = kStateTile;  // the zero was the terminator
    return 0;
  }
  file.ReadInt(lightType);
  points.base = 0;
  points.count = 0;
  for (int32_t i = 0; i < count; ++i) {
    float x = 0.0f;
    float z = 0.0f;
    if (!ReadSingle(x) || !ReadSingle(z)) break;
    points[i] = IntPoint{TruncateToInt32(static_cast<double>(x) * 256.0), 0,
                         TruncateToInt32(static_cast<double>(z) * 256.0)};
    points.count = i + 1;
  }
  stepFeet = 0.0f;
  if (count > 1) ReadSingle(stepFeet);
  return 1;
}

int SurfaceFile::ReadTileEnd() {
  if (state != kStateTile || !file.FindTag("<endo>")) return 0;
  state = kStateOutside;
  return 1;
}

}  // namespace ostrand
