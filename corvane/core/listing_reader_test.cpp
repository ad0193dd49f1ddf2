#include "corvane/core/listing_reader.h"

#include <gtest/gtest.h>

#include "corvane/core/test_support.h"

namespace corvane {
namespace {

TEST(ListingReader, WhatEachReaderTakes) {
  auto read = [](const TextCase& c) {
    CCorvaneDoc doc;
    doc.m_szName = "OLD";
    (c.name.starts_with("bgr")   ? ParseBgrListing
     : c.name.starts_with("tms") ? ParseTmsListing
                                 : ReadDocument)(doc, c.input);
    return Dump(doc);
  };
  ExpectCases("corvane/core/testdata/listings.txt", read);
  // Carriage returns, bytes beyond ASCII and a last line without its end.
  const TextCase cases[] = {
      {"doc a long path",
       "ostrand -ls /" + std::string(5000, 'd') + "/kjfk.bgr\n<orgn> 10.5 -20 0 1\n",
       "'KJFK' 10.5 -20 show 0\n"},
      {"doc project lines",
       "ICAO LFPGTOOLONG\r\nORGN 192240.00000 -22320.00000\r\n"
       "# 02 08 07 01 0000120.00000 -000300.00000 3\r\n# 02 02\r\n#02 02 00 00 1 1 0\r\n"
       "# 260 -1 0 0 1e3 -2.5e2 0\r\n",
       "'LFPGTOO' 192240 -22320 show 0\nt 2 8 1 1 120 -300 3\nt 4 -1 0 0 1000 -250 0\n"},
      {"doc long number", "<vloc> (0) " + std::string(600, '1') + " 0 5\n\xff\x80\n# 2 2 0 0 1 2 0",
       "'' 0 0 show 2\nv inf 5\nt 2 2 0 0 1 2 0\n"}};
  for (const TextCase& c : cases) EXPECT_EQ(read(c), c.expected) << c.name;
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
