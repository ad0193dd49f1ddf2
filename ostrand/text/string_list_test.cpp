#include "ostrand/text/string_list.h"

#include <gtest/gtest.h>

#include <string>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

TEST(StringListTest, AddKeepsFirstFormAndNoDuplicates) {
  STRING_LIST list;
  ASSERT_EQ(list.Create(1000), 1);
  EXPECT_EQ(list.Add("Hello World"), 0);
  EXPECT_EQ(list.Add("HELLO world"), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetString(0), "Hello World");
  EXPECT_EQ(list.Add("second"), 1);
  EXPECT_EQ(list.Used(), 14 + 9);
  EXPECT_EQ(list.GetString(2), "");
  EXPECT_EQ(list.GetString(-1), "");
}

TEST(StringListTest, CapacityRule) {
  ScratchDir dir;
  STRING_LIST list;
  ASSERT_EQ(list.Create(10), 1);
  EXPECT_EQ(list.Add("abc"), 0);   // 6 bytes
  EXPECT_EQ(list.Add("abcd"), -1); // 6 + 4 + 3 is not below 10
  EXPECT_EQ(list.Add("efgh"), -1); // silently: reported once
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Add("ABC"), 0);   // existing entries are still found
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_NE(log.find("ERROR: STRING_LIST::Add(abcd) failed, 0 1\n"), std::string::npos);
  EXPECT_EQ(log.find("efgh"), std::string::npos);
  list.Reset();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Add("x"), 0);     // 4 bytes fit again
  EXPECT_EQ(list.Add("a"), 1);     // 4 + 4 = 8 < 10
  EXPECT_EQ(list.Add("bb"), -1);   // reported again after Reset
  EXPECT_NE(ReadFileBytes("report.txt").find("Add(bb) failed, 0 2"), std::string::npos);
}

TEST(StringListTest, LongTexts) {
  STRING_LIST list;
  ASSERT_EQ(list.Create(20000), 1);
  const std::string longest(4092, 'q');
  const std::string tooLong(4093, 'r');
  EXPECT_EQ(list.Add(tooLong.c_str()), 0);  // not stored
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Add("x"), 0);
  EXPECT_EQ(list.Add(longest.c_str()), 1);
  EXPECT_EQ(list.GetString(1), longest);  // whole, not cut at 255
  EXPECT_EQ(list.Add("y"), 2);
  EXPECT_EQ(list.GetString(2), "y");
  EXPECT_EQ(list.Used(), 4 + 4095 + 4);
}

TEST(StringListTest, NoBufferAndCreate) {
  ScratchDir dir;
  STRING_LIST list;
  EXPECT_EQ(list.Add("a"), -1);
  EXPECT_EQ(list.Find("a"), -1);
  EXPECT_EQ(list.Create(-5), 0);
  EXPECT_NE(ReadFileBytes("report.txt").find("ERROR: 0 STRING_LIST::Create(-5) failed "),
            std::string::npos);
  ASSERT_EQ(list.Create(100), 1);
  list.Add("a");
  ASSERT_EQ(list.Create(100), 1);  // same capacity: kept and reset
  EXPECT_EQ(list.Count(), 0);
  list.Clear();
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_EQ(list.Add("a"), -1);
}

TEST(StringListTest, FindTable) {
  STRING_LIST list;
  ASSERT_EQ(list.Create(1000), 1);
  list.Add("ARE KSEA");
  list.Add("XCL something");
  list.Add("are");
  list.Add("ab");
  struct Case {
    const char* key;
    int32_t n;
    int32_t expected;
  } cases[] = {
      {"are ksea", 0, 0}, {"ARE", 0, 2},  {"xcl ", 4, 1}, {"Xcl", 3, 1},
      {"are", 4, 2},       // both end before 4: equal up to their ends
      {"ARE ", 4, 0},     {"abc", 3, -1}, {"ab", 3, 3},   {"zzz", 0, -1},
      {"ARE KSEAX", 8, 0}, {"", 0, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(list.Find(c.key, c.n), c.expected) << c.key << " " << c.n;
}

TEST(StringListTest, LoadAndPrefixIteration) {
  ScratchDir dir;
  WriteFileBytes("list.txt", "ARE one\n\nARE two\r\nare three\nARE one\n");
  STRING_LIST list;
  ASSERT_EQ(list.Create(1000), 1);
  EXPECT_EQ(list.Load("list.txt"), 3);  // empty line skipped, duplicate kept once
  int32_t index = 7;
  const char* text = FirstWithPrefix(list, "ARE ", &index);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "one");
  EXPECT_EQ(index, 0);
  text = NextWithPrefix(&index);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "two");  // CR LF folded
  EXPECT_EQ(index, 1);
  EXPECT_EQ(NextWithPrefix(&index), nullptr);  // "are three": case-sensitive
  EXPECT_EQ(index, -1);
  EXPECT_STREQ(FirstWithPrefix(list, "are "), "three");
  EXPECT_EQ(list.Load("missing.txt"), -1);
}

TEST(StringListTest, EmptyLineEndsIterationAndPrefixesLongerThanLines) {
  STRING_LIST list;
  ASSERT_EQ(list.Create(1000), 1);
  list.Add("<a>1");
  list.Add("<bgr");
  list.Add("<bgr-replace-edges-and-more> 1");
  list.Add("");  // Load never stores it, Add does
  list.Add("<a>2");
  int32_t index = 0;
  EXPECT_STREQ(FirstWithPrefix(list, "<a>", &index), "1");
  EXPECT_EQ(NextWithPrefix(&index), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_STREQ(FirstWithPrefix(list, "<bgr-"), "replace-edges-and-more> 1");
  EXPECT_STREQ(FirstWithPrefix(list, "<bgr-replace-edges-and-more>"), " 1");
}

}  // namespace
}  // namespace ostrand
