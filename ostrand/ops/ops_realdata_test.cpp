// The network operations on real airport ground networks (public ground
// network files, turned into networks in feet): invariants of purge, merge,
// move and the listing that must hold for any network. Skipped when the
// data is absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/options.h"
#include "ostrand/ops/bgr_list.h"
#include "ostrand/ops/bgr_merge.h"
#include "ostrand/ops/bgr_move.h"
#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using testing::Net;
using testing::NetBytes;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

// "N53 37.7592" -> degrees.
double Degrees(const std::string& text) {
  if (text.size() < 2) return 0.0;
  const double sign = (text[0] == 'S' || text[0] == 'W') ? -1.0 : 1.0;
  char* rest = nullptr;
  const double whole = std::strtod(text.c_str() + 1, &rest);
  const double minutes = std::strtod(rest, nullptr);
  return sign * (whole + minutes / 60.0);
}

// The nodes and arcs of a ground network file as a network in feet around
// its first node, coordinates rounded to 1/256 foot.
Net GroundNetwork(const std::string& path) {
  const std::string xml = ReadFileBytes(path);
  Net net;
  std::map<long, int32_t> number;
  const std::regex node(
      R"re(<(?:node|Parking)\s[^>]*?index="(\d+)"[^>]*?lat="([^"]+)"[^>]*?lon="([^"]+)")re");
  double lat0 = 0, lon0 = 0;
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), node); it != std::sregex_iterator();
       ++it) {
    const double lat = Degrees((*it)[2]);
    const double lon = Degrees((*it)[3]);
    if (net.vertices.empty()) {
      lat0 = lat;
      lon0 = lon;
    }
    const double z = (lat - lat0) * 364567.2;
    const double x = (lon - lon0) * 364567.2 * std::cos(lat0 * 3.141592653589793 / 180.0);
    number[std::stol((*it)[1])] = static_cast<int32_t>(net.vertices.size());
    net.vertices.push_back({std::round(x * 256) / 256, 0, std::round(z * 256) / 256});
  }
  const std::regex arc(R"re(<arc\s[^>]*?begin="(\d+)"[^>]*?end="(\d+)")re");
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), arc); it != std::sregex_iterator();
       ++it) {
    const auto from = number.find(std::stol((*it)[1]));
    const auto to = number.find(std::stol((*it)[2]));
    if (from != number.end() && to != number.end()) net.edges.push_back({from->second, to->second});
  }
  return net;
}

struct ReadBack {
  std::vector<testing::NetVertex> vertices;
  std::vector<BgrEdge> edges;
};

ReadBack ReadNetwork(const char* name) {
  ReadBack r;
  BgrFile in;
  if (!in.OpenRead(name)) return r;
  double lat, lon, elev, x, y, z;
  in.ReadOrigin(lat, lon, elev);
  while (in.ReadNode(x, y, z)) r.vertices.push_back({x, y, z});
  BgrEdge e;
  while (in.ReadEdge(e)) r.edges.push_back(e);
  return r;
}

std::vector<std::string> GroundNetworkFiles() {
  std::vector<std::string> files;
  const std::string dir = testing::RealDataDir();
  if (dir.empty()) return files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir + "/groundnet", ec)) {
    files.push_back(entry.path().string());
  }
  return files;
}

