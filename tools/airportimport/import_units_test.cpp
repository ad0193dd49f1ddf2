// The small conversions of the readers and the writer, as tables.
#include <gtest/gtest.h>

#include <set>

#include "tools/airportimport/aptdat_reader.h"
#include "tools/airportimport/groundnet_reader.h"
#include "tools/airportimport/osm_data.h"
#include "tools/airportimport/scenery_writer.h"

namespace airportimport {
namespace {

TEST(Units, PositionTexts) {
  struct Row { const char* text; bool latitude, ok; double degrees; };
  const Row rows[] = {
      {"N50 2.123", true, true, 50 + 2.123 / 60}, {"S33 56.4", true, true, -(33 + 56.4 / 60)},
      {"W122 22.5", false, true, -(122 + 22.5 / 60)}, {"E8 0", false, true, 8},
      {"N91 0.0", true, false, 0}, {"N50 60.0", true, false, 0}, {"E50 1.0", true, false, 0},
      {"N50", true, false, 0}, {"N50 1.0x", true, false, 0}, {"N-5 1.0", true, false, 0},
  };
  for (const Row& r : rows) {
    double d = 0;
    EXPECT_EQ(ParseDegreesMinutes(r.text, r.latitude, d), r.ok) << r.text;
    EXPECT_NEAR(r.ok ? d : 0, r.degrees, 1e-12) << r.text;  // refused texts: 0 = 0
  }
  EXPECT_EQ(LatitudeField(53.5), "N53:30:00.000000");
  EXPECT_EQ(LongitudeField(-0.0001), "W000:00:00.360000");
  EXPECT_EQ(LatitudeField(-33.99999999999), "S34:00:00.000000");
}

TEST(Units, Widths) {
  const std::pair<const char*, double> tags[] = {{"45", 45 / 0.3048}, {"45 m", 45 / 0.3048}, {"150 ft", 150},
                                                 {"150'", 150}, {"wide", 0}, {"-3", 0}, {"20 yd", 0}, {"9999", 0}};
  for (const auto& [text, feet] : tags) EXPECT_NEAR(WidthTagFeet(text), feet, 1e-9) << text;
  const std::pair<char, double> classes[] = {{'A', 25}, {'C', 50}, {'F', 82}, {'G', 0}};
  for (const auto& [letter, feet] : classes) EXPECT_EQ(SizeClassWidthFeet(letter), feet) << letter;
}

// Pieces of at most `limit` corners; every side of the ring is a side of
// some piece, so their union covers the outline.
TEST(Units, LongOutlinesAreCut) {
  const std::pair<size_t, size_t> rows[] = {{3, 255}, {255, 255}, {256, 255}, {600, 255}, {70000, 255}, {10, 4}};
  for (const auto& [corners, limit] : rows) {
    std::set<std::pair<size_t, size_t>> sides;
    for (const auto& piece : SplitRing(corners, limit)) {
      EXPECT_LE(piece.size(), limit);
      EXPECT_GE(piece.size(), 3u);
      for (size_t i = 0; i + 1 < piece.size(); ++i) sides.insert({piece[i], piece[i + 1]});
      sides.insert({piece.back(), piece.front()});
    }
    for (size_t i = 0; i < corners; ++i) EXPECT_TRUE(sides.count({i, (i + 1) % corners})) << corners << " side " << i;
  }
}

}  // namespace
}  // namespace airportimport
