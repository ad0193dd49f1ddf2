#include "ostrand/surface/surface_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"
#include "ostrand/surface/surface_test_support.h"

namespace ostrand {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::SetPoints;
using testing::SetPolygon;
using testing::StartTile;
using testing::WriteFileBytes;
using testing::WriteFresh;

// Expected file contents, built item by item.
struct Bytes {
  std::string s;
  Bytes& Tag(const char* t) {
    s.append(t, std::strlen(t) + 1);
    return *this;
  }
  Bytes& I32(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return I32(static_cast<int32_t>(u));
  }
  Bytes& F64(double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) s.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& Header(double lat, double lon) {
    Tag("<bgno>").Tag("<orgn>").F64(lat).F64(lon).F64(0.0).I32(1);
    Tag("<tlxz>").I32(8).I32(8).Tag("<feet>").F32(1000.0f).Tag("<lowl>").F64(0.0).F64(0.0).F64(0.0);
    return *this;
  }
  Bytes& TileHead(int32_t x, int32_t z) { return Tag("<tile>").Tag("<bgno>").Tag("<indx>").I32(x).I32(z); }
};

// Every test works in a scratch folder.
class SurfaceFileTest : public ::testing::Test {
  ScratchDir dir_;
};

TEST_F(SurfaceFileTest, ExactBytesOfASmallFile) {
  SurfaceFile f;
  ASSERT_EQ(f.Create("small.tms"), 1);
  EXPECT_EQ(f.WriteOrigin(184827.0, 3600.0, 0.0), 1);
  EXPECT_EQ(f.WriteGrid(), 1);
  f.tileX = 0;
  f.tileZ = 1;
  EXPECT_EQ(f.WriteTile(), 1);
  SetPoints(f, {{256, 0, 512}, {-300, 0, 0}, {0, 0, 256}});
  SetPolygon(f, {0, 1, 2});
  EXPECT_EQ(f.WritePave(), 1);
  // An empty edge marking section: opened, no record, result 0.
  f.polygon.vertexCount() = 0;
  EXPECT_EQ(f.WriteEdgeMark(), 0);
  SetPoints(f, {{-300, 0, 512}, {1000, 0, -256}});
  f.lightType = 1;
  f.stepFeet = 25.0f;
  EXPECT_EQ(f.WriteLights(), 1);
  EXPECT_EQ(f.WriteTileEnd(), 1);
  f.tileX = 0;
  f.tileZ = 2;
  EXPECT_EQ(f.WriteTile(), 1);
  EXPECT_EQ(f.WriteTileEnd(), 1);
  EXPECT_EQ(f.Close(), 1);

  Bytes e;
  e.Header(184827.0, 3600.0).TileHead(0, 1);
  e.Tag("<pave>").I32(16 + 4 + 12 * 3 + (24 + 4 * 3) + 4).I32(20).I32(65536).I32(2).I32(0);
  e.I32(3).I32(256).I32(0).I32(512).I32(-300).I32(0).I32(0).I32(0).I32(0).I32(256);
  e.I32(5).I32(3).I32(0).I32(65535).I32(0).I32(0).I32(0).I32(1).I32(2);
  e.I32(0);
  e.Tag("<edmk>").I32(16 + 4 + 12 * 3 + 4).I32(20).I32(65536).I32(2).I32(0);
  e.I32(3).I32(256).I32(0).I32(512).I32(-300).I32(0).I32(0).I32(0).I32(0).I32(256);
  e.I32(0);
  // Light positions in whole feet, truncated toward zero: -300 -> -1.
  e.Tag("<lite>").I32(4 + 4 + 2 * 8 + 4 + 4).I32(2).I32(1);
  e.F32(-1.0f).F32(2.0f).F32(3.0f).F32(-1.0f).F32(25.0f).I32(0);
  e.Tag("<endo>");
  // A tile with no sections.
  e.TileHead(0, 2).Tag("<endo>");
  e.Tag("<endo>");
  EXPECT_EQ(ReadFileBytes("small.tms"), e.s);
}

// The length field of the section that starts at `tagOffset`.
int32_t LengthAt(const std::string& bytes, size_t tagOffset) {
  uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(bytes[tagOffset + 7 + static_cast<size_t>(i)]);
  return static_cast<int32_t>(u);
}

TEST_F(SurfaceFileTest, SectionLengthFormula) {
  struct Case {
    int32_t points;
    std::vector<int32_t> polygons;  // vertex counts
  };
  const Case cases[] = {{0, {}}, {5, {3}}, {5, {3, 4, 5}}, {2000, {256, 256}}, {17, {3, 100, 7, 8}}};
  for (const Case& c : cases) {
    ScratchDir dir;
    SurfaceFile f;
    ASSERT_EQ(StartTile(f, "len.tms"), 1);
    // A light section is open when the centre marking starts: it is ended
    // (terminator, length) before "<cntr>" is written.
    long liteOffset = f.Tell();
    SetPoints(f, {{512, 0, 512}});
    f.WriteLights();
    f.points.count = 0;
    for (int32_t i = 0; i < c.points; ++i) f.points.Add(i, -i, 2 * i, -1);
    long tagOffset = f.Tell() + 4;
    int64_t expected = 16 + 4 + 12 * static_cast<int64_t>(c.points) + 4;
    if (c.polygons.empty()) {
      f.polygon.vertexCount() = 0;
      f.WriteCentre();
    }
    for (int32_t n : c.polygons) {
      std::vector<int32_t> idx(static_cast<size_t>(n));
      for (int32_t i = 0; i < n; ++i) idx[static_cast<size_t>(i)] = i % (c.points > 0 ? c.points : 1);
      SetPolygon(f, idx);
      EXPECT_EQ(f.WriteCentre(), 1);
      expected += 24 + 4 * n;
    }
    f.Close();  // ends the open section too
    std::string bytes = ReadFileBytes("len.tms");
    EXPECT_EQ(LengthAt(bytes, static_cast<size_t>(liteOffset)), 4 + 4 + 8 + 4);
    ASSERT_EQ(bytes.compare(static_cast<size_t>(tagOffset) - 4, 11, std::string("\0\0\0\0<cntr>\0", 11)), 0);
    EXPECT_EQ(LengthAt(bytes, static_cast<size_t>(tagOffset)), expected);
    // The length counts up to and including the terminator, which the
    // file's "<endo>" follows.
    size_t end = static_cast<size_t>(tagOffset) + 7 + 4 + static_cast<size_t>(expected);
    EXPECT_EQ(bytes.substr(end - 4, 11), std::string("\0\0\0\0<endo>\0", 11));
  }
}

TEST_F(SurfaceFileTest, RejectedPolygonsAndTables) {
  SurfaceFile f;
  ASSERT_EQ(f.Create("bad.tms"), 1);
  f.WriteTile();
  SetPoints(f, {{1, 2, 3}});
  f.polygon.vertexCount() = 2;
  EXPECT_EQ(f.WritePave(), 0);
  f.polygon.vertexCount() = 257;
  EXPECT_EQ(f.WritePave(), 0);
  f.polygon.vertexCount() = -1;
  EXPECT_EQ(f.WritePave(), 0);
  // A count the table cannot hold is written as an empty table.
  f.points.count = 5000;
  f.polygon.vertexCount() = 0;
  long tag = f.Tell() + 4;  // the rejected polygons opened a pave section
  f.WriteEdgeMark();
  f.points.count = -4;
  EXPECT_EQ(f.WriteLights(), 1);  // nothing written for no positions
  f.WriteTileEnd();
  f.Close();
  std::string bytes = ReadFileBytes("bad.tms");
  Bytes e;
  e.Tag("<edmk>").I32(24).I32(20).I32(65536).I32(2).I32(0).I32(0).I32(0);
  e.Tag("<lite>").I32(4).I32(0).Tag("<endo>").Tag("<endo>");
  EXPECT_EQ(bytes.substr(static_cast<size_t>(tag)), e.s);

  // No file: every write fails.
  SurfaceFile none;
  EXPECT_EQ(none.WriteOrigin(0, 0, 0), 0);
  EXPECT_EQ(none.WriteGrid(), 0);
  EXPECT_EQ(none.WriteTile(), 0);
  SetPolygon(none, {0, 0, 0});
  EXPECT_EQ(none.WritePave(), 0);
  EXPECT_EQ(none.WriteLights(), 0);
}

// Everything a reader sees, one line per item, in the order a consumer
// reads: polygons with their section's point table, light records.
std::string ReadAll(const std::string& name, int maxItems = 1000000) {
  std::string out;
  SurfaceFile f;
  if (!f.Open(name)) return "not open";
  double a = 0, b = 0, c = 0;
  int origin = f.ReadOrigin(a, b, c);
  out += "origin " + std::to_string(origin) + " " + std::to_string(a) + " " + std::to_string(b) + "\n";
  int grid = f.ReadGrid();
  out += "grid " + std::to_string(grid) + "\n";
  int items = 0;
  while (f.ReadTile()) {
    out += "tile " + std::to_string(f.tileX) + " " + std::to_string(f.tileZ) + "\n";
    for (;;) {
      if (++items > maxItems) return out + "runaway\n";
      // As the dump does: a pass that moved without a record is followed by
      // another, so that sections of any kind may follow.
      const long start = f.Tell();
      const char* kind = nullptr;
      if (f.ReadPave()) kind = "pave";
      else if (f.ReadEdgeMark()) kind = "edmk";
      else if (f.ReadCentre()) kind = "cntr";
      if (kind != nullptr) {
        out += std::string(kind) + " " + std::to_string(f.polygon.vertexCount()) + ":";
        for (int32_t i = 0; i < f.polygon.vertexCount(); ++i)
          out += " " + std::to_string(f.polygon.vertices[static_cast<size_t>(i)].point);
        out += " |";
        for (int32_t i = 0; i < f.points.count; ++i)
          out += " " + std::to_string(f.points[i].x) + "," + std::to_string(f.points[i].y) + "," +
                 std::to_string(f.points[i].z);
        out += "\n";
      } else if (f.ReadLights()) {
        out += "lite " + std::to_string(f.lightType) + " " + std::to_string(f.stepFeet) + " " +
               std::to_string(f.points.count) + ":";
        for (int32_t i = 0; i < f.points.count; ++i)
          out += " " + std::to_string(f.points[i].x) + "," + std::to_string(f.points[i].z);
        out += "\n";
      } else if (f.Tell() == start) {
        int end = f.ReadTileEnd();
        out += "end " + std::to_string(end) + "\n";
        break;
      }
    }
  }
  return out;
}

TEST_F(SurfaceFileTest, RoundTripOfRandomTiles) {
  std::mt19937 rng(12345);
  auto uniform = [&](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  for (int round = 0; round < 4; ++round) {
    SurfaceFile f;
    ASSERT_EQ(f.Create("rt.tms"), 1);
    f.WriteOrigin(184827.5 + round, -3600.25, 0.0);
    f.WriteGrid();
    std::string expected = "origin 1 " + std::to_string(184827.5 + round) + " " +
                           std::to_string(-3600.25) + "\ngrid 1\n";
    for (int32_t tx = 0; tx < 8; ++tx) {
      for (int32_t tz = 0; tz < 8; ++tz) {
        f.tileX = tx;
        f.tileZ = tz;
        f.WriteTile();
        expected += "tile " + std::to_string(tx) + " " + std::to_string(tz) + "\n";
        int previous = -1;
        int sections = uniform(0, 5);
        for (int s = 0; s < sections; ++s) {
          int kind;
          do kind = uniform(0, 3);
          while (kind == previous);
          previous = kind;
          if (kind < 3) {
            static const char* names[] = {"pave", "edmk", "cntr"};
            int32_t count = uniform(0, 30);
            f.points.count = 0;
            std::string table = " |";
            for (int32_t i = 0; i < count; ++i) {
              IntPoint p{uniform(-(1 << 24), 1 << 24), uniform(-100, 100), uniform(-(1 << 24), 1 << 24)};
              f.points.Add(p.x, p.y, p.z, -1);
              table += " " + std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.z);
            }
            int polygons = uniform(0, 3);
            if (polygons == 0) f.polygon.vertexCount() = 0;
            for (int k = 0; k < (polygons == 0 ? 1 : polygons); ++k) {
              int32_t n = polygons == 0 ? 0 : (uniform(0, 9) == 0 ? 256 : uniform(3, 12));
              f.polygon.vertexCount() = n;
              std::string line = std::string(names[kind]) + " " + std::to_string(n) + ":";
              for (int32_t i = 0; i < n; ++i) {
                int32_t index = uniform(0, count > 0 ? count - 1 : 0);
                f.polygon.vertices[static_cast<size_t>(i)].point = index;
                line += " " + std::to_string(index);
              }
              if (kind == 0) f.WritePave();
              else if (kind == 1) f.WriteEdgeMark();
              else f.WriteCentre();
              if (n > 0) expected += line + table + "\n";
            }
          } else {
            // Single lights among them: those read back without a step.
            int records = uniform(1, 3);
            for (int r = 0; r < records; ++r) {
              int32_t count = uniform(1, 30);
              f.points.count = 0;
              f.lightType = uniform(0, 255);
              f.stepFeet = static_cast<float>(uniform(1, 400)) / 4.0f;
              std::string line;
              for (int32_t i = 0; i < count; ++i) {
                int32_t x = uniform(-(1 << 20), 1 << 20);
                int32_t z = uniform(-(1 << 20), 1 << 20);
                f.points.Add(x, 0, z, -1);
                line += " " + std::to_string(x / 256 * 256) + "," + std::to_string(z / 256 * 256);
              }
              f.WriteLights();
              expected += "lite " + std::to_string(f.lightType) + " " +
                          std::to_string(count > 1 ? f.stepFeet : 0.0f) + " " + std::to_string(count) +
                          ":" + line + "\n";
            }
          }
        }
        f.WriteTileEnd();
        expected += "end 1\n";
      }
    }
    f.Close();
    EXPECT_EQ(ReadAll("rt.tms"), expected) << "round " << round;
  }
}

TEST_F(SurfaceFileTest, ReaderLeavesTheStreamOnAMismatch) {
  SurfaceFile w;
  ASSERT_EQ(w.Create("m.tms"), 1);
  w.WriteOrigin(1, 2, 3);
  w.WriteGrid();
  w.WriteTile();
  SetPoints(w, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}});
  SetPolygon(w, {2, 1, 0});
  w.WriteCentre();
  w.WriteTileEnd();
  w.Close();

  SurfaceFile r;
  ASSERT_EQ(r.Open("m.tms"), 1);
  double a, b, c;
  EXPECT_EQ(r.ReadGrid(), 0);  // the origin comes first
  ASSERT_EQ(r.ReadOrigin(a, b, c), 1);
  EXPECT_EQ(c, 3.0);
  ASSERT_EQ(r.ReadGrid(), 1);
  EXPECT_EQ(r.ReadTileEnd(), 0);  // state 0
  ASSERT_EQ(r.ReadTile(), 1);
  long here = r.Tell();
  EXPECT_EQ(r.ReadPave(), 0);
  EXPECT_EQ(r.ReadEdgeMark(), 0);
  EXPECT_EQ(r.ReadLights(), 0);
  EXPECT_EQ(r.ReadTileEnd(), 0);
  EXPECT_EQ(r.Tell(), here);
  EXPECT_EQ(r.state, SurfaceFile::kStateTile);
  ASSERT_EQ(r.ReadCentre(), 1);
  EXPECT_EQ(r.polygon.vertices[0].point, 2);
  // In the centre section, the other kinds read nothing.
  here = r.Tell();
  EXPECT_EQ(r.ReadPave(), 0);
  EXPECT_EQ(r.ReadLights(), 0);
  EXPECT_EQ(r.Tell(), here);
  EXPECT_EQ(r.ReadCentre(), 0);  // the terminator
  EXPECT_EQ(r.state, SurfaceFile::kStateTile);
  EXPECT_EQ(r.ReadTileEnd(), 1);
  EXPECT_EQ(r.ReadTile(), 0);  // the file's "<endo>"

  EXPECT_EQ(r.Open("missing.tms"), 0);
  WriteFileBytes("notbgr.tms", std::string("<bgnx>\0", 7));
  EXPECT_EQ(r.Open("notbgr.tms"), 0);
}

