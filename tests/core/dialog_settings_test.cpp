// The settings dialog's rules: corrections, what a stored value shows as,
// what OK writes, and how an import merges into the site list.
#include <gtest/gtest.h>

#include "settings/dialog_settings.h"
#include "settings/ini_file.h"
#include "sites/site_edit.h"
#include "common/file_io.h"
#include "test_support.h"

namespace ls {
namespace {

TEST(DialogSettings, IntervalAndListSizeCorrections) {
  EXPECT_EQ(correctInterval("0"), "1");
  EXPECT_EQ(correctInterval(""), "1");
  EXPECT_EQ(correctInterval("119"), "119");
  EXPECT_EQ(correctInterval("120"), "120");
  EXPECT_EQ(correctInterval("500"), "120");
  EXPECT_EQ(correctListSize("10"), "50");
  EXPECT_EQ(correctListSize("50"), "50");
  EXPECT_EQ(correctListSize("51"), "51");
  EXPECT_EQ(correctListSize("5000"), "5000");
  EXPECT_EQ(correctListSize("9999"), "5000");
}

TEST(DialogSettings, StoredValuesShowAndWriteBackByTheirRules) {
  test::TempDir dir;
  std::string ini = dir.file("LINKSCOUT.ini");
  writeProfileString(ini, "SETTING", "SOUND", "10");
  writeProfileString(ini, "SETTING", "PROXY", "3");
  writeProfileString(ini, "SETTING", "PROXYNAME", std::string(300, 'p'));
  writeProfileString(ini, "LIST_FONT", "fontbkcolor", "9");
  DialogSettings s = loadDialogSettings(ini, "5", "700");
  EXPECT_TRUE(s.sound);
  EXPECT_FALSE(s.showStyle);
  EXPECT_EQ(s.proxy, 0);
  EXPECT_EQ(s.fontColor, 0);
  EXPECT_EQ(s.fontBkColor, 9);
  EXPECT_EQ(s.interval, "5");
  EXPECT_TRUE(saveDialogSettings(ini, s));
  EXPECT_EQ(readProfileString(ini, "SETTING", "SOUND", ""), "1");
  EXPECT_EQ(readProfileString(ini, "SETTING", "PROXY", ""), "0");
  EXPECT_EQ(readProfileString(ini, "SETTING", "PROXYNAME", "").size(), 254u);
  EXPECT_EQ(readProfileString(ini, "SETTING", "INTERVAL", ""), "5");
  EXPECT_EQ(readProfileString(ini, "LIST_FONT", "BACKGROUND", ""), "0");
  // Without a file the proxy name shows "none".
  EXPECT_EQ(loadDialogSettings(dir.file("missing.ini"), "10", "500").proxyName, "none");
}

TEST(DialogSettings, ASettingsFileThatCannotBeWrittenIsReportedNotIgnored) {
  test::TempDir dir;
  const std::string ini = dir.file("LINKSCOUT.ini");
  ASSERT_TRUE(makeDirectory(ini));  // stands where the file should be
  EXPECT_FALSE(saveDialogSettings(ini, loadDialogSettings(ini, "5", "700")));
}

TEST(DialogSettings, TrayQuestionColoursAndPicture) {
  test::TempDir dir;
  std::string ini = dir.file("LINKSCOUT.ini");
  EXPECT_FALSE(trayChoiceChanged(ini, false));
  EXPECT_TRUE(trayChoiceChanged(ini, true));
  writeProfileString(ini, "SETTING", "TASKTRAY", "-1");
  EXPECT_FALSE(trayChoiceChanged(ini, true));

  ListColours c = readListColours(ini);
  EXPECT_EQ(c.text.r, 0);
  EXPECT_EQ(c.background.g, 255);
  writeProfileString(ini, "LIST_FONT", "fontcolor", "10");
  writeProfileString(ini, "LIST_FONT", "fontbkcolor", "7");
  c = readListColours(ini);
  EXPECT_EQ(c.text.g, 128);  // オレンジ
  EXPECT_EQ(c.background.b, 128);
  writeProfileString(ini, "LIST_FONT", "fontcolor", "12");
  c = readListColours(ini);
  EXPECT_EQ(c.text.r, 0);
  EXPECT_EQ(c.background.r, 255);  // the defaults, black on white

  writeProfileString(ini, "LIST_FONT", "BACKGROUND", "1");
  writeProfileString(ini, "LIST_FONT", "BG_PATH", "a.b");
  EXPECT_EQ(backgroundPicture(ini), "");
  writeProfileString(ini, "LIST_FONT", "BG_PATH", "C:\\bg.bmp");
  EXPECT_EQ(backgroundPicture(ini), "C:\\bg.bmp");
}

TEST(SiteEdit, FieldsMustAllBeFilled) {
  EXPECT_FALSE(siteFromFields("", "http://a/", "x").has_value());
  EXPECT_FALSE(siteFromFields("n", "http://a/", "").has_value());
  std::optional<Site> s = siteFromFields(std::string(120, 'n'), "http://a/", "x");
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->name.size(), 99u);
  EXPECT_FALSE(s->checked);
}

Site site(const char* n, const char* u, const char* e, bool checked = false) { return Site{n, u, e, checked}; }

TEST(SiteEdit, ImportOrderDuplicatesAndNames) {
  std::vector<Site> rows{site("old1", "http://o/1", "x", true), site("old2", "http://o/2", "x")};
  std::vector<Site> file{site("first", "http://f/1", "a", true), site("second", "http://f/2", "a"),
                         site("third", "http://f/3", "a")};
  EXPECT_EQ(importSites(rows, file), 3);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].name, "third");
  EXPECT_EQ(rows[2].name, "first");
  EXPECT_FALSE(rows[2].checked);  // imported unchecked whatever the file said
  EXPECT_EQ(rows[3].name, "old1");
  EXPECT_TRUE(rows[3].checked);
  // The same file again adds nothing.
  EXPECT_EQ(importSites(rows, file), 0);
  EXPECT_EQ(rows.size(), 5u);
  // A taken name with another URL gets "_".
  EXPECT_EQ(importSites(rows, {site("old2", "http://elsewhere/", "a")}), 1);
  EXPECT_EQ(rows[0].name, "old2_");
  EXPECT_EQ(importSites(rows, {site("old2", "http://third/", "a")}), 1);
  EXPECT_EQ(rows[0].name, "old2__");
}

TEST(SiteEdit, LongImportedNamesKeepTheirSuffixesWithinTheLimit) {
  std::string base = std::string(96, 'n') + "表";  // 98 bytes, ending in a double-byte character
  std::vector<Site> rows{site(base.c_str(), "http://a/", "x")};
  ASSERT_EQ(importSites(rows, {site(base.c_str(), "http://b/", "x")}), 1);
  EXPECT_EQ(rows[0].name, std::string(96, 'n') + "_");  // the character goes whole
  ASSERT_EQ(importSites(rows, {site(base.c_str(), "http://c/", "x")}), 1);
  EXPECT_LE(rows[0].name.size(), 98u);
  EXPECT_NE(rows[0].name, rows[1].name);
  EXPECT_NE(rows[0].name, rows[2].name);
}

}  // namespace
}  // namespace ls
