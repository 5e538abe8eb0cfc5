#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "common/cp932.h"
#include "common/file_io.h"
#include "test_support.h"

namespace ls {
namespace {


class IniFileTest : public ::testing::Test {
 protected:

  void put(const std::string& bytes) {
    test::writeBytes(path_, bytes);
  }
  std::string bytes() { return readWholeFile(path_).value_or("<missing>"); }
  std::string get(const char* section, const char* key, const char* def = "<def>") {
    return readProfileString(path_, section, key, def);
  }

  test::TempDir dir_;
  std::string path_ = dir_.file("test.ini");
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(get("SETTING", "INTERVAL", "10"), "10");
  EXPECT_EQ(readProfileInt(path_, "SETTING", "LIST", 500), 500);
  EXPECT_FALSE(entryExists(path_)) << "reading must not create the file";

  put("[OTHER]\r\nINTERVAL=5\r\n");
  EXPECT_EQ(get("SETTING", "INTERVAL", "10"), "10");
  put("[SETTING]\r\nLIST=700\r\n");
  EXPECT_EQ(get("SETTING", "INTERVAL", "10"), "10");
  EXPECT_EQ(readProfileInt(path_, "SETTING", "SOUND", 3), 3);
  EXPECT_EQ(get("SETTING", "", "d"), "d");
}

TEST_F(IniFileTest, SectionAndKeyNamesIgnoreCase) {
  put("[WINDOW]\r\nLEFT=5\r\nTop=7\r\n");
  EXPECT_EQ(readProfileInt(path_, "Window", "left", 0), 5);
  EXPECT_EQ(readProfileInt(path_, "window", "TOP", 0), 7);
  EXPECT_EQ(get("Window", "right"), "<def>");
}

TEST_F(IniFileTest, BlanksAroundNamesAndValuesAreIgnored) {
  put("  [ SETTING ]  \r\n\t INTERVAL \t=  15  \r\nPROXYNAME=\r\nKEYWORD=  a b  \r\n");
  EXPECT_EQ(get("SETTING", "INTERVAL"), "15");
  EXPECT_EQ(get(" SETTING ", " INTERVAL "), "15");
  EXPECT_EQ(get("SETTING", "PROXYNAME", "none"), "") << "present and empty is not the default";
  EXPECT_EQ(get("SETTING", "KEYWORD"), "a b");
}

TEST_F(IniFileTest, OnePairOfSurroundingQuotesIsRemoved) {
  put("[S]\r\n"
      "dq=\"quoted value\"\r\n"
      "sq= 'single' \r\n"
      "twice=\"\"x\"\"\r\n"
      "mixed=\"a'\r\n"
      "lone=\"\r\n"
      "empty=\"\"\r\n"
      "inner=a\"b\"\r\n");
  EXPECT_EQ(get("S", "dq"), "quoted value");
  EXPECT_EQ(get("S", "sq"), "single");
  EXPECT_EQ(get("S", "twice"), "\"x\"");
  EXPECT_EQ(get("S", "mixed"), "\"a'");
  EXPECT_EQ(get("S", "lone"), "\"");
  EXPECT_EQ(get("S", "empty", "def"), "");
  EXPECT_EQ(get("S", "inner"), "a\"b\"");
}

TEST_F(IniFileTest, LinesThatAreNoKeysOfTheSection) {
  put("INTERVAL=1\r\n"          // before any section
      "[SETTING]\r\n"
      ";INTERVAL=2\r\n"         // comment
      "INTERVAL\r\n"            // no '='
      "\r\n"
      "DISREGARDURL=target=main style=x\r\n"
      "INTERVAL=3\r\n"
      "INTERVAL=4\r\n"          // a duplicate key: the first counts
      "[SETTING]\r\n"
      "INTERVAL=5\r\n"
      "SOUND=1\r\n");           // only the first section of a name counts
  EXPECT_EQ(get("SETTING", "INTERVAL"), "3");
  EXPECT_EQ(get("SETTING", "DISREGARDURL"), "target=main style=x");
  EXPECT_EQ(get("SETTING", "SOUND"), "<def>");
  EXPECT_EQ(get("", "INTERVAL"), "<def>");
}

TEST_F(IniFileTest, LfLineEndsAndALastLineWithoutLineBreak) {
  put("[A]\nx=1\n[B]\ny=2");
  EXPECT_EQ(get("A", "x"), "1");
  EXPECT_EQ(get("B", "y"), "2");
  put("[A]\r\nx=1\r\n[B]\r\ny=2\r");
  EXPECT_EQ(get("B", "y"), "2");
}

TEST_F(IniFileTest, ShiftJisNamesAndValues) {
  // ゾ is 0x83 0x5D: its second byte is ']' and must not end the section name.
  put("[ゾ表]\r\n新着=表示\r\n");
  EXPECT_EQ(get("ゾ表", "新着"), "表示");
}

TEST_F(IniFileTest, ByteLimitCutsValuesAndDefaultsAtCharacterBoundaries) {
  put("[S]\r\nnum=1234567890\r\njp=あいう\r\n");
  EXPECT_EQ(readProfileString(path_, "S", "num", "10", 9), "123456789");
  EXPECT_EQ(readProfileString(path_, "S", "jp", "", 5), "あい");
  EXPECT_EQ(readProfileString(path_, "S", "jp", "", 6), "あいう");
  EXPECT_EQ(readProfileString(path_, "S", "none", "1234567890", 9), "123456789");
  EXPECT_EQ(readProfileString(path_, "S", "none", "あいう", 3), "あ");
  EXPECT_EQ(readProfileString(path_, "S", "none", "  d  "), "  d") << "trailing blanks of a default go";
}

TEST_F(IniFileTest, IntegerValues) {
  put("[S]\r\nneg=-12\r\ntext=abc\r\nempty=\r\nlead=  42xyz\r\nquoted=\"7\"\r\nplus=+9\r\nhuge=99999999999\r\n");
  EXPECT_EQ(readProfileInt(path_, "S", "neg", 1), -12);
  EXPECT_EQ(readProfileInt(path_, "S", "text", 1), 0);
  EXPECT_EQ(readProfileInt(path_, "S", "empty", 1), 1);
  EXPECT_EQ(readProfileInt(path_, "S", "lead", 1), 42);
  EXPECT_EQ(readProfileInt(path_, "S", "quoted", 1), 7);
  EXPECT_EQ(readProfileInt(path_, "S", "plus", 1), 9);
  EXPECT_EQ(readProfileInt(path_, "S", "huge", 1), 2147483647);
  EXPECT_EQ(readProfileInt(path_, "S", "missing", -1), -1);
}

TEST_F(IniFileTest, WriteCreatesTheFileAndAddsSectionsAtTheEnd) {
  ASSERT_TRUE(writeProfileString(path_, "Window", "left", "0"));
  EXPECT_EQ(bytes(), "[Window]\r\nleft=0\r\n");
  ASSERT_TRUE(writeProfileString(path_, "SETTING", "PROXYNAME", ""));
  ASSERT_TRUE(writeProfileString(path_, "WINDOW", "top", "-3"));
  EXPECT_EQ(bytes(), "[Window]\r\nleft=0\r\ntop=-3\r\n[SETTING]\r\nPROXYNAME=\r\n");
  EXPECT_EQ(readProfileInt(path_, "Window", "top", 0), -3);
}

TEST_F(IniFileTest, WriteReplacesInPlaceKeepingEveryOtherLine) {
  put("; settings\r\n"
      "[SETTING]\r\n"
      "  Interval = 5 \r\n"
      "; interval above\r\n"
      "LIST=700\r\n"
      "INTERVAL=6\r\n"
      "\r\n"
      "[LIST_FONT]\r\n"
      "facename=MS UI Gothic\r\n");
  ASSERT_TRUE(writeProfileString(path_, "setting", "INTERVAL", "20"));
  EXPECT_EQ(bytes(),
            "; settings\r\n"
            "[SETTING]\r\n"
            "Interval=20\r\n"
            "; interval above\r\n"
            "LIST=700\r\n"
            "INTERVAL=6\r\n"
            "\r\n"
            "[LIST_FONT]\r\n"
            "facename=MS UI Gothic\r\n");
}

TEST_F(IniFileTest, WriteAppendsANewKeyAtTheEndOfItsSection) {
  put("[SETTING]\r\nLIST=700\r\n; end\r\n\r\n[LIST_FONT]\r\nheight=-12\r\n[SETTING]\r\nx=1\r\n");
  ASSERT_TRUE(writeProfileString(path_, "SETTING", "DELETE", "&nbsp;,&gt;"));
  EXPECT_EQ(bytes(),
            "[SETTING]\r\nLIST=700\r\n; end\r\nDELETE=&nbsp;,&gt;\r\n\r\n"
            "[LIST_FONT]\r\nheight=-12\r\n[SETTING]\r\nx=1\r\n");
  ASSERT_TRUE(writeProfileString(path_, "EMPTY", "a", "1"));
  ASSERT_TRUE(writeProfileString(path_, "EMPTY", "b", "2"));
  EXPECT_EQ(bytes(),
            "[SETTING]\r\nLIST=700\r\n; end\r\nDELETE=&nbsp;,&gt;\r\n\r\n"
            "[LIST_FONT]\r\nheight=-12\r\n[SETTING]\r\nx=1\r\n[EMPTY]\r\na=1\r\nb=2\r\n");
}

TEST_F(IniFileTest, WriteEndsEveryLineInCrLf) {
  put("[A]\nx=1\n[B]\ny=2");
  ASSERT_TRUE(writeProfileString(path_, "B", "z", "3"));
  EXPECT_EQ(bytes(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\nz=3\r\n");
}

TEST_F(IniFileTest, WriteRefusesWhatWouldNotReadBack) {
  put("[S]\r\nk=old\r\n");
  const std::string before = bytes();
  EXPECT_FALSE(writeProfileString(path_, "S", "k", "two\r\nlines"));
  EXPECT_FALSE(writeProfileString(path_, "S", "k", "lf\nonly"));
  EXPECT_FALSE(writeProfileString(path_, "S", "k", std::string("nul\0byte", 8)));
  EXPECT_FALSE(writeProfileString(path_, "S", "", "v"));
  EXPECT_FALSE(writeProfileString(path_, "S", "a=b", "v"));
  EXPECT_FALSE(writeProfileString(path_, "S]", "k", "v"));
  EXPECT_FALSE(writeProfileString(path_, "", "k", "v"));
  EXPECT_EQ(bytes(), before);
  EXPECT_FALSE(writeProfileString(dir_.file("no") + kPathSep + "x.ini", "S", "k", "v"));
}

TEST_F(IniFileTest, ASectionNameEndingInsideADoubleByteCharacterIsRefused) {
  put("[S]\r\nk=old\r\n[\x89\x5D]\r\nk=kanji\r\n");
  const std::string before = bytes();
  // "[\x89]" reads back as a section that never closes; a write aimed at it
  // must not reach the key of another section either.
  EXPECT_FALSE(writeProfileString(path_, "\x89", "k", "v"));
  EXPECT_FALSE(writeProfileString(path_, "S\x89", "k", "v"));
  EXPECT_FALSE(writeProfileString(path_, "\x82\xA0\xE0 ", "k", "v"));
  EXPECT_EQ(bytes(), before);
  // A whole double-byte character at the end is a name like any other.
  ASSERT_TRUE(writeProfileString(path_, "\x82\xA0", "k", "v"));
  EXPECT_EQ(get("\x82\xA0", "k"), "v");
  EXPECT_EQ(get("S", "k"), "old");
}

TEST_F(IniFileTest, TextFunctionsMatchTheFileFunctions) {
  std::string text = "[S]\nk = 'v'\n";
  EXPECT_EQ(readProfileText(text, "s", "K", "d"), "v");
  ASSERT_TRUE(updateProfileText(text, "S", "k", "w"));
  EXPECT_EQ(text, "[S]\r\nk=w\r\n");
  EXPECT_EQ(readProfileText(text, "S", "missing", "d"), "d");
}

}  // namespace
}  // namespace ls
