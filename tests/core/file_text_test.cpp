// Files edited by hand and saved as UTF-8: read as the program's Shift_JIS
// texts, written back in the program's own format.
#include "common/file_text.h"

#include <gtest/gtest.h>

#include <string>

#include "common/cp932.h"
#include "common/file_io.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "sites/site_file.h"
#include "test_support.h"

namespace ls {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(FileText, WhichBytesAreConverted) {
  struct Case {
    std::string bytes, sjis;
  };
  const std::string sjis = "宣伝,広告";  // Shift_JIS: the literals are compiled to code page 932
  const std::string utf8 = cp932ToUtf8(sjis);
  const Case cases[] = {
      {kBom + utf8, sjis},
      {kBom + "KEY=1", "KEY=1"},
      {utf8, sjis},                                   // no mark, but no Shift_JIS either
      {sjis, sjis},                                   // the program's own format
      {"plain ASCII", "plain ASCII"},
      {"\xC3\xA9", "\xC3\xA9"},                       // both read it: Shift_JIS wins
      {"caf\xC3\xA9 \xE2\x82", "caf\xC3\xA9 \xE2\x82"},  // broken UTF-8 and broken Shift_JIS: kept
      {"\xED\xA0\x80\x80", "\xED\xA0\x80\x80"},        // a surrogate is no UTF-8
      {kBom + "\xF0\x9F\x98\x80", "〓"},               // no Shift_JIS form
      {kBom + "\x82\xA0", kBom + "\x82\xA0"},          // a mark before no UTF-8: not from an editor
  };
  for (const Case& c : cases) EXPECT_EQ(fileTextToSjis(c.bytes), c.sjis) << cp932ToUtf8(c.bytes);
  EXPECT_FALSE(isWellFormedSjis("\x82"));
  EXPECT_FALSE(isWellFormedSjis("\x82\x20"));
  EXPECT_TRUE(isWellFormedSjis("\xB1\x82\xA0"));
  EXPECT_FALSE(isMultiByteUtf8("ascii"));
  EXPECT_FALSE(isMultiByteUtf8("\xC0\xAF"));  // overlong
}

TEST(FileText, AUtf8SettingsFileKeepsItsListsAndIsWrittenBackOnce) {
  test::TempDir dir;
  const std::string path = dir.file("LINKSCOUT.ini");
  test::writeBytes(path, kBom + "[Window]\r\nright=5\r\n[SETTING]\r\nDISREGARD=" + cp932ToUtf8("宣伝,広告") +
                             "\r\nKEYWORD=" + cp932ToUtf8("注目") + "\r\n");
  EXPECT_EQ(readProfileString(path, "Window", "right", ""), "5");
  EXPECT_EQ(readWordList(path, kDISREGARD), "宣伝,広告");
  ASSERT_TRUE(writeProfileString(path, "Window", "right", "7"));
  EXPECT_EQ(readWholeFile(path).value_or(""),
            "[Window]\r\nright=7\r\n[SETTING]\r\nDISREGARD=宣伝,広告\r\nKEYWORD=注目\r\n");
}

TEST(FileText, AUtf8SiteFileReadsAsShiftJis) {
  test::TempDir dir;
  const std::string path = dir.file("site.ck");
  test::writeBytes(path, kBom + cp932ToUtf8("速報サイト\r\nhttp://h/\r\n記事\r\n1\r\n二つ目\n"));
  SiteList list = readAllSites(path, kCheckLimits);
  ASSERT_EQ(list.sites.size(), 2u);
  EXPECT_EQ(list.sites[0].name, "速報サイト");
  EXPECT_EQ(list.sites[0].extract, "記事");
  EXPECT_EQ(list.sites[1].name, "二つ目");
  EXPECT_EQ(readSiteRecord(path, 2).site->name, "二つ目");
  EXPECT_TRUE(hasRecordAfter(path, 1).exists);
  EXPECT_EQ(parseSites(cp932ToUtf8("見出し\r\n"), kCheckLimits).at(0).name, "見出し");
}

}  // namespace
}  // namespace ls
