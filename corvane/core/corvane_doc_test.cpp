#include "corvane/core/corvane_doc.h"

#include <gtest/gtest.h>

#include "corvane/core/edit_state.h"
#include "corvane/core/listing_reader.h"
#include "corvane/core/test_support.h"

namespace corvane {
namespace {

TEST(CorvaneDoc, ProjectFileTextAndItsRoundTrip) {
  CCorvaneDoc doc;
  doc.SetName("EGLLONGER");
  doc.m_dOrgLat = 184827.123456;
  doc.m_dOrgLon = -22320.0;
  doc.AddTaxiPoint(MakePoint(2, 2, 120, -300));
  doc.AddTaxiPoint(MakePoint(2, 0, -12345.678912, 98765.4, 0, 1, 1));
  doc.AddTaxiPoint(MakePoint(2, 8, 1.5, 2.25, 1, 0, 1));  // factory without pivot
  doc.AddTaxiPoint(MakePoint(4, 32, 9, 10));
  const std::string text = doc.ProjectFileText();
  ExpectFileText(text, "corvane/core/testdata/project_file.txt");
  CCorvaneDoc back;
  ReadDocument(back, text);
  EXPECT_EQ(back.ProjectFileText(), text);
  EXPECT_EQ(back.m_nShowFlags, kShowEdges);  // the leading vertex line
}

TEST(CorvaneDoc, SnapFactoryPoints) {
  const struct { double px, pz; uint8_t factory; std::vector<NetVertex> vertices; double ex, ez; }
      rows[] = {
      // The later vertex is tested against the moved position.
      {100, 100, 1, {{160, 40}, {30, 170}}, 160, 40},
      {100, 100, 1, {{160, 40}, {200, 100}}, 200, 100},
      // Both bounds inclusive.
      {0, 0, 1, {{75, -75}}, 75, -75},
      {0, 0, 1, {{75.001, 0}}, 0, 0},
      {0, 0, 0, {{10, 10}}, 0, 0},
  };
  for (const auto& c : rows) {
    CCorvaneDoc doc;
    doc.m_vertices = c.vertices;
    doc.AddTaxiPoint(MakePoint(2, 0, c.px, c.pz, 0, 0, c.factory));
    doc.SnapFactoryPoints();
    EXPECT_TRUE(doc.m_taxiPoints[0].x == c.ex && doc.m_taxiPoints[0].z == c.ez) << c.ex;
  }
}

TEST(CorvaneDoc, NewKeepsTheNameTheModeAndTheDialogsValues) {
  CCorvaneDoc doc;
  ReadDocument(doc, "ICAO ABCD\nORGN 5 0\n<vloc> (0) 1 0 2\n<edge> 0 0\n<pave> 1\n  0: 0 0 0\n"
                   "# 02 02 00 00 0 0 0\n");
  doc.m_nShowFlags = 14, doc.m_nMode = 1, doc.m_bStopped = 0, doc.m_nAIType = 2;
  doc.m_ptCentre = {5, 6}, doc.m_ptMouse = {7, 8};
  doc.m_bSoftAngles = 1, doc.m_dSoftAngle = 30, doc.m_optionsDlg.m_nAITypeRadio = 1;
  g_nStopCount = 4;

  doc.DeleteContents();
  EXPECT_EQ(Dump(doc), "'ABCD' 5 0 show 14\nv 1 2\ne 0 0\np 1 0 0\n");
  doc.OnNewDocument();
  EXPECT_EQ(Dump(doc), "'ABCD' 0 0 show 0\n");
  EditState kept;
  kept.mode = 1, kept.optionAIType = 1;
  EXPECT_TRUE(EditState::Capture(doc, ViewModel()) == kept);
  EXPECT_TRUE(doc.m_ptCentre.x == 0 && doc.m_ptCentre.z == 0 && doc.m_ptMouse.x == 7);
}

}  // namespace
}  // namespace corvane
