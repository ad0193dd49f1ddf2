#include "corvane/core/listing_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace corvane {
namespace {

TEST(ListingReader, BgrLinesOfTheListing) {
  CCorvaneDoc doc;
  ParseBgrListing(doc,
                  "ostrand -ls ABCD.bgr\n"
                  "<bgno>\n"
                  "<orgn>  184827.000000 3600.000000 0.000000 1 (51 20'27.0000\"N 1 0'00.0000\"E)\n"
                  "<vloc> (12) 100.5 0.0 -250.25\n"
                  "<edge>  3 7\n"
                  "<thck> 16968 50ft sp=00\n"
                  "<pave> 3\n"
                  "WS= 0.000000 0.000000, EN= 2560.000000 5120.000000\n");
  EXPECT_DOUBLE_EQ(doc.m_dOrgLat, 184827.0);
  EXPECT_DOUBLE_EQ(doc.m_dOrgLon, 3600.0);
  ASSERT_EQ(doc.m_vertices.size(), 1u);
  EXPECT_DOUBLE_EQ(doc.m_vertices[0].x, 100.5);
  EXPECT_DOUBLE_EQ(doc.m_vertices[0].z, -250.25);
  ASSERT_EQ(doc.m_edges.size(), 1u);
  EXPECT_EQ(doc.m_edges[0].from, 3);
  EXPECT_EQ(doc.m_edges[0].to, 7);
  EXPECT_TRUE(doc.m_pavePoints.empty());  // not a BGR listing line
  EXPECT_EQ(doc.m_nShowFlags, kShowEdges | kShowEdgesRead);
}

TEST(ListingReader, TmsPaveSections) {
  CCorvaneDoc doc;
  ParseTmsListing(doc,
                  "<orgn> (51 20'27.0000\"N 1 0'00.0000\"E)\n"
                  "<indx> 0 0\n"
                  "<pave> 3\n"
                  "  0: 2560 0 -5120 (10 0 -20 ft)\n"
                  "  1: 256 0 256 (1 0 1 ft)\n"
                  "  2: 0 0 0 (0 0 0 ft)\n"
                  "<pave> 3\n"  // a further section of the tile: its own point table
                  "  0: 512 0 0 (2 0 0 ft)\n"
                  "  1: 512 0 512 (2 0 2 ft)\n"
                  "  2: 0 0 512 (0 0 2 ft)\n"
                  "<edmk> 1\n"
                  "  5: 99 0 99 (0 0 0 ft)\n"
                  "<vloc> (0) 1.0 0.0 1.0\n");
  ASSERT_EQ(doc.m_pavePoints.size(), 6u);
  const double expect[6][2] = {{10, -20}, {1, 1}, {0, 0}, {2, 0}, {2, 2}, {0, 2}};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(doc.m_pavePoints[i].count, 3);
    EXPECT_DOUBLE_EQ(doc.m_pavePoints[i].x, expect[i][0]);
    EXPECT_DOUBLE_EQ(doc.m_pavePoints[i].z, expect[i][1]);
  }
  EXPECT_TRUE(doc.m_vertices.empty());
  EXPECT_DOUBLE_EQ(doc.m_dOrgLat, 0.0);  // a TMS origin is never read
  EXPECT_EQ(doc.m_nShowFlags, kShowPolygons);
}

TEST(ListingReader, DocumentReaderTakesNameAndOriginFromTheOstrandLine) {
  struct Case {
    std::string head;
    const char* name;
    bool originRead;
  };
  const Case cases[] = {
      {"ostrand -ls /" + std::string(5000, 'd') + "/kjfk.bgr", "KJFK", true},
      {"ostrand -ls C:\\FS\\DATA\\abcd.bgr", "ABCD", true},
      {"ostrand -ls /home/u/data/Lfpg.BgR", "LFPG", true},
      {"ostrand -ls abcd.tms", "ABCD", false},
      {"ostrand -ls abcdefghij.bgr", "ABCDEFG", true},
      {"ostrand -ls noext", "NOEXT", false},
      {"ostrand", "", false},
  };
  for (const Case& c : cases) {
    CCorvaneDoc doc;
    doc.m_szName = "OLD";
    ReadDocument(doc, c.head + "\n<orgn>  10.5 -20.25 0.0 1 (x)\n");
    EXPECT_EQ(doc.m_szName, c.name) << c.head.substr(0, 40);
    EXPECT_EQ(doc.m_dOrgLat, c.originRead ? 10.5 : 0.0) << c.head.substr(0, 40);
    EXPECT_EQ(doc.m_dOrgLon, c.originRead ? -20.25 : 0.0) << c.head.substr(0, 40);
  }
}

