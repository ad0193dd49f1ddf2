#include "ostrand/text/string_list.h"

#include <gtest/gtest.h>

#include <string>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

// Entries take text length + 3 bytes; a text is added while the bytes used
// stay below the capacity; duplicates (without regard to case) keep the first form.
TEST(StringListTest, AddCapacityAndReports) {
  ScratchDir dir;
  STRING_LIST list;
  EXPECT_EQ(list.Add("a"), -1);  // no buffer
  EXPECT_EQ(list.Find("a"), -1);
  EXPECT_EQ(list.Create(-5), 0);
  EXPECT_NE(ReadFileBytes("report.txt").find("ERROR: 0 STRING_LIST::Create(-5) failed "), std::string::npos);
  ASSERT_EQ(list.Create(20000), 1);
  EXPECT_EQ(list.Add("Hello World"), 0);
  EXPECT_EQ(list.Add("HELLO world"), 0);
  EXPECT_EQ(list.GetString(0), "Hello World");
  EXPECT_EQ(list.Add(std::string(4093, 'r').c_str()), 0);  // too long: not stored
  const std::string longest(4092, 'q');
  EXPECT_EQ(list.Add(longest.c_str()), 1);
  EXPECT_EQ(list.GetString(1), longest);  // whole, not cut at 255
  EXPECT_EQ(list.Add("y"), 2);
  EXPECT_EQ(list.GetString(2) + "|" + list.GetString(3) + "|" + list.GetString(-1), "y||");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Used(), 14 + 4095 + 4);
  ASSERT_EQ(list.Create(20000), 1);  // same capacity: kept and emptied
  EXPECT_EQ(list.Count(), 0);
  list.Clear();
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_EQ(list.Add("a"), -1);

  ASSERT_EQ(list.Create(10), 1);
  EXPECT_EQ(list.Add("abc"), 0);    // 6 bytes
  EXPECT_EQ(list.Add("abcd"), -1);  // 6 + 7 is not below 10
  EXPECT_EQ(list.Add("efgh"), -1);  // silently: reported once
  EXPECT_EQ(list.Add("ABC"), 0);    // existing entries are still found
  EXPECT_EQ(list.Count(), 1);
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_NE(log.find("ERROR: STRING_LIST::Add(abcd) failed, 0 1\n"), std::string::npos);
  EXPECT_EQ(log.find("efgh"), std::string::npos);
  list.Reset();
  EXPECT_EQ(list.Add("x"), 0);
  EXPECT_EQ(list.Add("a"), 1);    // 4 + 4 = 8 < 10
  EXPECT_EQ(list.Add("bb"), -1);  // reported again after Reset
  EXPECT_NE(ReadFileBytes("report.txt").find("Add(bb) failed, 0 2"), std::string::npos);
}

TEST(StringListTest, FindLoadAndPrefixIteration) {
  ScratchDir dir;
  WriteFileBytes("list.txt", "ARE KSEA\n\nXCL something\r\nare\nab\nARE ksea\n");
  STRING_LIST list;
  ASSERT_EQ(list.Create(1000), 1);
  EXPECT_EQ(list.Load("missing.txt"), -1);
  EXPECT_EQ(list.Load("list.txt"), 4);  // empty line skipped, duplicate kept once
  const std::tuple<const char*, int32_t, int32_t> finds[] = {
      {"are ksea", 0, 0}, {"ARE", 0, 2}, {"xcl ", 4, 1}, {"Xcl", 3, 1}, {"ARE ", 4, 0}, {"abc", 3, -1},
      {"ab", 3, 3}, {"zzz", 0, -1}, {"ARE KSEAX", 8, 0}, {"", 0, -1}, {"Xyz", 1, 1},
      {"are", 4, 2},  // both end before 4: equal up to their ends
  };
  for (const auto& [key, n, index] : finds) EXPECT_EQ(list.Find(key, n), index) << key << " " << n;

  int32_t index = 7;
  EXPECT_STREQ(FirstWithPrefix(list, "ARE ", &index), "KSEA");
  EXPECT_EQ(index, 0);
  EXPECT_EQ(NextWithPrefix(&index), nullptr);  // "are": case-sensitive
  EXPECT_EQ(index, -1);
  EXPECT_STREQ(FirstWithPrefix(list, "XCL "), "something");  // CR LF folded

  list.Reset();
  for (const char* text : {"<a>1", "<bgr", "<bgr-replace-edges-and-more> 1", "", "<a>2", "<a>3"}) list.Add(text);
  EXPECT_STREQ(FirstWithPrefix(list, "<a>", &index), "1");
  EXPECT_EQ(NextWithPrefix(&index), nullptr);  // the empty line ends it
  EXPECT_EQ(index, -1);
  EXPECT_STREQ(FirstWithPrefix(list, "<bgr-"), "replace-edges-and-more> 1");
  EXPECT_STREQ(FirstWithPrefix(list, "<bgr-replace-edges-and-more>"), " 1");
  list.Reset();
  for (const char* text : {"<a>1", "<b>", "<a>2"}) list.Add(text);
  EXPECT_STREQ(FirstWithPrefix(list, "<a>", &index), "1");
  EXPECT_STREQ(NextWithPrefix(&index), "2");
  EXPECT_EQ(index, 2);
}

}  // namespace
}  // namespace ostrand
