#include "corvane/core/listing_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "corvane/core/test_support.h"

namespace corvane {
namespace {
namespace fs = std::filesystem;

TEST(ListingImport, ListsInItsOwnFolderAndLeavesTheUsersFilesAlone) {
  const fs::path saved = fs::current_path();
  const fs::path dir = fs::temp_directory_path() / ("corvane_import_" + std::to_string(::getpid()));
  fs::remove_all(dir), fs::create_directories(dir / "work");
  const std::string work = (dir / "work").string();
  const std::string folder = fs::canonical(dir).string();
  for (const char* name : {"old.tmp", "report.txt", "abcd.bgr", "empty.bgr"})
    std::ofstream(dir / name) << name;
  // A stand-in ostrand: the network listing, or the surface dump.
  std::vector<std::string> seen;
  auto fake = [&](const std::string& command, const std::string& in) {
    seen.push_back(in == work ? command : "elsewhere");
    std::ofstream(fs::path(in) / "report.txt") << "log";
    const bool bgr = command.find("_bgr.tmp") != std::string::npos;
    std::ofstream(fs::path(in) / (bgr ? "ABCD_bgr.tmp" : "ABCD_tms.tmp"))
        << (bgr ? "ostrand -ls ABCD.bgr\n<orgn>  1.5 2.5 0.0 1 (x)\n<vloc> (0) 1 0 2\n<edge>  0 0\n"
                : "<orgn> (x)\n<pave> 1\n  0: 512 0 768 (2 0 3 ft)\n");
  };
  CCorvaneDoc doc;
  doc.SetName("LFPG");
  const auto none = [](const std::string&, const std::string&) {};
  // Nothing read leaves the document as it was.
  for (const std::string& path : {(dir / "empty.bgr").string(), (dir / "gone.bgr").string(),
                                  dir.string(), std::string("/no/such/folder/x.bgr")})
    EXPECT_FALSE(ImportListing(doc, path, work, none)) << path;
  EXPECT_EQ(Dump(doc), "'LFPG' 0 0 show 0\n");
  EXPECT_EQ(fs::current_path(), saved);
  ASSERT_TRUE(ImportListing(doc, (fs::path(folder) / "abcd.bgr").string(), work, fake));
  const std::string ls = "ostrand -ls " + folder;
  EXPECT_EQ(seen, (std::vector<std::string>{ls + "/ABCD.bgr >> ABCD_bgr.tmp",
                                            ls + "/ABCD.tms >> ABCD_tms.tmp"}));
  EXPECT_EQ(fs::current_path(), fs::path(folder));
  EXPECT_EQ(Dump(doc), "'ABCD' 1.5 2.5 show 14\nv 1 2\ne 0 0\np 1 2 3\n");
  EXPECT_TRUE(fs::is_empty(dir / "work"));
  EXPECT_EQ(ReadTextFile((dir / "old.tmp").string()), "old.tmp");
  EXPECT_EQ(ReadTextFile((dir / "report.txt").string()), "report.txt");
  // A second import appends.
  ASSERT_TRUE(ImportListing(doc, (dir / "abcd.bgr").string(), work, fake));
  EXPECT_EQ(Dump(doc), "'ABCD' 1.5 2.5 show 14\nv 1 2\nv 1 2\ne 0 0\ne 0 0\np 1 2 3\np 1 2 3\n");
  fs::current_path(saved), fs::remove_all(dir);
}

TEST(ListingImport, TitlesAreQuotedOnlyWhenTheShellWouldReadThem) {
  const struct { const char *title, *first; } rows[] = {
      {"A_-.+,@%Z", "ostrand -ls /d/A_-.+,@%Z.bgr >> A_-.+,@%Z_bgr.tmp"},
      {"MY FIELD", "ostrand -ls '/d/MY FIELD.bgr' >> 'MY FIELD_bgr.tmp'"},
      {"A;RM", "ostrand -ls '/d/A;RM.bgr' >> 'A;RM_bgr.tmp'"},
      {"IT'S", "ostrand -ls '/d/IT'\\''S.bgr' >> 'IT'\\''S_bgr.tmp'"},
  };
  for (const auto& c : rows) EXPECT_EQ(ListingCommands("/d", c.title)[0], c.first);
  EXPECT_EQ(FileTitleUpper("/a/b.c/kjfk.old.bgr"), "KJFK.OLD");
}

}  // namespace
}  // namespace corvane
