#include "corvane/core/corvane_doc.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "corvane/core/listing_reader.h"
#include "corvane/core/test_support.h"
#include "corvane/core/text_file.h"

namespace corvane {
namespace {

TEST(CorvaneDoc, ProjectFileTextExact) {
  CCorvaneDoc doc;
  doc.m_szName = "ABCD";
  doc.m_dOrgLat = 192240.0;
  doc.m_dOrgLon = -22320.0;
  doc.AddTaxiPoint(MakePoint(2, 2, 120, -300));
  doc.AddTaxiPoint(MakePoint(2, 8, 1.5, 2.25, 1, 0, 1));
  EXPECT_EQ(doc.ProjectFileText(),
            "<vloc> (0) 0.0 0.0 0.0\n\n"
            "ICAO ABCD\n"
            "ORGN 192240.00000 -22320.00000\n"
            "# 02 02 00 00 0000120.00000 -000300.00000 0\n"
            "# 02 08 01 00 0000001.50000 0000002.25000 1\n");
}

TEST(CorvaneDoc, ProjectFileRoundTrip) {
  CCorvaneDoc doc;
  doc.SetName("EGLL");
  doc.m_dOrgLat = 184827.123456;
  doc.m_dOrgLon = -3600.5;
  doc.AddTaxiPoint(MakePoint(2, 2, 120, -300));
  doc.AddTaxiPoint(MakePoint(2, 0, -12345.678912, 98765.4, 0, 1, 1));
  doc.AddTaxiPoint(MakePoint(2, 8, 7, 8, 1, 0, 1));  // factory without pivot
  doc.AddTaxiPoint(MakePoint(4, 32, 9, 10));

  CCorvaneDoc back;
  ReadDocument(back, doc.ProjectFileText());
  EXPECT_EQ(back.m_szName, "EGLL");
  EXPECT_DOUBLE_EQ(back.m_dOrgLat, 184827.12346);
  EXPECT_DOUBLE_EQ(back.m_dOrgLon, -3600.5);
  ASSERT_EQ(back.m_vertices.size(), 1u);  // the leading vertex line
  EXPECT_EQ(back.m_nShowFlags, kShowEdges);
  // Every field of every point is in the text; each one's reading is tested
  // with the reader.
  EXPECT_EQ(back.ProjectFileText(), doc.ProjectFileText());
}

TEST(CorvaneDoc, WriteProjectFile) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "corvane_doc_test";
  fs::create_directories(dir);
  const std::string path = (dir / "p.txt").string();
  fs::remove(path);

  CCorvaneDoc doc;
  EXPECT_EQ(doc.WriteProjectFile(path), WriteResult::kNothingToWrite);
  EXPECT_FALSE(fs::exists(path));

  doc.AddTaxiPoint(MakePoint(2, 8, 1, 2, 1));
  EXPECT_EQ(doc.WriteProjectFile(path), WriteResult::kWritten);
  EXPECT_EQ(ReadTextFile(path).value(), doc.ProjectFileText());
  EXPECT_EQ(doc.WriteProjectFile((dir / "no" / "such" / "p.txt").string()),
            WriteResult::kCannotCreate);
  fs::remove_all(dir);
}

TEST(CorvaneDoc, SnapFactoryPoints) {
  struct Case {
    double px, pz;
    uint8_t factory;
    std::vector<NetVertex> vertices;
    double ex, ez;
  };
  const Case cases[] = {
      // The later vertex is tested against the moved position.
      {100, 100, 1, {{160, 40}, {30, 170}}, 160, 40},
      {100, 100, 1, {{160, 40}, {200, 100}}, 200, 100},
      // Both bounds inclusive.
      {0, 0, 1, {{75, -75}}, 75, -75},
      {0, 0, 1, {{75.001, 0}}, 0, 0},
      {0, 0, 0, {{10, 10}}, 0, 0},
  };
  for (const Case& c : cases) {
    CCorvaneDoc doc;
    doc.m_vertices = c.vertices;
    doc.AddTaxiPoint(MakePoint(2, 0, c.px, c.pz, 0, 0, c.factory));
    doc.SnapFactoryPoints();
    EXPECT_DOUBLE_EQ(doc.m_taxiPoints[0].x, c.ex);
    EXPECT_DOUBLE_EQ(doc.m_taxiPoints[0].z, c.ez);
  }
}

TEST(CorvaneDoc, NewAndDeleteContents) {
  CCorvaneDoc doc;
  doc.m_vertices.push_back({1, 2});
  doc.m_edges.push_back({0, 0});
  doc.m_pavePoints.push_back({1, 0, 0});
  doc.AddTaxiPoint(MakePoint(2, 2, 0, 0));
  doc.m_nShowFlags = 14;
  doc.m_szName = "ABCD";
  doc.m_nMode = 1;
  doc.m_bStopped = 0;
  doc.m_ptCentre = {5, 6};
  doc.m_ptMouse = {7, 8};
  doc.m_nAIType = 2;
  doc.m_bSoftAngles = 1;
  doc.m_dSoftAngle = 30;
  doc.m_optionsDlg.m_nAITypeRadio = 1;
  g_nStopCount = 4;

  doc.DeleteContents();
  EXPECT_TRUE(doc.m_taxiPoints.empty());
  EXPECT_EQ(doc.m_vertices.size(), 1u);

  doc.OnNewDocument();
  EXPECT_TRUE(doc.m_vertices.empty() && doc.m_edges.empty() && doc.m_pavePoints.empty());
  EXPECT_EQ(doc.m_nShowFlags, 0);
  EXPECT_EQ(doc.m_ptCentre.x, 0);
  EXPECT_EQ(doc.m_bStopped, 1);
  EXPECT_EQ(doc.m_nAIType, 0);
  EXPECT_EQ(doc.m_bSoftAngles, 0);
  EXPECT_EQ(doc.m_dSoftAngle, 0.0);
  EXPECT_EQ(g_nStopCount, 0);
  // These stay.
  EXPECT_EQ(doc.m_szName, "ABCD");
  EXPECT_EQ(doc.m_nMode, 1);
  EXPECT_EQ(doc.m_ptMouse.x, 7);
  EXPECT_EQ(doc.m_optionsDlg.m_nAITypeRadio, 1);
}

}  // namespace
}  // namespace corvane