// A file with one section of each kind, for the damage tests.
std::string SampleFile() {
  ScratchDir dir;
  SurfaceFile w;
  w.Create("s.tms");
  w.WriteOrigin(184827.0, 3600.0, 0.0);
  w.WriteGrid();
  for (int32_t t = 0; t < 2; ++t) {
    w.tileX = t;
    w.WriteTile();
    SetPoints(w, {{0, 0, 0}, {2560, 0, 0}, {2560, 0, 2560}, {0, 0, 2560}});
    SetPolygon(w, {0, 1, 2, 3});
    w.WritePave();
    SetPolygon(w, {0, 1, 2});
    w.WritePave();
    w.WriteEdgeMark();
    w.WriteCentre();
    w.stepFeet = 25.0f;
    w.WriteLights();
    w.WriteTileEnd();
  }
  w.Close();
  return ReadFileBytes("s.tms");
}

TEST_F(SurfaceFileTest, TruncatedFilesReadCleanly) {
  const std::string whole = SampleFile();
  WriteFileBytes("whole.tms", whole);
  const std::string full = ReadAll("whole.tms");
  EXPECT_NE(full.find("lite 0 25.000000 4:"), std::string::npos);
  for (size_t n = 0; n < whole.size(); ++n) {
    WriteFresh("cut.tms", whole.substr(0, n));
    std::string got = ReadAll("cut.tms", 1000);
    EXPECT_EQ(got.find("runaway"), std::string::npos) << n;
    if (n < 7) {
      EXPECT_EQ(got, "not open");
    }
  }
}

