// The network operations on real airport ground networks (public ground
// network files, turned into networks in feet): invariants of purge and
// move that must hold for any network. Skipped when the data is absent.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ostrand/ops/bgr_merge.h"
#include "ostrand/ops/bgr_move.h"
#include "ostrand/ops/test_networks.h"
#include "ostrand/ops/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

// The nodes and arcs of a ground network file as a network in feet around
// its first node ("N53 37.7592": degrees and minutes), coordinates rounded
// to 1/256 foot.
Net GroundNetwork(const std::string& path) {
  const std::string xml = ReadFileBytes(path);
  const auto degrees = [](const std::string& t) {
    const double sign = t[0] == 'S' || t[0] == 'W' ? -1 : 1;
    return sign * (std::stod(t.substr(1)) + std::stod(t.substr(t.find(' '))) / 60);
  };
  const std::regex node(
      R"re(<(?:node|Parking)\s[^>]*?index="(\d+)"[^>]*?lat="([^"]+)"[^>]*?lon="([^"]+)")re");
  const std::regex arc(R"re(<arc\s[^>]*?begin="(\d+)"[^>]*?end="(\d+)")re");
  Net net;
  std::map<std::string, int32_t> number;
  double lat0 = 0, lon0 = 0;
  for (std::sregex_iterator it(xml.begin(), xml.end(), node), end; it != end; ++it) {
    const double lat = degrees((*it)[2]), lon = degrees((*it)[3]);
    if (net.vertices.empty()) lat0 = lat, lon0 = lon;
    const double x = (lon - lon0) * 364567.2 * std::cos(lat0 * 3.141592653589793 / 180.0);
    number[(*it)[1]] = static_cast<int32_t>(net.vertices.size());
    const double z = (lat - lat0) * 364567.2;
    net.vertices.push_back({std::round(x * 256) / 256, 0, std::round(z * 256) / 256});
  }
  for (std::sregex_iterator it(xml.begin(), xml.end(), arc), end; it != end; ++it) {
    if (number.count((*it)[1]) && number.count((*it)[2])) {
      net.edges.push_back({number[(*it)[1]], number[(*it)[2]]});
    }
  }
  return net;
}

TEST(OpsRealDataTest, PurgeAndMoveInvariants) {
  const std::string dir = RealDataDir();
  if (dir.empty()) GTEST_SKIP() << "no real data";
  ScratchDir scratch;
  for (const auto& entry : std::filesystem::directory_iterator(dir + "/groundnet")) {
    const std::string path = entry.path().string();
    const Net net = GroundNetwork(path);
    ASSERT_FALSE(net.vertices.empty()) << path;
    const std::string bytes = NetBytes(net);

    // Purge: as the plain search gives it; its vertices
    // lie more than 5 feet apart in the order of first reference, so a
    // second purge changes nothing.
    WriteFileBytes("p.bgr", bytes);
    ASSERT_EQ(BgrPurge("p.bgr"), 1) << path;
    const Net purged = PlainPurge(net);
    EXPECT_EQ(ReadFileBytes("p.bgr"), NetBytes(purged)) << path;
    ASSERT_EQ(BgrPurge("p.bgr"), 1);
    EXPECT_EQ(ReadFileBytes("p.bgr"), NetBytes(purged)) << path;

    // Move there and back: the same bytes.
    WriteFileBytes("a.bgr", bytes);
    ASSERT_EQ(BgrMove("a.bgr", "b.bgr", 1234, -567, -1, -1), 1);
    ASSERT_EQ(BgrMove("b.bgr", "c.bgr", -1234, 567, -1, -1), 1);
    EXPECT_TRUE(ReadFileBytes("c.bgr") == bytes) << path;
  }
}

}  // namespace
}  // namespace ostrand
