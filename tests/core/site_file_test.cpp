#include "sites/site_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp932.h"
#include "common/file_io.h"
#include "test_support.h"

namespace ls {
namespace {


class SiteFileTest : public ::testing::Test {
 protected:
  void put(const std::string& bytes) { test::writeBytes(path_, bytes); }
  std::string bytes() { return readWholeFile(path_).value_or("<missing>"); }
  std::vector<Site> all(const SiteLimits& limits = kCheckLimits) {
    SiteList list = readAllSites(path_, limits);
    EXPECT_EQ(list.status, SiteFileStatus::kOk);
    return list.sites;
  }

  test::TempDir dir_;
  std::string path_ = dir_.file("site.ck");
};

const char kTwoSites[] =
    "新着ニュース\r\n"
    "http://news.example/top/\r\n"
    "/news/,記事\r\n"
    "CHECK\r\n"
    " spaced name \r\n"
    "http://b.example:8080/\r\n"
    "\r\n"
    "NOCHK\r\n";

TEST_F(SiteFileTest, ReadAndWriteBackIsByteForByte) {
  put(kTwoSites);
  std::vector<Site> sites = all(kSettingsLoadLimits);
  ASSERT_EQ(sites.size(), 2u);
  EXPECT_EQ(sites[0].name, "新着ニュース");
  EXPECT_EQ(sites[0].url, "http://news.example/top/");
  EXPECT_EQ(sites[0].extract, "/news/,記事");
  EXPECT_TRUE(sites[0].checked);
  EXPECT_EQ(sites[1].name, " spaced name ") << "blanks are part of a field";
  EXPECT_EQ(sites[1].extract, "");
  EXPECT_FALSE(sites[1].checked);

  ASSERT_TRUE(writeAllSites(path_, sites));
  EXPECT_EQ(bytes(), kTwoSites);
  EXPECT_FALSE(entryExists(path_ + ".tmp"));
}

TEST_F(SiteFileTest, LfAndCrLfAndNoFinalLineBreakReadTheSame) {
  put(kTwoSites);
  std::vector<Site> crlf = all();
  std::string lf = kTwoSites;
  for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  put(lf);
  std::vector<Site> lfSites = all();
  put(lf.substr(0, lf.size() - 1));
  std::vector<Site> unterminated = all();
  ASSERT_EQ(lfSites.size(), 2u);
  ASSERT_EQ(unterminated.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(lfSites[i].name, crlf[i].name);
    EXPECT_EQ(lfSites[i].url, crlf[i].url);
    EXPECT_EQ(lfSites[i].extract, crlf[i].extract);
    EXPECT_EQ(lfSites[i].checked, crlf[i].checked);
    EXPECT_EQ(unterminated[i].url, crlf[i].url);
  }
  put("a\nhttp://a/\nx\nCHECK");
  EXPECT_TRUE(all()[0].checked) << "a final CHECK without line break still counts";
}

TEST_F(SiteFileTest, CheckMarkerRule) {
  EXPECT_TRUE(isCheckedMarker("CHECK"));
  EXPECT_TRUE(isCheckedMarker("xxCHECKyy"));
  EXPECT_TRUE(isCheckedMarker(" CHECK"));
  EXPECT_FALSE(isCheckedMarker("NOCHK"));
  EXPECT_FALSE(isCheckedMarker("nochk"));
  EXPECT_FALSE(isCheckedMarker("check"));
  EXPECT_FALSE(isCheckedMarker("CHEC"));
  EXPECT_FALSE(isCheckedMarker(""));

  put("a\nu\ne\nnochk\nb\nu\ne\nxCHECKx\n");
  std::vector<Site> sites = all();
  ASSERT_EQ(sites.size(), 2u);
  EXPECT_FALSE(sites[0].checked);
  EXPECT_TRUE(sites[1].checked);
  ASSERT_TRUE(writeAllSites(path_, sites));
  EXPECT_EQ(bytes(), "a\r\nu\r\ne\r\nNOCHK\r\nb\r\nu\r\ne\r\nCHECK\r\n");
}

TEST_F(SiteFileTest, RecordLookupAndWhatFollows) {
  put(kTwoSites);
  SiteLookup second = readSiteRecord(path_, 2);
  EXPECT_EQ(second.status, SiteFileStatus::kOk);
  ASSERT_TRUE(second.site);
  EXPECT_EQ(second.site->url, "http://b.example:8080/");
  EXPECT_FALSE(readSiteRecord(path_, 3).site);
  EXPECT_FALSE(readSiteRecord(path_, 0).site);

  EXPECT_TRUE(hasRecordAfter(path_, 0).exists);
  EXPECT_TRUE(hasRecordAfter(path_, 1).exists);
  EXPECT_FALSE(hasRecordAfter(path_, 2).exists);
  EXPECT_FALSE(hasRecordAfter(path_, 5).exists);
}

TEST_F(SiteFileTest, EmptyFileHasNoRecords) {
  put("");
  SiteLookup first = readSiteRecord(path_, 1);
  EXPECT_EQ(first.status, SiteFileStatus::kOk);
  EXPECT_FALSE(first.site);
  RecordAfter after = hasRecordAfter(path_, 0);
  EXPECT_EQ(after.status, SiteFileStatus::kOk);
  EXPECT_FALSE(after.exists);
  EXPECT_TRUE(all().empty());
}

TEST_F(SiteFileTest, MissingFileIsAFailureNotAnEmptyList) {
  EXPECT_EQ(readSiteRecord(path_, 1).status, SiteFileStatus::kCannotOpen);
  EXPECT_EQ(hasRecordAfter(path_, 0).status, SiteFileStatus::kCannotOpen);
  EXPECT_EQ(readAllSites(path_, kLogSwitcherLimits).status, SiteFileStatus::kCannotOpen);
}

TEST_F(SiteFileTest, ShortLastRecordHasEmptyFieldsAndIsNotChecked) {
  put("a\r\nhttp://a/\r\nx\r\nCHECK\r\nb\r\nhttp://b/\r\n");
  SiteLookup b = readSiteRecord(path_, 2);
  ASSERT_TRUE(b.site);
  EXPECT_EQ(b.site->name, "b");
  EXPECT_EQ(b.site->url, "http://b/");
  EXPECT_EQ(b.site->extract, "");
  EXPECT_FALSE(b.site->checked);
  EXPECT_FALSE(hasRecordAfter(path_, 2).exists);
}

TEST_F(SiteFileTest, SameNameTwiceIsTwoSites) {
  put("a\r\nhttp://1/\r\n\r\nCHECK\r\na\r\nhttp://2/\r\n\r\nNOCHK\r\n");
  std::vector<Site> sites = all();
  ASSERT_EQ(sites.size(), 2u);
  EXPECT_EQ(sites[1].url, "http://2/");
}

TEST_F(SiteFileTest, LongLinesAreCutButNeverSplit) {
  // 'a' then 60 double-byte characters: 121 bytes, so the 98-byte cut would
  // fall inside a character.
  std::string name = "a";
  for (int i = 0; i < 60; ++i) name += "記";
  std::string extract(700, 'e');
  std::string marker = "NOTE: CHECK";  // 11 bytes, beyond the 8-byte limit
  put(name + "\r\nhttp://x/\r\n" + extract + "\r\n" + marker + "\r\nnext\r\nu\r\ne\r\nCHECK\r\n");

  std::vector<Site> check = all(kCheckLimits);
  ASSERT_EQ(check.size(), 2u);
  EXPECT_EQ(check[0].name, name.substr(0, 97));
  EXPECT_EQ(check[0].url, "http://x/");
  EXPECT_EQ(check[0].extract, extract.substr(0, 498));
  EXPECT_FALSE(check[0].checked) << "only the marker's first 8 bytes are looked at";
  EXPECT_EQ(check[1].name, "next");
  EXPECT_TRUE(check[1].checked);

  EXPECT_EQ(all(kImportLimits)[0].extract.size(), 498u);
  std::vector<Site> wide = all(kLogSwitcherLimits);
  EXPECT_EQ(wide[0].name, name);
  EXPECT_EQ(wide[0].extract, extract);
  EXPECT_TRUE(wide[0].checked);
}

TEST_F(SiteFileTest, WritingCutsFieldsSoEveryReaderTakesThemWhole) {
  Site s;
  s.name = "b";
  for (int i = 0; i < 60; ++i) s.name += "名";  // 121 bytes
  s.url = "http://x/" + std::string(600, 'u');
  s.extract = std::string(497, 'e') + "字";    // 499 bytes, the last character cut whole
  s.checked = true;
  Site broken{"two\r\nlines", "http://y/\n", "a\rb", false};
  ASSERT_TRUE(writeAllSites(path_, {s, broken}));

  std::vector<Site> back = all(kCheckLimits);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].name, s.name.substr(0, 97));
  EXPECT_EQ(back[0].url, s.url.substr(0, 498));
  EXPECT_EQ(back[0].extract, std::string(497, 'e'));
  EXPECT_TRUE(back[0].checked);
  EXPECT_EQ(back[1].name, "twolines");
  EXPECT_EQ(back[1].url, "http://y/");
  EXPECT_EQ(back[1].extract, "ab");
  EXPECT_FALSE(back[1].checked);
  EXPECT_EQ(siteFileText({s, broken}), bytes());
}

TEST_F(SiteFileTest, WritingAnEmptyListEmptiesTheFile) {
  put(kTwoSites);
  ASSERT_TRUE(writeAllSites(path_, {}));
  EXPECT_EQ(bytes(), "");
  EXPECT_FALSE(writeAllSites(dir_.file("no") + kPathSep + "site.ck", {}));
}

}  // namespace
}  // namespace ls
