#include "corvane/core/taxi_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "corvane/core/listing_reader.h"
#include "corvane/core/test_support.h"

namespace corvane {
namespace {

TEST(TaxiPath, FileTextsOfSmallPaths) {
  ExpectCases("corvane/core/testdata/taxi_paths.txt", [](const TextCase& c) {
    CCorvaneDoc doc;
    ReadDocument(doc, c.input);
    std::istringstream(c.name) >> doc.m_nAIType >> doc.m_dSoftAngle;
    doc.m_bSoftAngles = doc.m_dSoftAngle != 0;
    return TaxiPathFileText(doc);
  });
}

// The sample airport's path: two stop points right after the pivot, soft
// corners, fractional degrees of latitude.
TEST(TaxiPath, SampleFileText) {
  for (bool soft : {false, true}) {
    CCorvaneDoc doc;
    ReadDocument(doc, SourceFile("corvane/sample/eddh_taxi_path.txt"));
    doc.m_nAIType = 1;
    doc.m_bSoftAngles = soft;
    doc.m_dSoftAngle = 30;
    ExpectFileText(TaxiPathFileText(doc), soft ? "corvane/core/testdata/eddh_tp_soft.txt"
                                               : "corvane/core/testdata/eddh_tp.txt");
  }
}

TEST(TaxiPath, WriteCreatesEvenAnEmptyFile) {
  CCorvaneDoc doc;
  const auto file = std::filesystem::temp_directory_path() / "corvane_tp_test.txt";
  ASSERT_EQ(WriteTaxiPathFile(doc, file.string()), WriteResult::kWritten);
  EXPECT_EQ(ReadTextFile(file.string()).value(), "");
  std::filesystem::remove(file);
  EXPECT_EQ(WriteTaxiPathFile(doc, "/nonexistent-folder/x/tp.txt"), WriteResult::kCannotCreate);
}

}  // namespace
}  // namespace corvane