TEST(ListingReader, DocumentReaderProjectLines) {
  CCorvaneDoc doc;
  ReadDocument(doc,
               "ICAO LFPGTOOLONG\r\n"
               "ORGN 192240.00000 -22320.00000\r\n"
               "# 02 08 07 01 0000120.00000 -000300.00000 3\r\n"
               "# 02 02\r\n"
               "#02 02 00 00 1 1 0\r\n"
               "# 260 -1 0 0 1e3 -2.5e2 0\r\n");
  EXPECT_EQ(doc.m_szName, "LFPGTOO");
  EXPECT_DOUBLE_EQ(doc.m_dOrgLat, 192240.0);
  EXPECT_DOUBLE_EQ(doc.m_dOrgLon, -22320.0);
  ASSERT_EQ(doc.m_taxiPoints.size(), 2u);
  const TaxiPoint& p = doc.m_taxiPoints[0];
  EXPECT_EQ(p.kind, 2);
  EXPECT_EQ(p.type, 8);
  EXPECT_EQ(p.factory, 1);  // any non-zero value
  EXPECT_EQ(p.pivot, 1);
  EXPECT_DOUBLE_EQ(p.x, 120.0);
  EXPECT_DOUBLE_EQ(p.z, -300.0);
  EXPECT_EQ(p.stopNo, 3);
  EXPECT_EQ(doc.m_taxiPoints[1].kind, 4);  // 260 kept in 8 bits
  EXPECT_EQ(doc.m_taxiPoints[1].type, -1);
  EXPECT_DOUBLE_EQ(doc.m_taxiPoints[1].x, 1000.0);
}

TEST(ListingReader, TooFewTokensAreIgnored) {
  CCorvaneDoc doc;
  ReadDocument(doc,
               "<vloc> (1) 2.0 3.0\n<edge> 4\n<orgn> 5\nICAO\n<pave>\n"
               "<vloc>\n#\nostrand -ls\n");
  EXPECT_TRUE(doc.m_vertices.empty());
  EXPECT_TRUE(doc.m_edges.empty());
  EXPECT_TRUE(doc.m_pavePoints.empty());
  EXPECT_TRUE(doc.m_taxiPoints.empty());
  EXPECT_EQ(doc.m_szName, "");
  EXPECT_EQ(doc.m_nShowFlags, 0);
}

TEST(ListingReader, PaveCountLargerThanTheLinesLeft) {
  const struct {
    const char* count;
    int32_t expect;
  } cases[] = {{"5", 5}, {"2147483647", 2147483647}, {"99999999999999999999", 2147483647}};
  for (const auto& c : cases) {
    CCorvaneDoc doc;
    ParseTmsListing(doc,
                    std::string("<pave> ") + c.count + "\n  0: 256 0 512 (1 0 2 ft)\n  1: 0 0 0\n");
    ASSERT_EQ(doc.m_pavePoints.size(), 2u) << c.count;
    EXPECT_EQ(doc.m_pavePoints[0].count, c.expect);
    EXPECT_DOUBLE_EQ(doc.m_pavePoints[0].z, 2.0);
  }
}

TEST(ListingReader, CornerLinesAreReadWhateverTheyHold) {
  CCorvaneDoc doc;
  // The second corner line is a tag line: it is still taken as a corner line
  // (with too few tokens, so no corner), and not read as a vertex.
  ParseTmsListing(doc, "<pave> 3\n  0: 256 0 256\n<vloc> (0) 1\n  2: 512 0 512\n<pave> -4\n");
  ASSERT_EQ(doc.m_pavePoints.size(), 2u);
  EXPECT_DOUBLE_EQ(doc.m_pavePoints[1].x, 2.0);
  EXPECT_TRUE(doc.m_vertices.empty());
}

TEST(ListingReader, LongLinesAndGarbageDoNotHurt) {
  std::string longLine = "<vloc> (0) " + std::string(600, '1') + " 0 5\n";
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) & 0xFF);
  CCorvaneDoc doc;
  ReadDocument(doc, longLine + garbage + "\n# 2 2 0 0 1 2 0");
  ASSERT_EQ(doc.m_vertices.size(), 1u);
  EXPECT_TRUE(std::isinf(doc.m_vertices[0].x));
  EXPECT_EQ(doc.m_taxiPoints.size(), 1u);  // last line without a line end
}

TEST(ListingReader, EveryTruncationOfAProjectFileReadsCleanly) {
  const std::string text =
      "<vloc> (0) 0.0 0.0 0.0\n\nICAO ABCD\nORGN 192240.00000 -22320.00000\n"
      "# 02 02 00 00 0000120.00000 -000300.00000 0\n<pave> 2\n  0: 256 0 256\n  1: 0 0 0\n";
  for (size_t n = 0; n <= text.size(); ++n) {
    CCorvaneDoc doc;
    ReadDocument(doc, std::string_view(text).substr(0, n));
    EXPECT_LE(doc.m_taxiPoints.size(), 1u);
    EXPECT_LE(doc.m_pavePoints.size(), 2u);
  }
}

}  // namespace
}  // namespace corvane
