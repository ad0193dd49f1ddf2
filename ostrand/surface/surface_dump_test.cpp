#include "ostrand/surface/surface_dump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"
#include "ostrand/surface/surface_test_support.h"
#include "ostrand/surface/surface_file.h"

namespace ostrand {
namespace {

using testing::CaptureConsole;
using testing::ReadFileBytes;
using testing::RunOstrand;
using testing::ScratchDir;
using testing::SetPoints;
using testing::SetPolygon;
using testing::StartTile;
using testing::WriteFileBytes;
using testing::WriteFresh;

// One tile with a section of each kind (negative coordinates included) and
// an empty tile.
void WriteSample(const char* name) {
  SurfaceFile f;
  f.Create(name);
  f.WriteOrigin(184827.0, 3600.0, 0.0);
  f.lowLeft[0] = -4000.0;
  f.lowLeft[2] = -4000.0;
  f.WriteGrid();
  f.tileX = 0;
  f.tileZ = 1;
  f.WriteTile();
  SetPoints(f, {{256, 0, 512}, {-300, 0, 0}, {0, 0, -256}});
  SetPolygon(f, {0, 1, 2});
  f.WritePave();
  SetPolygon(f, {2, 1, 0});
  f.WriteEdgeMark();
  SetPolygon(f, {1, 2, 0});
  f.WriteCentre();
  SetPoints(f, {{-300, 0, 512}, {1000, 0, -256}});
  f.lightType = 1;
  f.stepFeet = 25.0f;
  f.WriteLights();
  f.WriteTileEnd();
  f.tileX = 2;
  f.tileZ = 3;
  f.WriteTile();
  f.WriteTileEnd();
  f.Close();
}

std::string Dump(const char* name) {
  CaptureConsole console;
  EXPECT_EQ(DumpSurfaceFile(name), 1);
  return console.Text();
}

// A scratch folder and a fresh coordinate range, which lives for the run.
class SurfaceDumpTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSurfaceDumpRange(); }
  void TearDown() override { ResetSurfaceDumpRange(); }
  // Ends the open tile, closes the file and dumps it.
  std::string CloseAndDump(SurfaceFile& f, const char* name) {
    f.WriteTileEnd();
    f.Close();
    return Dump(name);
  }
  ScratchDir dir_;
};

const char kSampleDump[] =
    "<orgn> (51 20'27.0000\"N 1 0'00.0000\"E)\n"
    "<tlxz> 8 8\n"
    "<feet> 1148846080 (0x447a0000 1000.000000)\n"
    "<lowl> -4000.000000 0.000000 -4000.000000\n"
    "\n"
    "<indx> 0 1\n"
    "<pave> 3\n"
    "  0: 256 0 512 (1 0 2 ft)\n"
    "  1: -300 0 0 (-1 0 0 ft)\n"
    "  2: 0 0 -256 (0 0 -1 ft)\n"
    "<edmk> 3\n"
    "  2: 0 0 -256 (0 0 -1 ft)\n"
    "  1: -300 0 0 (-1 0 0 ft)\n"
    "  0: 256 0 512 (1 0 2 ft)\n"
    "<cntr> 3\n"
    "  1: -300 0 0 (-1 0 0 ft)\n"
    "  2: 0 0 -256 (0 0 -1 ft)\n"
    "  0: 256 0 512 (1 0 2 ft)\n"
    "<lite> 2, type 1, step_ft 25.000000\n"
    "  0: -256 0 512 (-1 0 2 ft)\n"
    "  1: 768 0 -256 (3 0 -1 ft)\n"
    "\n"
    "<indx> 2 3\n"
    "Range X: -300 768, Z: -256 512\n";

std::string TellLine(size_t fileLength) {
  char line[64];
  std::snprintf(line, sizeof line, "Tell= %08lX, len= %08lX\n", static_cast<unsigned long>(fileLength - 7),
                static_cast<unsigned long>(fileLength));
  return line;
}

TEST_F(SurfaceDumpTest, ExactTextOfAllFourSectionKinds) {
  WriteSample("sample.tms");
  size_t length = ReadFileBytes("sample.tms").size();
  EXPECT_EQ(Dump("sample.tms"), std::string(kSampleDump) + TellLine(length));
}

TEST_F(SurfaceDumpTest, RangeLivesForTheRun) {
  SurfaceFile f;
  f.Create("empty.tms");
  f.WriteOrigin(0, 0, 0);
  f.tileFeet = 512.5f;
  f.WriteGrid();
  f.WriteTile();
  f.WriteTileEnd();
  f.Close();
  WriteSample("sample.tms");
  std::string text = Dump("empty.tms");
  EXPECT_NE(text.find("<feet> 1140858880 (0x44002000 512.500000)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n<indx> 0 0\nRange X: 9999999 -9999999, Z: 9999999 -9999999\n"), std::string::npos)
      << text;
  Dump("sample.tms");
  // The empty file now shows the range of the earlier listing.
  EXPECT_NE(Dump("empty.tms").find("Range X: -300 768, Z: -256 512\n"), std::string::npos);
}