// Offset of the first occurrence of a tag in the bytes.
size_t Find(const std::string& bytes, const char* tag, size_t from = 0) {
  return bytes.find(std::string(tag, std::strlen(tag) + 1), from);
}

void PutI32(std::string& bytes, size_t offset, int32_t v) {
  Bytes b;
  b.I32(v);
  bytes.replace(offset, 4, b.s);
}

TEST_F(SurfaceFileTest, CorruptCountsAndTagsAreClamped) {
  const std::string whole = SampleFile();
  const size_t pave = Find(whole, "<pave>");
  const size_t pointCount = pave + 7 + 4 + 16;
  const size_t firstRecord = pointCount + 4 + 4 * 12;
  const size_t lite = Find(whole, "<lite>");
  const size_t lightCount = lite + 7 + 4;
  struct Case {
    const char* name;
    size_t offset;
    int32_t value;
    const char* expect;  // a line the reading must show, or "" for none
  };
  const Case cases[] = {
      {"point count huge", pointCount, 0x7FFFFFFF, ""},
      {"point count negative", pointCount, -1, ""},
      {"point count one past capacity", pointCount, 2001, ""},
      {"vertex count 257", firstRecord + 4, 257, ""},
      {"vertex count negative", firstRecord + 4, -5, ""},
      {"vertex count huge", firstRecord + 4, 0x7FFFFFFF, ""},
      {"record type 6", firstRecord, 6, ""},
      {"vertex index outside the table", firstRecord + 24, 100000, "pave 4: 100000 1 2 3 |"},
      {"light count huge", lightCount, 0x40000000, ""},
      {"light count negative", lightCount, INT32_MIN, ""},
      {"light count at capacity", lightCount, 2000, "lite 0 0.000000 68:"},
      {"pave tag", pave + 1, 0x65766170, ""},
      {"lite tag", lite + 1, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes = whole;
    PutI32(bytes, c.offset, c.value);
    WriteFresh("bad.tms", bytes);
    std::string got = ReadAll("bad.tms", 1000);
    EXPECT_EQ(got.find("runaway"), std::string::npos);
    if (*c.expect != 0) {
      EXPECT_NE(got.find(c.expect), std::string::npos) << got;
    }
    // Every byte position, every value of that kind.
    for (size_t at = c.offset; at < c.offset + 4; ++at) {
      std::string again = whole;
      again[at] = static_cast<char>(0xFF);
      WriteFresh("bad2.tms", again);
      EXPECT_EQ(ReadAll("bad2.tms", 1000).find("runaway"), std::string::npos);
    }
  }
}

TEST_F(SurfaceFileTest, FileWithoutEndEndsTheTileLoop) {
  std::string whole = SampleFile();
  // Cut after the first tile's "<endo>".
  size_t second = Find(whole, "<tile>", Find(whole, "<tile>") + 1);
  WriteFileBytes("open.tms", whole.substr(0, second));
  std::string got = ReadAll("open.tms");
  EXPECT_NE(got.find("tile 0 0"), std::string::npos);
  EXPECT_EQ(got.find("tile 1 0"), std::string::npos);
  EXPECT_EQ(got.substr(got.size() - 6), "end 1\n");
}

}  // namespace
}  // namespace ostrand
