// Site logs: rotation, appending, and which headlines are new.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/log_name.h"
#include "common/text.h"
#include "engine/site_log.h"
#include "test_support.h"

namespace ls {
namespace {

using test::EngineFixture;

std::vector<LinkItem> items(std::initializer_list<std::pair<const char*, const char*>> pairs) {
  std::vector<LinkItem> out;
  for (auto& p : pairs) out.push_back({p.first, p.second});
  return out;
}

// One check of a site: rotation, the scan's appends, detection.
int check(EngineFixture& f, const std::string& site, const std::vector<LinkItem>& links) {
  rotateSiteLog(f.ctx, site);
  appendToSiteLog(f.ctx, site, links);
  return detectNewLinks(f.ctx, site, 0);
}

TEST(SiteLog, FileNamesUseTheFileNameFormOfTheSiteName) {
  EngineFixture f;
  SiteLogPaths p = siteLogPaths(f.ctx, "a/b:c");
  EXPECT_EQ(p.current, f.ctx.logDir() + "a-b-c.log");
  EXPECT_EQ(p.previous, f.ctx.logDir() + "a-b-c.log.old");
  EXPECT_EQ(p.all, f.ctx.logDir() + "a-b-c.all.log");
  EXPECT_EQ(fileNameForm("/!\\;:,?*\"<>|x"), "------------x");
  // The second byte of a double-byte character is replaced as well (表 is 0x95 0x5C).
  EXPECT_EQ(fileNameForm("表"), "\x95-");
}

TEST(SiteLog, NamesThatWindowsReservesOrTheNewsListHoldsGetTheirOwnLogName) {
  const std::pair<const char*, const char*> cases[] = {
      {"CON", "CON_"},         {"aux", "aux_"},         {"Nul.txt", "Nul_.txt"},    {"COM1", "COM1_"},
      {"lpt9.a.b", "lpt9_.a.b"}, {"PRN ", "PRN_ "},     {"CON.", "CON_."},          {"conout$", "conout$_"},
      {"新着リスト", "新着リスト_"}, {"新着リスト.ALL", "新着リスト_.ALL"},
      // Not reserved: they keep the file-name form.
      {"COM0", "COM0"},        {"CONSOLE", "CONSOLE"},  {"xCON", "xCON"},           {" CON", " CON"},
      {"a/b", "a-b"},          {"新着リスト2", "新着リスト2"}, {"新着リスト.log", "新着リスト.log"},
  };
  EngineFixture f;
  for (const auto& [site, logName] : cases) {
    EXPECT_EQ(logNameForm(site), logName) << site;
    EXPECT_EQ(siteLogPaths(f.ctx, site).all, f.ctx.logDir() + logName + ".all.log") << site;
  }
}

TEST(SiteLog, FirstCheckMakesEveryLinkNewAndLogsThemInPageOrder) {
  EngineFixture f;
  EXPECT_EQ(check(f, "site", items({{"first headline", "http://h/1"}, {"second headline", "http://h/2"}})), 1);
  ASSERT_EQ(f.news.count(), 2);
  // Each new link goes in at the top: the later link of the page is on top.
  EXPECT_EQ(f.news.text(0, 0), "second headline");
  EXPECT_EQ(f.news.text(1, 0), "first headline");
  EXPECT_EQ(f.news.text(0, 1), "site");
  EXPECT_EQ(f.news.icon(0), kIconNew);
  EXPECT_EQ(test::readBytes(siteLogPaths(f.ctx, "site").all),
            "first headline\r\nhttp://h/1\r\nsecond headline\r\nhttp://h/2\r\n");
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(SiteLog, AHeadlineContainedInAPreviousOneIsAlreadySeen) {
  EngineFixture f;
  check(f, "s", items({{"台風3号が接近、関東は夜から雨", "http://h/1"}}));
  f.news.clear();
  EXPECT_EQ(check(f, "s", items({{"台風3号が接近", "http://h/1"}})), 0);
  EXPECT_EQ(f.news.count(), 0);
  EXPECT_EQ(check(f, "s", items({{"台風3号が接近、関東は夜から雨に", "http://h/1"}})), 1);
  EXPECT_EQ(f.news.count(), 1);
}

TEST(SiteLog, OnlyHeadlinesAreCompared) {
  EngineFixture f;
  check(f, "s", items({{"same headline", "http://h/old"}, {"old headline", "http://h/same"}}));
  f.news.clear();
  EXPECT_EQ(check(f, "s", items({{"same headline", "http://h/new"}, {"changed headline", "http://h/same"}})), 1);
  ASSERT_EQ(f.news.count(), 1);
  EXPECT_EQ(f.news.text(0, 0), "changed headline");
}

TEST(SiteLog, ComparesWithThePreviousCheckOnly) {
  EngineFixture f;
  check(f, "s", items({{"headline A", "u"}}));
  check(f, "s", items({{"headline B", "u"}}));
  f.news.clear();
  // A was missing for one check and comes back: new again.
  EXPECT_EQ(check(f, "s", items({{"headline A", "u"}, {"headline A", "u"}})), 1);
  EXPECT_EQ(f.news.count(), 2);  // the same headline twice on the page is new twice
}

TEST(SiteLog, EmptyPreviousLogMakesEverythingNew) {
  EngineFixture f;
  test::writeBytes(siteLogPaths(f.ctx, "s").current, "");
  EXPECT_EQ(check(f, "s", items({{"any headline", "u"}})), 1);
}

TEST(SiteLog, ANoLinkScanWarnsAndTheNextCheckComparesWithTheLastGoodOne) {
  EngineFixture f;
  check(f, "s", items({{"headline one", "u"}}));
  f.news.clear();
  EXPECT_EQ(check(f, "s", {}), kNoLinks);
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_FALSE(isPlainFile(siteLogPaths(f.ctx, "s").current));
  EXPECT_EQ(check(f, "s", items({{"headline one", "u"}, {"headline two", "u"}})), 1);
  ASSERT_EQ(f.news.count(), 1);
  EXPECT_EQ(f.news.text(0, 0), "headline two");
}

TEST(SiteLog, AllLinksLogKeepsTheCleanedUrlAndTheSiteLogTheFullOne) {
  EngineFixture f;
  f.setSetting("DISREGARDURL", "?from=top");
  check(f, "s", items({{"a new headline", "http://h/x.html?from=top"}}));
  SiteLogPaths p = siteLogPaths(f.ctx, "s");
  EXPECT_EQ(test::readBytes(p.all), "a new headline\r\nhttp://h/x.html\r\n");
  EXPECT_EQ(test::readBytes(p.current), "a new headline\r\nhttp://h/x.html?from=top\r\n");
  EXPECT_EQ(f.news.text(0, 2), "http://h/x.html");
}

TEST(SiteLog, LongTextsAreCutSoEveryEntryReadsBackAsOnePair) {
  EngineFixture f;
  std::string headline(1500, 'h'), url(800, 'u');
  check(f, "s", items({{headline.c_str(), url.c_str()}, {"second headline", "u2"}}));
  ASSERT_EQ(f.news.count(), 2);
  EXPECT_EQ(f.news.text(1, 0).size(), kLogHeadlineLimit);
  EXPECT_EQ(f.news.text(1, 2).size(), kLogUrlLimit);
  EXPECT_EQ(f.news.text(0, 0), "second headline");
}

TEST(SiteLog, RotationMovesTheSiteLogAndDropsTheOldOne) {
  EngineFixture f;
  SiteLogPaths p = siteLogPaths(f.ctx, "s");
  rotateSiteLog(f.ctx, "s");  // nothing there: silently nothing
  test::writeBytes(p.current, "now\r\nu\r\n");
  test::writeBytes(p.previous, "before\r\nu\r\n");
  rotateSiteLog(f.ctx, "s");
  EXPECT_FALSE(isPlainFile(p.current));
  EXPECT_EQ(test::readBytes(p.previous), "now\r\nu\r\n");
  // A check that left no site log keeps the previous one for the next check.
  rotateSiteLog(f.ctx, "s");
  EXPECT_EQ(test::readBytes(p.previous), "now\r\nu\r\n");
}

TEST(SiteLog, UnwritableLogs) {
  EngineFixture f;
  // A directory where the all-links log should be: the rows stay in the
  // list, the failure names the file once, no message box.
  SiteLogPaths p = siteLogPaths(f.ctx, "s");
  makeDirectory(p.all);
  ASSERT_TRUE(appendToSiteLog(f.ctx, "s", items({{"a new headline", "u"}, {"another headline", "u"}})));
  std::string failure;
  EXPECT_EQ(detectNewLinks(f.ctx, "s", kNoNews, nullptr, &failure), kNews);
  EXPECT_EQ(f.news.count(), 2);
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_EQ(failure, std::string("ファイルに書き込めません: LOG") + kPathSep + "s.all.log");
  // No site log can be opened for appending: the append fails, nothing ends.
  removeFile(p.current);
  makeDirectory(p.current);
  EXPECT_FALSE(appendToSiteLog(f.ctx, "s", items({{"headline", "u"}})));
  // A site log that cannot be moved aside stops the site's check.
  EXPECT_FALSE(rotateSiteLog(f.ctx, "s") && isDirectory(p.current) == false);
}

TEST(SiteLog, APreviousLogThatCannotBeReadFailsTheStepInsteadOfMakingAllNew) {
  EngineFixture f;
  SiteLogPaths p = siteLogPaths(f.ctx, "s");
  ASSERT_TRUE(appendToSiteLog(f.ctx, "s", items({{"an old headline", "u"}})));
  makeDirectory(p.previous);  // exists, cannot be read as a file
  std::string failure;
  EXPECT_EQ(detectNewLinks(f.ctx, "s", kNoNews, nullptr, &failure), kStepFailed);
  EXPECT_EQ(f.news.count(), 0);
  EXPECT_EQ(failure, std::string("ファイルが開けません: LOG") + kPathSep + "s.log.old");
}

}  // namespace
}  // namespace ls
