// Helpers shared by the core's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/text_file.h"

namespace corvane {

inline TaxiPoint MakePoint(uint8_t kind, int32_t type, double x, double z, int32_t stopNo = 0,
                           uint8_t pivot = 0, uint8_t factory = 0) {
  return TaxiPoint{kind, type, pivot, factory, z, x, stopNo};
}

// What a reader put into a document, one line per header, vertex, edge,
// surface corner and taxi point (kind type pivot factory x z stop).
inline std::string Dump(const CCorvaneDoc& doc) {
  std::ostringstream out;
  out.precision(12);
  out << "'" << doc.m_szName << "' " << doc.m_dOrgLat << " " << doc.m_dOrgLon << " show "
      << int{doc.m_nShowFlags} << "\n";
  for (const NetVertex& v : doc.m_vertices) out << "v " << v.x << " " << v.z << "\n";
  for (const NetEdge& e : doc.m_edges) out << "e " << e.from << " " << e.to << "\n";
  for (const auto& p : doc.m_pavePoints) out << "p " << p.count << " " << p.x << " " << p.z << "\n";
  for (const TaxiPoint& t : doc.m_taxiPoints) {
    out << "t " << int{t.kind} << " " << t.type << " " << int{t.pivot} << " " << int{t.factory}
        << " " << t.x << " " << t.z << " " << t.stopNo << "\n";
  }
  return out.str();
}

// A file of the source tree, by its path from the top.
inline std::string SourceFile(const std::string& relative) {
  return ReadTextFile(std::string(OSTRAND_SOURCE_DIR) + "/" + relative).value_or("(missing)");
}

// Compares a text with its expected file (corvane/*/testdata);
// CORVANE_WRITE_EXPECTED=1 in the environment writes the file instead.
inline void ExpectFileText(const std::string& actual, const std::string& relative) {
  if (std::getenv("CORVANE_WRITE_EXPECTED") != nullptr) {
    SaveTextFile(std::string(OSTRAND_SOURCE_DIR) + "/" + relative, actual);
  }
  EXPECT_EQ(actual, SourceFile(relative)) << relative;
}

// Runs every case of a file of corvane/*/testdata through `run` and compares
// the text it gives with the case's expected output. A case begins with a
// line "== name" and runs to the next; a line "--" parts its input from its
// expected output; the lines before the first case describe the file.
// CORVANE_WRITE_EXPECTED=1 in the environment writes the outputs instead.
struct TextCase {
  std::string name, input, expected;
};
template <typename Run>
void ExpectCases(const std::string& relative, Run run) {
  std::vector<TextCase> cases;
  std::string head, written;
  std::istringstream lines(SourceFile(relative));
  bool expected = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("== ")) cases.push_back({line.substr(3), "", ""});
    if (line.starts_with("== ") || line == "--")
      expected = line == "--";
    else
      (cases.empty() ? head : expected ? cases.back().expected : cases.back().input) += line + "\n";
  }
  EXPECT_FALSE(cases.empty()) << relative;
  for (const TextCase& c : cases) {
    const std::string actual = run(c);
    EXPECT_EQ(actual, c.expected) << c.name;
    written += "== " + c.name + "\n" + c.input + "--\n" + actual;
  }
  if (std::getenv("CORVANE_WRITE_EXPECTED") != nullptr) {
    SaveTextFile(std::string(OSTRAND_SOURCE_DIR) + "/" + relative, head + written);
  }
}

}  // namespace corvane
