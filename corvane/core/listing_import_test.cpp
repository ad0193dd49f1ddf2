#include "corvane/core/listing_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "corvane/core/text_file.h"

namespace corvane {
namespace {
namespace fs = std::filesystem;

class ListingImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("corvane_import_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::current_path(saved_);
    fs::remove_all(dir_);
  }
  void Touch(const std::string& name, const std::string& text = "") {
    std::ofstream(dir_ / name) << text;
  }
  fs::path saved_;
  fs::path dir_;
};

TEST_F(ListingImportTest, ListsInItsOwnFolderAndLeavesTheUsersFilesAlone) {
  fs::create_directories(dir_ / "work");
  const std::string work = (dir_ / "work").string();
  const std::string folder = fs::canonical(dir_).string();
  Touch("old.tmp", "mine");
  Touch("report.txt", "my log");
  Touch("abcd.bgr");
  std::vector<std::string> seen;
  auto fake = [&](const std::string& command, const std::string& in) {
    seen.push_back(command);
    EXPECT_EQ(in, work);
    std::ofstream(fs::path(in) / "report.txt") << "log";
    if (command.find("_bgr.tmp") != std::string::npos) {
      std::ofstream(fs::path(in) / "ABCD_bgr.tmp")
          << "ostrand -ls ABCD.bgr\n<orgn>  1.5 2.5 0.0 1 (x)\n<vloc> (0) 1 0 2\n<edge>  0 0\n";
    } else {
      std::ofstream(fs::path(in) / "ABCD_tms.tmp")
          << "<orgn> (x)\n<pave> 1\n  0: 512 0 768 (2 0 3 ft)\n";
    }
  };
  CCorvaneDoc doc;
  ASSERT_TRUE(ImportListing(doc, (fs::path(folder) / "abcd.bgr").string(), work, fake));
  EXPECT_EQ(seen,
            (std::vector<std::string>{"ostrand -ls " + folder + "/ABCD.bgr >> ABCD_bgr.tmp",
                                      "ostrand -ls " + folder + "/ABCD.tms >> ABCD_tms.tmp"}));
  EXPECT_EQ(fs::current_path(), fs::path(folder));
  EXPECT_EQ(doc.m_szName, "ABCD");
  ASSERT_EQ(doc.m_vertices.size(), 1u);
  ASSERT_EQ(doc.m_pavePoints.size(), 1u);
  EXPECT_EQ(doc.m_nShowFlags, kShowEdges | kShowEdgesRead | kShowPolygons);
  EXPECT_TRUE(fs::is_empty(dir_ / "work"));
  EXPECT_EQ(ReadTextFile((dir_ / "old.tmp").string()), "mine");
  EXPECT_EQ(ReadTextFile((dir_ / "report.txt").string()), "my log");

  // A second import appends.
  Touch("abcd.tms");
  ASSERT_TRUE(ImportListing(doc, (dir_ / "abcd.tms").string(), work, fake));
  EXPECT_EQ(doc.m_vertices.size(), 2u);
  EXPECT_EQ(doc.m_pavePoints.size(), 2u);
}

TEST_F(ListingImportTest, NothingReadLeavesTheDocumentAsItWas) {
  Touch("empty.bgr");
  CCorvaneDoc doc;
  doc.m_vertices.push_back({1, 1});
  doc.SetName("LFPG");
  const auto none = [](const std::string&, const std::string&) {};
  for (const std::string& path : {(dir_ / "empty.bgr").string(), (dir_ / "gone.bgr").string(),
                                  dir_.string(), std::string("/no/such/folder/x.bgr")}) {
    EXPECT_FALSE(ImportListing(doc, path, dir_.string(), none)) << path;
    EXPECT_TRUE(doc.m_szName == "LFPG" && doc.m_vertices.size() == 1u);
  }
  EXPECT_EQ(fs::current_path(), saved_);
}

TEST_F(ListingImportTest, TitlesAreQuotedOnlyWhenTheShellWouldReadThem) {
  const struct {
    const char* title;
    const char* first;
  } cases[] = {
      {"ABCD", "ostrand -ls /d/ABCD.bgr >> ABCD_bgr.tmp"},
      {"MY FIELD", "ostrand -ls '/d/MY FIELD.bgr' >> 'MY FIELD_bgr.tmp'"},
      {"A;RM", "ostrand -ls '/d/A;RM.bgr' >> 'A;RM_bgr.tmp'"},
      {"IT'S", "ostrand -ls '/d/IT'\\''S.bgr' >> 'IT'\\''S_bgr.tmp'"},
  };
  for (const auto& c : cases) EXPECT_EQ(ListingCommands("/d", c.title)[0], c.first);
  EXPECT_EQ(FileTitleUpper("/a/b.c/kjfk.old.bgr"), "KJFK.OLD");
}

TEST_F(ListingImportTest, RealShellWithACommandLineOver511Characters) {
  // A stand-in ostrand on PATH prints a one-vertex listing.
  fs::create_directories(dir_ / "bin");
  {
    std::ofstream script(dir_ / "bin" / "ostrand");
    script << "#!/bin/sh\necho 'ostrand -ls '\"$2\"\necho '<vloc> (0) 3 0 4'\n";
  }
  fs::permissions(dir_ / "bin" / "ostrand", fs::perms::owner_all);
  const std::string title(247, 'Q');  // the longest a "_bgr.tmp" name allows
  const std::string path = (dir_ / "bin").string();
  Touch(title + ".bgr");
  CCorvaneDoc doc;
  size_t longest = 0;
  const std::string work = (dir_ / "bin").string();
  ASSERT_TRUE(ImportListing(doc, (dir_ / (title + ".bgr")).string(), work,
                            [&](const std::string& c, const std::string& in) {
                              longest = std::max(longest, c.size());
                              RunShellCommand("PATH='" + path + "':\"$PATH\"; " + c, in);
                            }));
  EXPECT_GT(longest, 511u);
  EXPECT_EQ(doc.m_szName, "QQQQQQQ");
  ASSERT_EQ(doc.m_vertices.size(), 1u);
  EXPECT_DOUBLE_EQ(doc.m_vertices[0].z, 4.0);
  EXPECT_FALSE(fs::exists(dir_ / "bin" / (title + "_bgr.tmp")));
}

}  // namespace
}  // namespace corvane