TEST(OpsRealDataTest, PurgeMergeMoveAndListInvariants) {
  const std::vector<std::string> files = GroundNetworkFiles();
  if (files.empty()) GTEST_SKIP() << "no real data";
  ScratchDir dir;
  for (const std::string& path : files) {
    const Net net = GroundNetwork(path);
    ASSERT_FALSE(net.vertices.empty()) << path;
    const std::string bytes = NetBytes(net);

    // Purge: same edges, each end within 5 feet of where it was.
    WriteFileBytes("p.bgr", bytes);
    ASSERT_EQ(BgrPurge("p.bgr"), 1) << path;
    const ReadBack purged = ReadNetwork("p.bgr");
    ASSERT_EQ(purged.edges.size(), net.edges.size()) << path;
    ASSERT_LE(purged.vertices.size(), net.vertices.size() + 1) << path;
    EXPECT_EQ(purged.vertices[0].x, 0.0);
    for (size_t i = 0; i < net.edges.size(); ++i) {
      const int32_t ends[2][2] = {{net.edges[i].from, purged.edges[i].from},
                                  {net.edges[i].to, purged.edges[i].to}};
      for (const auto& end : ends) {
        const auto& before = net.vertices[static_cast<size_t>(end[0])];
        ASSERT_LT(static_cast<size_t>(end[1]), purged.vertices.size());
        const auto& after = purged.vertices[static_cast<size_t>(end[1])];
        EXPECT_LE(std::fabs(before.x - after.x), 5.0) << path;
        EXPECT_LE(std::fabs(before.z - after.z), 5.0) << path;
      }
    }
    // Kept vertices lie more than 5 feet apart and are numbered in order of
    // first reference, so a second purge changes nothing.
    const std::string once = ReadFileBytes("p.bgr");
    ASSERT_EQ(BgrPurge("p.bgr"), 1);
    EXPECT_EQ(ReadFileBytes("p.bgr"), once) << path;

    // Merge with itself: twice the vertices (whole feet) and edges, or a
    // refusal that leaves the file alone beyond 2000 vertices.
    WriteFileBytes("m.bgr", bytes);
    const int merged = BgrMerge("m.bgr", "m.bgr");
    if (net.vertices.size() * 2 <= static_cast<size_t>(kMergeCapacity)) {
      ASSERT_EQ(merged, 1) << path;
      const ReadBack m = ReadNetwork("m.bgr");
      EXPECT_EQ(m.vertices.size(), 2 * net.vertices.size());
      ASSERT_EQ(m.edges.size(), 2 * net.edges.size());
      const int32_t n = static_cast<int32_t>(net.vertices.size());
      for (size_t i = 0; i < net.edges.size(); ++i) {
        EXPECT_EQ(m.edges[i + net.edges.size()].from, net.edges[i].from + n);
        EXPECT_EQ(m.edges[i + net.edges.size()].to, net.edges[i].to + n);
      }
    } else {
      EXPECT_EQ(merged, 0) << path;
      EXPECT_EQ(ReadFileBytes("m.bgr"), bytes);
    }

    // Move there and back: the same bytes.
    WriteFileBytes("a.bgr", bytes);
    ASSERT_EQ(BgrMove("a.bgr", "b.bgr", 1234, -567, -1, -1), 1);
    ASSERT_EQ(BgrMove("b.bgr", "c.bgr", -1234, 567, -1, -1), 1);
    EXPECT_TRUE(ReadFileBytes("c.bgr") == bytes) << path;

    // The listing: one line per vertex and edge, only the extents line
    // without a tag, and extents that are those of the vertices.
    WriteFileBytes("l.bgr", NetBytes(net));
    ResetOptions();
    Options().printFlag = 1;
    testing::CaptureConsole console;
    ASSERT_EQ(BgrList("l.bgr", -1, -1), 1);
    ResetOptions();
    const std::string text = console.Text();
    size_t vertexLines = 0, edgeLines = 0, lines = 0, untagged = 0;
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
      ++lines;
      vertexLines += text.compare(at, 8, "<vloc> (") == 0;
      edgeLines += text.compare(at, 8, "<edge>  ") == 0;
      untagged += text[at] != '<';
    }
    EXPECT_EQ(vertexLines, net.vertices.size()) << path;
    EXPECT_EQ(edgeLines, net.edges.size()) << path;
    EXPECT_EQ(untagged, 1u) << path;
    EXPECT_EQ(lines, 4 + 4 * net.vertices.size() + 5 * net.edges.size()) << path;
    double minX = 1e300, minZ = 1e300, maxX = -1e300, maxZ = -1e300;
    for (const auto& v : net.vertices) {
      minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
      minZ = std::min(minZ, v.z), maxZ = std::max(maxZ, v.z);
    }
    char extents[200];
    std::snprintf(extents, sizeof extents, "WS= %lf %lf, EN= %lf %lf\n", minX, minZ, maxX, maxZ);
    EXPECT_EQ(text.substr(text.rfind("WS=")), extents) << path;
  }
}

}  // namespace
}  // namespace ostrand
