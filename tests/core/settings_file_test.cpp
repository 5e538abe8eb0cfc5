#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <string>

#include "common/cp932.h"
#include "common/file_io.h"
#include "test_support.h"
#include "common/paths.h"
#include "settings/ini_file.h"

namespace ls {
namespace {


class SettingsFileTest : public ::testing::Test {
 protected:
  void put(const std::string& bytes) { test::writeBytes(ini_, bytes); }

  test::TempDir dir_;
  std::string ini_ = dir_.file("LINKSCOUT.ini");
};

const char kFirstRunFile[] =
    "[Window]\r\n"
    "left=0\r\n"
    "top=0\r\n"
    "right=400\r\n"
    "bottom=200\r\n"
    "[LISTVIEW]\r\n"
    "TITLE=200\r\n"
    "SITE=100\r\n"
    "URL=200\r\n"
    "[SETTING]\r\n"
    "INTERVAL=10\r\n"
    "LIST=700\r\n"
    "SOUND=0\r\n"
    "PROXY=0\r\n"
    "PROXYNAME=\r\n"
    "TASKTRAY=0\r\n"
    "DELETE=&nbsp;,&gt;\r\n"
    "DISREGARDURL=target=main style=text-decoration:none\r\n"
    "[LIST_FONT]\r\n"
    "height=-12\r\n"
    "width=0\r\n"
    "escapement=0\r\n"
    "orientation=0\r\n"
    "weight=400\r\n"
    "italic=0\r\n"
    "underline=0\r\n"
    "strikeout=0\r\n"
    "charset=128\r\n"
    "outprecision=3\r\n"
    "clipprecision=2\r\n"
    "quality=1\r\n"
    "pitchandfamily=50\r\n"
    "facename=MS UI Gothic\r\n";

TEST(AppPathsTest, DirectoryAndSettingsFileFromTheExecutablePath) {
  const std::string sep(1, kPathSep);
  std::string dir = sep + "アプリ" + sep + "bin" + sep;
  std::optional<AppPaths> paths = computeAppPaths(dir + "LINKSCOUT.exe");
  ASSERT_TRUE(paths);
  EXPECT_EQ(paths->directory, dir);
  EXPECT_EQ(paths->settingsFile, dir + "LINKSCOUT.ini");
  EXPECT_FALSE(computeAppPaths("LINKSCOUT.exe"));
}

TEST_F(SettingsFileTest, FirstRunFileHasExactlyTheKeysInOrder) {
  ASSERT_TRUE(writeFirstRunSettings(ini_));
  EXPECT_EQ(readWholeFile(ini_).value_or(""), kFirstRunFile);
}

TEST_F(SettingsFileTest, FirstRunReplacesKeysAlreadyThereAndKeepsTheRest) {
  put("[SETTING]\r\nINTERVAL=3\r\nKEYWORD=速報\r\n");
  ASSERT_TRUE(writeFirstRunSettings(ini_));
  EXPECT_EQ(readProfileString(ini_, kSETTING, kINTERVAL, ""), "10");
  EXPECT_EQ(readWordList(ini_, kKEYWORD), "速報");
  std::string text = readWholeFile(ini_).value_or("");
  EXPECT_EQ(text.rfind("[SETTING]\r\nINTERVAL=10\r\nKEYWORD=速報\r\nLIST=700\r\n", 0), 0u) << text;
}

TEST_F(SettingsFileTest, FirstRunValuesReadBackThroughTheReaders) {
  ASSERT_TRUE(writeFirstRunSettings(ini_));
  IntervalAndList held = readIntervalAndList(ini_);
  EXPECT_EQ(held.interval, "10");
  EXPECT_EQ(held.list, "700");
  EXPECT_EQ(readListLength(ini_), 700);
  EXPECT_EQ(readSettingFlag(ini_, kSOUND), 0);
  EXPECT_EQ(readWordList(ini_, kDELETE), "&nbsp;,&gt;");
  EXPECT_EQ(readWordList(ini_, kDISREGARDURL), "target=main style=text-decoration:none");
  EXPECT_EQ(readProfileString(ini_, kSETTING, kPROXYNAME, "none"), "");
  EXPECT_EQ(readProfileString(ini_, kLIST_FONT, kFaceName, ""), "MS UI Gothic");
}

TEST_F(SettingsFileTest, DefaultsWhenTheFileOrKeysAreMissing) {
  IntervalAndList held = readIntervalAndList(ini_);
  EXPECT_EQ(held.interval, "10");
  EXPECT_EQ(held.list, "500");
  EXPECT_EQ(readListLength(ini_), 500);
  EXPECT_EQ(readSettingFlag(ini_, kTASKTRAY), 0);
  EXPECT_EQ(readWordList(ini_, kKEYWORD), "");

  put("[SETTING]\r\nSOUND=1\r\n");
  EXPECT_EQ(readListLength(ini_), 500);
  EXPECT_EQ(readIntervalAndList(ini_).list, "500");
  EXPECT_EQ(readProfileString(ini_, kSETTING, kPROXYNAME, "none"), "none");
}

TEST_F(SettingsFileTest, HeldTextsAndWordListsAreCutToTheirLimits) {
  std::string longList;
  for (int i = 0; i < 250; ++i) longList += "語";  // 500 bytes
  put("[SETTING]\r\nINTERVAL=0\r\nLIST=12345678901\r\nKEYWORD=" + longList + "\r\n");
  IntervalAndList held = readIntervalAndList(ini_);
  EXPECT_EQ(held.interval, "0") << "a hand-edited value is used as it stands";
  EXPECT_EQ(held.list, "123456789");
  std::string keyword = readWordList(ini_, kKEYWORD);
  EXPECT_EQ(keyword, longList.substr(0, 498)) << "499 bytes would end in half a character";
}

TEST_F(SettingsFileTest, WindowSectionMatchesWhateverItsCase) {
  put("[WINDOW]\r\nleft=10\r\nTOP=20\r\nright=410\r\nbottom=220\r\n");
  EXPECT_EQ(readProfileInt(ini_, kWindow, kLeft, 0), 10);
  EXPECT_EQ(readProfileInt(ini_, kWindow, kTop, 0), 20);
  EXPECT_EQ(readProfileInt(ini_, kWindow, kRight, 300), 410);
  EXPECT_EQ(readProfileInt(ini_, kWindow, kBottom, 200), 220);
}

TEST_F(SettingsFileTest, FlagsReadAsNumbers) {
  put("[SETTING]\r\nSOUND=11\r\nSHOWSTYLE=1\r\nTASKTRAY=yes\r\n");
  EXPECT_EQ(readSettingFlag(ini_, kSOUND), 11) << "\"11\" is not the value 1, so no sound";
  EXPECT_EQ(readSettingFlag(ini_, kSHOWSTYLE), 1);
  EXPECT_EQ(readSettingFlag(ini_, kTASKTRAY), 0);
}

}  // namespace
}  // namespace ls
