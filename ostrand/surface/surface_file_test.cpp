#include "ostrand/surface/surface_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <fstream>
#include <string>
#include <tuple>

#include "ostrand/surface/test_support.h"

namespace ostrand {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;

// The bytes a layout text describes: "<tag>" words are tags with their NUL;
// "i32", "f32" and "f64" choose how the numbers after them are written
// (little-endian); "#" comments out the rest of the line.
std::string LayoutBytes(const std::string& path) {
  std::ifstream in(path);
  std::string bytes, word, type = "i32";
  while (in >> word) {
    if (word[0] == '#') std::getline(in, word);
    else if (word[0] == '<') bytes.append(word.c_str(), word.size() + 1);
    else if (word == "i32" || word == "f32" || word == "f64") type = word;
    else {
      const uint64_t bits = type == "f64"   ? std::bit_cast<uint64_t>(std::stod(word))
                            : type == "f32" ? std::bit_cast<uint32_t>(std::stof(word))
                                            : static_cast<uint32_t>(std::stoi(word));
      for (int i = 0; i < (type == "f64" ? 8 : 4); ++i) bytes.push_back(static_cast<char>(bits >> (8 * i)));
    }
  }
  return bytes;
}

TEST(SurfaceFileTest, ExactBytesOfTheSample) {
  ScratchDir dir;
  ASSERT_EQ(testing::WriteSample("sample.tms"), 1);
  const std::string expected = LayoutBytes(OSTRAND_SOURCE_DIR "/ostrand/surface/testdata/sample.layout");
  ASSERT_GT(expected.size(), 100u);
  EXPECT_EQ(ReadFileBytes("sample.tms"), expected);
}

// One pavement section and one light section from a table of `points`
// entries (the count set as is, past what the table holds too) and a
// polygon of `vertices` corners, ended by Close; then read back.
TEST(SurfaceFileTest, LimitsOfTablesAndPolygonsRoundTrip) {
  // Name, points, vertices, result of WritePave, point table read back (also
  // the light positions).
  const struct { const char* name; int32_t points, vertices, written, tableRead; } rows[] = {
      {"triangle", 3, 3, 1, 3}, {"full table, largest polygon", 2000, 256, 1, 2000},
      {"two corners", 3, 2, 0, 3}, {"257 corners", 3, 257, 0, 3},
      {"table count past capacity", 2001, 3, 1, 0}, {"negative table count", -4, 3, 1, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ScratchDir dir;
    SurfaceFile f;
    ASSERT_EQ(f.Create("lim.tms"), 1);
    f.WriteOrigin(0, 0, 0), f.WriteGrid(), f.WriteTile();
    const size_t tag = static_cast<size_t>(f.Tell());
    for (int32_t i = 0; i < std::min(r.points, 2000); ++i) f.points.Add(i, -i, 2 * i, -1);
    f.points.count = r.points, f.polygon.vertexCount() = r.vertices;
    for (int32_t i = 0; i < std::min(r.vertices, 256); ++i) f.polygon.vertices[static_cast<size_t>(i)].point = i % 3;
    EXPECT_EQ(f.WritePave(), r.written);
    f.lightType = 7, f.stepFeet = 2.5f;
    EXPECT_EQ(f.WriteLights(), 1);
    EXPECT_EQ(f.Close(), 1);

    // The length counts from after its own field up to and including the
    // terminator, which the light section's tag follows; the table count
    // follows the section header.
    const int32_t length = 16 + 4 + 12 * r.tableRead + (r.written ? 24 + 4 * r.vertices : 0) + 4;
    const std::string bytes = ReadFileBytes("lim.tms");
    EXPECT_EQ(bytes.substr(tag, 7), std::string("<pave>", 7));
    EXPECT_EQ(bytes.compare(tag + 7, 4, reinterpret_cast<const char*>(&length), 4), 0);
    EXPECT_EQ(bytes.compare(tag + 27, 4, reinterpret_cast<const char*>(&r.tableRead), 4), 0);
    EXPECT_EQ(bytes.substr(tag + 7 + static_cast<size_t>(length), 11), std::string("\0\0\0\0<lite>", 11));

    SurfaceFile g;
    ASSERT_EQ(g.Open("lim.tms"), 1);
    double a, b, c;
    ASSERT_EQ(g.ReadOrigin(a, b, c) && g.ReadGrid() && g.ReadTile(), true);
    EXPECT_EQ(g.ReadPave(), r.written);
    EXPECT_EQ(g.points.count, r.tableRead);
    EXPECT_TRUE(r.tableRead == 0 || g.points[r.tableRead - 1].z == 2 * (r.tableRead - 1));
    EXPECT_EQ(g.polygon.vertexCount(), r.written ? r.vertices : 0);
    EXPECT_TRUE(!r.written || g.polygon.vertices[static_cast<size_t>(r.vertices - 1)].point == (r.vertices - 1) % 3);
    EXPECT_EQ(g.ReadPave(), 0);  // the terminator, or the light section
    const bool lights = r.tableRead > 0;
    const int read = g.ReadLights();  // read before the fields are taken
    EXPECT_EQ(std::tuple(read, g.points.count, g.lightType, g.stepFeet),
              std::tuple(lights ? 1 : 0, r.tableRead, lights ? 7 : 0, lights ? 2.5f : 0.0f));
    EXPECT_EQ(g.ReadLights(), 0);
    EXPECT_EQ(g.ReadTileEnd(), 1);
  }
}

TEST(SurfaceFileTest, WritesWithoutAFileFail) {
  SurfaceFile f;
  f.points.Add(1, 2, 3, -1), testing::SetPolygon(f, {0, 0, 0});
  EXPECT_EQ(f.WriteOrigin(0, 0, 0) + f.WriteGrid() + f.WriteTile() + f.WritePave() + f.WriteLights(), 0);
}

}  // namespace
}  // namespace ostrand
