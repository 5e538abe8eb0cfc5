// The main window's settings: what is read back, and what may be opened.
#include <gtest/gtest.h>

#include "common/web_address.h"
#include "settings/ini_file.h"
#include "settings/window_layout.h"
#include "test_support.h"

namespace ls {
namespace {

TEST(Layout, StatusPartsFollowTheWidth) {
  EXPECT_EQ(statusPartEdges(1000), (std::array<int, 2>{300, 1000}));
  EXPECT_EQ(statusPartEdges(105), (std::array<int, 2>{30, 105}));
  EXPECT_EQ(statusPartEdges(9), (std::array<int, 2>{0, 9}));
}

TEST(Layout, DefaultsWithoutAFileAndRoundTrips) {
  test::TempDir dir;
  std::string ini = dir.file("LINKSCOUT.ini");
  WindowRect r = readWindowRect(ini);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 200);
  EXPECT_EQ(readColumnWidths(ini), (std::array<int, 3>{200, 100, 200}));
  ListFont f = readListFont(ini);
  EXPECT_EQ(f.height, -12);
  EXPECT_EQ(f.charset, 128);
  EXPECT_EQ(f.faceName, "MS UI Gothic");

  writeWindowRect(ini, WindowRect{-8, 10, 900, 610});
  writeColumnWidths(ini, {321, 45, 678});
  ListFont g;
  g.height = -16;
  g.weight = 700;
  g.italic = 1;
  g.faceName = "ＭＳ Ｐゴシック";
  writeListFont(ini, g);
  r = readWindowRect(ini);
  EXPECT_EQ(r.left, -8);
  EXPECT_EQ(r.bottom, 610);
  EXPECT_EQ(readColumnWidths(ini), (std::array<int, 3>{321, 45, 678}));
  f = readListFont(ini);
  EXPECT_EQ(f.height, -16);
  EXPECT_EQ(f.weight, 700);
  EXPECT_EQ(f.italic, 1);
  EXPECT_EQ(f.faceName, "ＭＳ Ｐゴシック");
  // The section is the same whatever its letter case.
  EXPECT_EQ(readProfileString(ini, "WINDOW", "right", ""), "900");
}

TEST(Layout, HandEditedValuesKeepTheirLowBits) {
  test::TempDir dir;
  std::string ini = dir.file("LINKSCOUT.ini");
  writeProfileString(ini, "LISTVIEW", "TITLE", "65636");  // 0x10064
  writeProfileString(ini, "LIST_FONT", "italic", "257");
  writeProfileString(ini, "LIST_FONT", "facename", std::string(40, 'F'));
  EXPECT_EQ(readColumnWidths(ini)[0], 100);
  ListFont f = readListFont(ini);
  EXPECT_EQ(f.italic, 1);
  EXPECT_EQ(f.faceName.size(), 31u);
}

TEST(WebAddress, OnlyHttpAndHttpsAreOpened) {
  EXPECT_TRUE(isWebAddress("http://a/"));
  EXPECT_TRUE(isWebAddress("HTTPS://a/"));
  EXPECT_FALSE(isWebAddress("javascript:alert(1)"));
  EXPECT_FALSE(isWebAddress("file:///C:/Windows/notepad.exe"));
  EXPECT_FALSE(isWebAddress("C:\\Windows\\System32\\calc.exe"));
  EXPECT_FALSE(isWebAddress(" http://a/"));
  EXPECT_FALSE(isWebAddress(""));
}

}  // namespace
}  // namespace ls
