#include "corvane/core/taxi_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "corvane/core/test_support.h"
#include "corvane/core/text_file.h"

namespace corvane {
namespace {

CCorvaneDoc AbcdDoc() {
  CCorvaneDoc doc;
  doc.m_szName = "ABCD";
  doc.m_dOrgLat = 192240.0;
  doc.m_dOrgLon = -22320.0;
  doc.m_nAIType = 1;
  return doc;
}

TEST(TaxiPath, HeaderAndItemFormats) {
  CCorvaneDoc doc = AbcdDoc();
  doc.m_taxiPoints = {MakePoint(2, 2, 0, 0), MakePoint(2, 0, 1000, -500),
                      MakePoint(2, 8, 2500, 1000, 1), MakePoint(4, 16, 1000, -500),
                      MakePoint(4, 32, 0, 0)};
  EXPECT_EQ(TaxiPathFileText(doc),
            "ABCD,a,nn00,0192240.00,-022320.00"
            ",00,00,0192235.06,-022303.50"
            ",01,00,0192249.87,-022278.75\n"
            "ABCD,d,nn00,0192249.87,-022278.75"
            ",22,00,0192235.06,-022303.50"
            ",30,00,0192240.00,-022320.00\n");
  doc.m_nAIType = 2;
  doc.m_szName = "AB";
  std::string heavy = TaxiPathFileText(doc);
  EXPECT_EQ(heavy.substr(0, 11), "AB  ,A,nn00");
  EXPECT_NE(heavy.find("AB  ,D,nn00"), std::string::npos);
  doc.m_nAIType = 0;
  EXPECT_EQ(TaxiPathFileText(doc).substr(5, 1), "A");
}

TEST(TaxiPath, ToLatLon) {
  const struct {
    double x, z, lat, lon;
  } cases[] = {
      {0, 0, 192240.0, -22320.0},
      {1000, -500, 192235.06255, -22303.50},
      {2500, 1000, 192249.8749, -22278.75},
  };
  for (const auto& c : cases) {
    LatLon ll = ToLatLon(MakePoint(2, 0, c.x, c.z), 192240.0, -22320.0);
    EXPECT_NEAR(ll.lat, c.lat, 0.00001);
    EXPECT_NEAR(ll.lon, c.lon, 0.005);
  }
  // The cosine is of whole degrees plus 0.6 of the fraction: 53.4 -> 53.24.
  LatLon ll = ToLatLon(MakePoint(2, 0, 3600.0 / 0.0098749, 0), 53.4 * 3600.0, 0.0);
  EXPECT_NEAR(ll.lon, 3600.0 / std::cos(53.24 * kPi / 180.0), 1e-6);
}

TEST(TaxiPath, TwoStopPointsAfterAPivot) {
  CCorvaneDoc doc = AbcdDoc();
  doc.m_taxiPoints = {
      MakePoint(2, 2, 0, 0),         MakePoint(2, 0, 0, 1000),     MakePoint(2, 0, 500, 1000, 0, 1),
      MakePoint(2, 8, 600, 1100, 1), MakePoint(2, 8, 600, 900, 2), MakePoint(4, 0, 1000, 1000),
      MakePoint(4, 32, 2000, 1000)};
  // Sub-path 1: the second stop point, its departure copy and the copy of the
  // point two places before it (the pivot).
  std::vector<TaxiPoint> sub = BuildSubPath(doc.m_taxiPoints, 1, true);
  ASSERT_EQ(sub.size(), 8u);
  EXPECT_EQ(sub[3].stopNo, 2);
  EXPECT_EQ(sub[4].kind, 4);
  EXPECT_EQ(sub[4].type, 8);
  EXPECT_EQ(sub[5].kind, 4);
  EXPECT_EQ(sub[5].pivot, 1);

  SoftenSubPath(sub, false, 0, true);
  ASSERT_EQ(sub.size(), 10u);
  // Turn-around points 10 ft from the stop point, 45 and 90 degrees left of
  // the direction from the pivot (bearing of (100, -100) is 135 degrees).
  const double h = std::atan2(100.0, -100.0);
  EXPECT_NEAR(sub[5].x, 600 + std::sin(h - kPi / 4) * 10, 1e-9);
  EXPECT_NEAR(sub[5].z, 900 + std::cos(h - kPi / 4) * 10, 1e-9);
  EXPECT_NEAR(sub[6].x, 600 + std::sin(h - kPi / 2) * 10, 1e-9);
  EXPECT_EQ(sub[5].kind, 4);
  EXPECT_EQ(sub[6].type, 0);

  // Four lines: arrival and departure for each stop point.
  std::string text = TaxiPathFileText(doc);
  std::vector<std::string> heads;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) heads.push_back(line.substr(0, 11));
  EXPECT_EQ(heads,
            (std::vector<std::string>{"ABCD,a,nn00", "ABCD,d,nn00", "ABCD,a,nn01", "ABCD,d,nn01"}));
  // Departure line 01: header, two turn-around points, pivot, one ordinary
  // point, take-off.
  size_t d1 = text.find("ABCD,d,nn01");
  std::string line = text.substr(d1, text.find('\n', d1) - d1);
  EXPECT_EQ(std::count(line.begin(), line.end(), ','), 4 + 4 * 5);
  // The document keeps its path.
  EXPECT_EQ(doc.m_taxiPoints[3].kind, 2);
  EXPECT_EQ(doc.m_taxiPoints.size(), 7u);
}

TEST(TaxiPath, NoPivotGivesNoTurnAround) {
  CCorvaneDoc doc = AbcdDoc();
  doc.m_taxiPoints = {MakePoint(2, 2, 0, 0), MakePoint(2, 0, 0, 100), MakePoint(2, 8, 0, 200, 1),
                      MakePoint(4, 32, 100, 200)};
  std::vector<TaxiPoint> sub = BuildSubPath(doc.m_taxiPoints, 0, false);
  SoftenSubPath(sub, false, 0, false);
  ASSERT_EQ(sub.size(), 5u);
  EXPECT_EQ(TaxiPathFileText(doc),
            "ABCD,a,nn00,0192240.00,-022320.00,00,00,0192240.99,-022320.00"
            ",01,00,0192241.97,-022320.00\n"
            "ABCD,d,nn00,0192241.97,-022320.00,30,00,0192241.97,-022318.35\n");
}

TEST(TaxiPath, SoftAngles) {
  // A right-angle corner at (0, 100): from (0, 0) north, then east to (200, 100).
  const struct {
    bool on;
    double angle;
    double turnDegrees;
    bool cut;
  } cases[] = {
      {false, 0, 90, false}, {true, 30, 90, true},  {true, 90, 90, false},
      {true, 90, 91, true},  {true, 90, -91, true}, {true, 0, 0, false},
  };
  for (const auto& c : cases) {
    const double t = c.turnDegrees * kPi / 180.0;
    std::vector<TaxiPoint> path = {MakePoint(2, 2, 0, 0), MakePoint(2, 0, 0, 100),
                                   MakePoint(2, 0, 200 * std::sin(t), 100 + 200 * std::cos(t))};
    SoftenSubPath(path, c.on, c.angle, false);
    ASSERT_EQ(path.size(), c.cut ? 4u : 3u) << c.angle << " " << c.turnDegrees;
    if (c.cut) {
      // 2.5 % of each leg from the corner.
      EXPECT_NEAR(path[1].x, 0, 1e-9);
      EXPECT_NEAR(path[1].z, 100 - 2.5, 1e-9);
      EXPECT_NEAR(path[2].x, 200 * 0.025 * std::sin(t), 1e-9);
      EXPECT_NEAR(path[2].z, 100 + 200 * 0.025 * std::cos(t), 1e-9);
      EXPECT_EQ(path[1].kind, 2);
    }
  }
}

TEST(TaxiPath, ScanSkipsThePointsAfterACut) {
  // A zig-zag: every corner is sharp, but after a cut the next two points
  // are not examined.
  std::vector<TaxiPoint> path;
  for (int i = 0; i < 6; ++i) path.push_back(MakePoint(2, 0, (i % 2) * 100.0, i * 100.0));
  SoftenSubPath(path, true, 10, false);
  // The corner at 1 is cut, the scan goes on at the third point that
  // followed it (4), which is cut too; 2 and 3 are not examined.
  ASSERT_EQ(path.size(), 8u);
  EXPECT_DOUBLE_EQ(path[3].z, 200.0);
  EXPECT_DOUBLE_EQ(path[4].z, 300.0);
}

TEST(TaxiPath, DepartureCopyStandingSecondIsLeftAlone) {
  CCorvaneDoc doc = AbcdDoc();
  doc.m_taxiPoints = {MakePoint(2, 8, 0, 0, 1), MakePoint(2, 0, 0, 100, 0, 1),
                      MakePoint(4, 32, 100, 100)};
  std::vector<TaxiPoint> sub = BuildSubPath(doc.m_taxiPoints, 0, true);
  ASSERT_EQ(sub.size(), 4u);  // no point before the stop point to copy
  SoftenSubPath(sub, false, 0, true);
  EXPECT_EQ(sub.size(), 4u);
  EXPECT_FALSE(TaxiPathFileText(doc).empty());
}

TEST(TaxiPath, EmptyWithoutStopPointsAndUnwritableFolder) {
  namespace fs = std::filesystem;
  CCorvaneDoc doc = AbcdDoc();
  doc.m_taxiPoints = {MakePoint(2, 2, 0, 0), MakePoint(2, 0, 10, 10)};
  fs::path file = fs::temp_directory_path() / "corvane_tp_test.txt";
  ASSERT_EQ(WriteTaxiPathFile(doc, file.string()), WriteResult::kWritten);
  EXPECT_EQ(ReadTextFile(file.string()).value(), "");
  fs::remove(file);
  EXPECT_EQ(WriteTaxiPathFile(doc, "/nonexistent-folder/x/tp.txt"), WriteResult::kCannotCreate);
}

TEST(TaxiPath, TurnAngleWrapsAroundSouth) {
  // Bearings either side of south differ by nearly 2 pi: the turn is small.
  TaxiPoint o = MakePoint(2, 0, 0, 0);
  EXPECT_NEAR(TurnAngle(o, MakePoint(2, 0, 0.1, -10), MakePoint(2, 0, 0, -20)), 0.02, 1e-4);
  EXPECT_NEAR(TurnAngle(o, MakePoint(2, 0, -0.1, -10), MakePoint(2, 0, 0, -20)), -0.02, 1e-4);
}

}  // namespace
}  // namespace corvane
