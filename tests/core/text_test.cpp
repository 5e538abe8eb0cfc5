// Comma lists, character-boundary cuts, atoi-style numbers and file-name forms.
#include <gtest/gtest.h>

#include "common/paths.h"
#include "common/text.h"

namespace ls {
namespace {

using Entries = std::vector<std::string_view>;

TEST(CommaList, SplitsLeftToRight) {
  EXPECT_EQ(splitCommaList(""), Entries{});
  EXPECT_EQ(splitCommaList("a"), Entries{"a"});
  EXPECT_EQ(splitCommaList("a,b"), (Entries{"a", "b"}));
  EXPECT_EQ(splitCommaList(","), Entries{""});
  EXPECT_EQ(splitCommaList(",a"), (Entries{"", "a"}));
  EXPECT_EQ(splitCommaList("a,,b"), (Entries{"a", "", "b"}));
  EXPECT_EQ(splitCommaList("a,b,"), (Entries{"a", "b"}));
}

TEST(CommaList, AllAndAny) {
  EXPECT_TRUE(containsAll("news 2002", ""));
  EXPECT_TRUE(containsAll("news 2002", "news,2002"));
  EXPECT_FALSE(containsAll("news", "news,2002"));
  EXPECT_TRUE(containsAll("x", "x,"));
  EXPECT_FALSE(containsAny("anything", ""));
  EXPECT_TRUE(containsAny("anything", ","));
  EXPECT_TRUE(containsAny("台風が来る", "地震,台風"));
  EXPECT_FALSE(containsAny("晴れ", "地震,台風"));
}

TEST(Removal, AllAndFirst) {
  std::string s = "a&nbsp;b&nbsp;";
  removeAll(s, "&nbsp;");
  EXPECT_EQ(s, "ab");
  s = "aaab";
  removeAll(s, "ab");
  EXPECT_EQ(s, "aa");
  s = "aabb";
  removeAll(s, "ab");
  EXPECT_EQ(s, "");
  s = "keep";
  removeAll(s, "");
  EXPECT_EQ(s, "keep");
  s = "x&ref=top&ref=top";
  removeFirst(s, "&ref=top");
  EXPECT_EQ(s, "x&ref=top");
}

TEST(Cut, NeverEndsInTheFirstByteOfACharacter) {
  EXPECT_EQ(cutLength("abc", 10), 3u);
  EXPECT_EQ(cutLength("abcdef", 3), 3u);
  EXPECT_EQ(cutLength("aあ", 2), 1u);   // would split あ
  EXPECT_EQ(cutLength("aあ", 3), 3u);
  EXPECT_EQ(cutLength("あい", 3), 2u);
  // The boundary is found from the start: a trail byte that looks like a
  // lead byte (0x95 0x5C "表", 0x83 0x41 "ア") does not confuse it.
  EXPECT_EQ(cutLength("表表", 3), 2u);
  EXPECT_EQ(cutLength("\x81\x81\x81\x81", 3), 2u);
  // Half-width katakana (0xA1-0xDF) and high single bytes are one byte each.
  EXPECT_EQ(cutLength("\xB1\xB2\xB3\xB4", 3), 3u);
  EXPECT_EQ(cutLength("\xFD\xFE\xFF\xA0", 3), 3u);
  // Every lead byte range edge.
  for (unsigned lead : {0x81u, 0x9Fu, 0xE0u, 0xFCu}) {
    std::string t = "x";
    t += static_cast<char>(lead);
    t += '@';
    EXPECT_EQ(cutLength(t, 2), 1u) << lead;
  }
  for (unsigned single : {0x80u, 0xA0u, 0xDFu, 0xFDu}) {
    std::string t = "x";
    t += static_cast<char>(single);
    t += '@';
    EXPECT_EQ(cutLength(t, 2), 2u) << single;
  }
}

TEST(Numbers, ReadLikeAtoi) {
  EXPECT_EQ(parseInt("10"), 10);
  EXPECT_EQ(parseInt("  -12xyz"), -12);
  EXPECT_EQ(parseInt("+7"), 7);
  EXPECT_EQ(parseInt("\t\n 42"), 42);
  EXPECT_EQ(parseInt(""), 0);
  EXPECT_EQ(parseInt("abc"), 0);
  EXPECT_EQ(parseInt("- 5"), 0);
  EXPECT_EQ(parseInt("99999999999999999999999"), 2147483647);
  EXPECT_EQ(parseInt("-99999999999999999999999"), -2147483647 - 1);
  EXPECT_GT(parseLeadingInt("99999999999999999999999"), 65535);
}

TEST(Names, CaseInsensitiveAsciiOnly) {
  EXPECT_TRUE(equalsIgnoreAsciiCase("Window", "WINDOW"));
  EXPECT_FALSE(equalsIgnoreAsciiCase("Window", "Windows"));
  EXPECT_TRUE(startsWithIgnoreAsciiCase("HTTP://host", "http://"));
  EXPECT_FALSE(startsWithIgnoreAsciiCase("http:/", "http://"));
  // "ア" is 0x83 0x41: its trail byte is no letter "A".
  EXPECT_FALSE(equalsIgnoreAsciiCase("ア", "\x83\x61"));
}

TEST(Paths, ApplicationDirectoryEndsInASeparator) {
  std::string exe = std::string("C:") + kPathSep + "Tools" + kPathSep + "LINKSCOUT.exe";
  EXPECT_EQ(applicationDirectory(exe), std::string("C:") + kPathSep + "Tools" + kPathSep);
  EXPECT_EQ(applicationDirectory("LINKSCOUT.exe"), "");
  EXPECT_EQ(joinPath("dir" + std::string(1, kPathSep), "LOG", "x.log"),
            "dir" + std::string(1, kPathSep) + "LOG" + kPathSep + "x.log");
}

// Folder names the system hands over reach the file system unchanged, and
// the Shift_JIS names joined to them stay Shift_JIS.
TEST(Paths, SystemPathsSurviveTheShiftJisForm) {
  struct Case {
    std::u16string wide;
    std::string text;
  };
  const Case cases[] = {
      {u"C:\\LINKSCOUT\\", "C:\\LINKSCOUT\\"},
      {u"C:\\新着\\", "C:\\新着\\"},
      {u"C:\\Zo\u00EB\\", "C:\\Zo\xFF" "00EB\\"},
      {u"\uD55C\uAE00", "\xFF" "D55C\xFF" "AE00"},
      {u"\U0001F600", "\xFF" "D83D\xFF" "DE00"},     // a pair, unit by unit
      {u"\u00A5~", "\xFF" "00A5~"},                 // yen sign: 0x5C reads back as a backslash
      {u"\uFFFD", "\xFF" "FFFD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pathTextFromUtf16(c.wide), c.text);
    EXPECT_EQ(pathTextToUtf16(c.text), c.wide);
  }
  // A Shift_JIS site name joined to an escaped directory is read as before.
  std::string joined = pathTextFromUtf16(u"D:\\\uD55C\\") + "LOG\\ニュース.log";
  EXPECT_EQ(pathTextToUtf16(joined), u"D:\\\uD55C\\LOG\\ニュース.log");
  // Bytes that only look like the start of an escape are Shift_JIS as ever.
  EXPECT_EQ(pathTextToUtf16("\xFF" "12"), u"\uFFFD12");
  EXPECT_EQ(pathTextToUtf16("\xFF" "12G4"), u"\uFFFD12G4");
}

TEST(TextTest, FindCharMatchesFindNearAndFar) {
  std::string text = "0123456789abcdefghij" + std::string(100, '-') + "<x<";
  for (char c : {'0', '7', '8', 'j', '<', 'x', '?'}) {
    for (std::size_t from = 0; from <= text.size() + 1; ++from)
      ASSERT_EQ(findChar(text, c, from), std::string_view(text).find(c, from)) << c << " from " << from;
  }
  EXPECT_EQ(findChar("", 'a'), std::string_view::npos);
}

TEST(TextTest, RemoveAllInPlaceKeepsWhatFollowsTheLastRemoval) {
  std::string text = "xaabbyab";
  removeAll(text, "ab");  // "xaabby" + "ab": "aabb" goes in two steps, then the last "ab"
  EXPECT_EQ(text, "xy");
  text = "&nbsp;head&nbsp;line&nbsp";
  removeAll(text, "&nbsp;");
  EXPECT_EQ(text, "headline&nbsp");
}

}  // namespace
}  // namespace ls
