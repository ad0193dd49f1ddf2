#include "ostrand/surface/surface_dump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ostrand/surface/test_support.h"

namespace ostrand {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

const std::string kData = OSTRAND_SOURCE_DIR "/ostrand/surface/testdata/";

std::string Dump(const char* name) {
  testing::CaptureConsole console;
  EXPECT_EQ(DumpSurfaceFile(name), 1);
  return console.Text();
}

// A scratch folder holding the sample file, and a fresh coordinate range
// (it lives for the whole run).
class SurfaceDumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSurfaceDumpRange();
    ASSERT_EQ(testing::WriteSample("sample.tms"), 1);
    sample_ = ReadFileBytes("sample.tms");
  }
  void TearDown() override { ResetSurfaceDumpRange(); }
  testing::ScratchDir dir_;
  std::string sample_;
};

// A file of one empty tile, listed before and after the sample: first with
// the range's start values, then with the range the sample widened.
TEST_F(SurfaceDumpTest, ExactTextAndTheRangeOfTheRun) {
  // A southern, western origin and a negative tile edge.
  SurfaceFile f;
  f.Create("empty.tms"), f.WriteOrigin(-184827.0, -3600.0, 0.0);
  f.tileFeet = -2.0f;
  f.WriteGrid(), f.WriteTile(), f.WriteTileEnd(), f.Close();
  std::string text = Dump("empty.tms");  // in this order: the range is the run's
  text += Dump("sample.tms");
  text += Dump("empty.tms");
  EXPECT_EQ(text, ReadFileBytes(kData + "sample.dump"));
}

// No name, a blank one or a missing file print nothing; so does a cut of
// the sample before its first tag is whole, and after that the listing ends
// with the closing lines.
TEST_F(SurfaceDumpTest, MissingAndCutFilesDumpCleanly) {
  for (const char* name : {static_cast<const char*>(nullptr), "   ", "missing.tms"}) EXPECT_EQ(Dump(name), "");
  for (size_t n : {size_t{6}, size_t{7}, sample_.size() - 1}) {
    WriteFileBytes("cut.tms", sample_.substr(0, n));
    EXPECT_EQ(Dump("cut.tms").find("\nTell= ") != std::string::npos, n > 6) << n;
  }
}

// Offset of the first occurrence of a tag in the bytes.
size_t Find(const std::string& bytes, const char* tag) { return bytes.find(std::string(tag) + '\0'); }

// A count or tag overwritten: the reader clamps it, the listing shows the
// text expected and ends where the reading stopped.
TEST_F(SurfaceDumpTest, CorruptCountsAndTagsAreClamped) {
  const size_t pave = Find(sample_, "<pave>"), points = pave + 7 + 4 + 16, record = points + 4 + 4 * 12;
  const size_t lite = Find(sample_, "<lite>"), lights = lite + 7 + 4;
  const char* const stop = " -1: 0 0 0 (0 0 0 ft)\nRange";  // nothing read after the centre marking
  const struct { const char* name; size_t offset; int32_t value; const char* expect;
    unsigned long tell; } rows[] = {
      {"point count past capacity", points, 2001, stop, 0x1CC},
      {"point count at capacity: points up to the end", points, 2000, stop, 0x2C1},
      {"vertex count 257", record + 4, 257, stop, 0x208},
      {"vertex count negative", record + 4, -5, stop, 0x208},
      {"vertex count 0: the record's fixed part is read", record + 4, 0, stop, 0x214},
      {"vertex count 256: a record cut short", record + 4, 256, stop, 0x2C1},
      {"record type 6", record, 6, stop, 0x1FC},
      {"light count past capacity", lights, 2001, "<indx> 0 1\nRange", 0x8F},
      {"light count negative", lights, INT32_MIN, "<indx> 0 1\nRange", 0x8F},
      {"light count at capacity", lights, 2000, "<lite> 69, type 1, step_ft 0.000000\n", 0x2C1},
      {"pave tag made cntr", pave + 1, 0x72746e63, "<cntr> 3\n  2: -511 0 -513", 0x2BA},
      {"lite tag", lite + 1, 0, "<indx> 0 1\nRange", 0x80}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::string bytes = sample_;
    bytes.replace(r.offset, 4, reinterpret_cast<const char*>(&r.value), 4);
    WriteFileBytes("bad.tms", bytes);
    const std::string text = Dump("bad.tms");
    EXPECT_NE(text.find(r.expect), std::string::npos) << text;
    char tell[32];
    std::snprintf(tell, sizeof tell, "\nTell= %08lX, ", r.tell);
    EXPECT_NE(text.find(tell), std::string::npos) << text;
  }
}

// The listing command dumps a file whose extension is "tms" in any case
// (the generation tests list upper-case names).
TEST_F(SurfaceDumpTest, ListingCommandDumpsTmsFilesWhateverTheCase) {
  const testing::RunResult r = testing::RunOstrand({"-ls", "sample.tms"});
  EXPECT_TRUE(r.status == 1 && r.output.find(Dump("sample.tms")) != std::string::npos) << r.output;
}

}  // namespace
}  // namespace ostrand