TEST_F(SurfaceDumpTest, NegativeFeetLineAndNegativeCorners) {
  SurfaceFile f;
  f.Create("neg.tms");
  f.WriteOrigin(-184827.0, -3600.0, 0.0);
  f.tileFeet = -2.0f;
  f.WriteGrid();
  f.WriteTile();
  SetPoints(f, {{-255, -256, -257}, {-511, -512, -513}, {INT32_MIN, 0, INT32_MAX}});
  SetPolygon(f, {0, 1, 2});
  f.WritePave();
  std::string text = CloseAndDump(f, "neg.tms");
  EXPECT_NE(text.find("<orgn> (51 20'27.0000\"S "), std::string::npos) << text;
  // The single's bits as a 32-bit integer and in eight hex digits.
  EXPECT_NE(text.find("<feet> -1073741824 (0xc0000000 -2.000000)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  0: -255 -256 -257 (0 -1 -1 ft)\n"
                      "  1: -511 -512 -513 (-1 -2 -2 ft)\n"
                      "  2: -2147483648 0 2147483647 (-8388608 0 8388607 ft)\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Range X: -2147483648 -255, Z: -513 2147483647\n"), std::string::npos) << text;
}

TEST_F(SurfaceDumpTest, MissingOrForeignFilesPrintNothing) {
  WriteFileBytes("net.tms", std::string("<orgn>\0", 7));
  WriteFileBytes("empty.tms", "");
  for (const char* name : {"", "   ", "missing.tms", "net.tms", "empty.tms"}) {
    EXPECT_EQ(Dump(name), "") << name;
  }
  CaptureConsole console;
  EXPECT_EQ(DumpSurfaceFile(nullptr), 1);
  EXPECT_EQ(console.Text(), "");
}

TEST_F(SurfaceDumpTest, IndexOutsideThePointTablePrintsTheOrigin) {
  SurfaceFile f;
  StartTile(f, "idx.tms");
  SetPoints(f, {{2560, 0, 2560}});
  SetPolygon(f, {0, 5, -1});
  f.WriteCentre();
  std::string text = CloseAndDump(f, "idx.tms");
  EXPECT_NE(text.find("<cntr> 3\n  0: 2560 0 2560 (10 0 10 ft)\n  5: 0 0 0 (0 0 0 ft)\n -1: 0 0 0 (0 0 0 ft)\n"
                      "Range X: 2560 2560, Z: 2560 2560\n"),
            std::string::npos)
      << text;
}

TEST_F(SurfaceDumpTest, SectionsInAnyOrderAreListed) {
  SurfaceFile f;
  StartTile(f, "order.tms");
  SetPoints(f, {{256, 0, 256}});
  f.WriteLights();
  SetPoints(f, {{0, 0, 0}, {256, 0, 0}, {0, 0, 256}});
  SetPolygon(f, {0, 1, 2});
  f.WriteCentre();
  f.polygon.vertexCount() = 0;
  f.WriteEdgeMark();  // empty
  SetPolygon(f, {2, 1, 0});
  f.WritePave();
  f.EndSection();  // a further pavement section, with its own table
  SetPoints(f, {{512, 0, 0}, {512, 0, 512}, {0, 0, 512}});
  f.WritePave();
  f.WriteTileEnd();
  f.tileX = 1;
  f.WriteTile();
  std::string text = CloseAndDump(f, "order.tms");
  EXPECT_NE(text.find("<lite> 1, type 0, step_ft 0.000000\n  0: 256 0 256 (1 0 1 ft)\n<cntr> 3\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("<pave> 3\n  2: 0 0 256 (0 0 1 ft)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("(0 0 0 ft)\n<pave> 3\n  2: 0 0 512 (0 0 2 ft)\n  1: 512 0 512"), std::string::npos);
  EXPECT_NE(text.find("\n<indx> 1 0\nRange"), std::string::npos) << text;
}

// Damage: every cut and a bad byte at every position still dump, end with
// the closing lines (once the file opens) and read nothing out of bounds.
TEST_F(SurfaceDumpTest, DamagedFilesDumpCleanly) {
  WriteSample("sample.tms");
  const std::string whole = ReadFileBytes("sample.tms");
  for (size_t n = 0; n < whole.size(); ++n) {
    WriteFresh("cut.tms", whole.substr(0, n));
    std::string text = Dump("cut.tms");
    if (n < 7) {
      EXPECT_EQ(text, "") << n;
    } else {
      EXPECT_NE(text.find("Tell= "), std::string::npos) << n;
    }
  }
  for (size_t at = 0; at < whole.size(); ++at) {
    for (unsigned char value : {0x00, 0x3C, 0x7F, 0xFF}) {
      std::string bytes = whole;
      bytes[at] = static_cast<char>(value);
      WriteFresh("bad.tms", bytes);
      std::string text = Dump("bad.tms");
      if (at >= 7) {
        EXPECT_NE(text.find("Tell= "), std::string::npos) << at;
      }
    }
  }
}

TEST_F(SurfaceDumpTest, ListingCommandDumpsTmsFilesWhateverTheCase) {
  WriteSample("airport.tms");
  WriteFileBytes("AIRPORT2.TMS", ReadFileBytes("airport.tms"));
  size_t length = ReadFileBytes("airport.tms").size();
  for (const char* name : {"airport.tms", "AIRPORT2.TMS"}) {
    testing::RunResult r = RunOstrand({"-ls", name});
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_NE(r.output.find(std::string(kSampleDump) + TellLine(length)), std::string::npos)
        << name << "\n" << r.output;
  }
  testing::RunResult missing = RunOstrand({"-ls", "missing.tms"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.output.find("<orgn>"), std::string::npos);
  EXPECT_EQ(missing.output.find("Range"), std::string::npos);
}

}  // namespace
}  // namespace ostrand
