// linkscout-scan, run as users run it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "engine/page_scan.h"
#include "engine/page_text.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "sites/site_file.h"
#include "test_support.h"
#include "wizard/link_listing.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define popen _popen
#define pclose _pclose
#endif

namespace ls {
namespace {

struct ToolRun {
  std::string out;
  int status = -1;
};

ToolRun runTool(const std::string& args) {
  std::string command = std::string("\"") + LINKSCOUT_SCAN_EXE + "\" " + args;
#ifdef _WIN32
  command = "\"" + command + "\"";  // cmd /c strips one pair of quotes
#endif
  ToolRun run;
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return run;
#ifdef _WIN32
  _setmode(_fileno(p), _O_BINARY);
#endif
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
  int status = pclose(p);
#ifdef _WIN32
  run.status = status;
#else
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return run;
}

const char* kPage =
    "HTTP/1.0 200 OK\r\r\n\r\r\n"
    "<a href=\"news/1.html\">first news headline</a>\r\r\n"
    "<!-- <a href=old.html>old headline text</a> -->\r\r\n"
    "<a href='../sports/2.html'>second story here</a>\r\r\n"
    "<a href=ad.html>PR: advertisement</a>\r\r\n";

TEST(ScanTool, ScanPrintsTheSiteLogLines) {
  test::TempDir dir;
  std::string page = dir.file("page.html");
  test::writeBytes(page, kPage);
  ToolRun run = runTool("--url http://host/a/b/ --extract news --disregard PR: \"" + page + "\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "first news headline\nhttp://host/a/b/news/1.html\n");

  run = runTool("--url http://host/a/b/ --disregard PR: \"" + page + "\"");
  EXPECT_EQ(run.out,
            "first news headline\nhttp://host/a/b/news/1.html\n"
            "second story here\nhttp://host/a/sports/2.html\n");
  run = runTool("--delete \"first ,second \" \"" + page + "\"");
  EXPECT_EQ(run.out.substr(0, 14), "news headline\n");
}

TEST(ScanTool, WizardListsEveryLinkBottomUp) {
  test::TempDir dir;
  std::string page = dir.file("page.html");
  test::writeBytes(page, kPage);
  ToolRun run = runTool("--wizard \"" + page + "\"");
  EXPECT_EQ(run.status, 0);
  std::string expected;
  for (const ListedLink& row : listPageLinks(kPage)) expected += row.headline + "\n" + row.link + "\n";
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.out.substr(0, 34), "PR:advertisement\nad.html\nsecondsto");
}

TEST(ScanTool, SuggestPrintsWhatTheWizardWouldPropose) {
  test::TempDir dir;
  std::string page = dir.file("page.html");
  test::writeBytes(page, "<a href=/news/a.html>first headline</a><a href=/about/team.html>about this site</a>"
                         "<a href=/news/b.html>second headline</a>");
  // Rows count from 1 in the --wizard order: b, about, a.
  ToolRun run = runTool("--suggest 1,3 \"" + page + "\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "/news/\n");
  EXPECT_EQ(runTool("--suggest 1,4 \"" + page + "\"").status, 2);
  for (const char* bad : {"0,1", "1,x", "", ","}) EXPECT_EQ(runTool(std::string("--suggest \"") + bad + "\" \"" + page + "\"").status, 1) << bad;
}

TEST(ScanTool, ConvertPrintsTheJoinedShiftJisText) {
  test::TempDir dir;
  std::string page = dir.file("page.html");
  // "日本" in UTF-8 with its header: comes out joined and in Shift_JIS.
  test::writeBytes(page, "HTTP/1.0 200 OK\r\r\nContent-Type: text/html; charset=utf-8\r\r\n\r\r\n\xE6\x97\xA5\xE6\x9C\xAC<!--c-->");
  ToolRun run = runTool("--convert \"" + page + "\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "HTTP/1.0 200 OKContent-Type: text/html; charset=utf-8日本<!--c-->");
}

TEST(ScanTool, FeedsOfEveryFormatGiveOneHeadlineAndUrlPerItem) {
  const std::string dir = std::string(LINKSCOUT_TEST_DATA_DIR) + "/feeds/";
  const struct {
    const char* file;
    std::size_t items;
  } cases[] = {{"rss091_sjis.xml", 3}, {"rss10_eucjp.rdf", 2}, {"rss20_utf8.xml", 3}, {"atom_utf8.xml", 3},
               {"atom03_utf8.xml", 1}};
  for (const auto& c : cases) {
    const std::string path = dir + c.file;
    std::string expected;
    std::string bytes = test::readBytes(path);
    for (const LinkItem& link : pageLinks(bytes, "http://localhost/", "", {}))
      expected += link.headline + "\n" + link.url + "\n";
    ToolRun run = runTool("\"" + path + "\"");
    EXPECT_EQ(run.status, 0) << c.file;
    EXPECT_EQ(run.out, expected) << c.file;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), static_cast<long>(2 * c.items)) << c.file;
    // The wizard lists the same items, the last on top.
    run = runTool("--wizard \"" + path + "\"");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), static_cast<long>(2 * c.items)) << c.file;
  }
  // Extraction strings on a saved feed: each in the URL or the headline.
  ToolRun run = runTool("--url https://sora.example.jp/ --extract \"/blog/,1 <\" \"" + dir + "atom_utf8.xml\"");
  EXPECT_EQ(run.out, "1 < 2 & 3 > 2 の数式\nhttps://sora.example.jp/blog/notes/math.html\n");
  // The feeds a page announces come first in the wizard's list.
  run = runTool("--url https://hikari.example.jp/ --wizard \"" + dir + "page_with_feeds.html\"");
  EXPECT_EQ(run.out.substr(0, run.out.find("駅前")),
            "［フィードに切替］ひかり通信 & 最新記事\nhttps://hikari.example.jp/feed.xml\n"
            "［フィードに切替］Atom\nhttps://hikari.example.jp/atom.xml\n"
            "［フィードに切替］RSS 1.0\nhttps://hikari.example.jp/index.rdf\n");
}

TEST(ScanTool, UnreadableFileExitsWithStatus2) {
  test::TempDir dir;
  ToolRun run = runTool("\"" + dir.file("missing.html") + "\"");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
}

// A site file of two records and a settings file with the headline lists.
struct SiteSetup {
  test::TempDir dir;
  std::string page = dir.file("page.html");
  std::string sites = dir.file("site.ck");
  std::string settings = dir.file("LINKSCOUT.ini");
  SiteSetup() {
    test::writeBytes(page, kPage);
    Site first{"first", "http://one/x/", "nothing-matches", true};
    Site second{"second", "http://host/a/b/index.html", ".html,e", false};
    test::writeBytes(sites, siteFileText({first, second}));
    writeProfileString(settings, kSETTING, kDELETE, "here,first");
    writeProfileString(settings, kSETTING, kDISREGARD, "PR:");
  }
};

TEST(ScanTool, ASiteRecordIsScannedAsTheCheckCycleWouldScanIt) {
  SiteSetup s;
  ToolRun run = runTool("--sites \"" + s.sites + "\" --site 2 --settings \"" + s.settings + "\" \"" + s.page + "\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            " news headline\nhttp://host/a/b/news/1.html\n"
            "second story \nhttp://host/a/sports/2.html\n");

  // The same as the scan itself gives for that record and those lists.
  std::string text = scanTextOf(kPage);
  HeadlineFilters filters{readWordList(s.settings, kDELETE), readWordList(s.settings, kDISREGARD)};
  EXPECT_EQ(filters.deleteList, "here,first");
  std::string expected;
  for (const LinkItem& link : extractLinks(text, "http://host/a/b/index.html", ".html,e", filters))
    expected += link.headline + "\n" + link.url + "\n";
  EXPECT_EQ(run.out, expected);

  // Without a settings file no headline list applies; record 1 takes nothing.
  run = runTool("--sites \"" + s.sites + "\" --site 2 \"" + s.page + "\"");
  EXPECT_EQ(run.out.substr(0, 20), "first news headline\n");
  EXPECT_NE(run.out.find("PR: advertisement\n"), std::string::npos);
  run = runTool("--sites \"" + s.sites + "\" --site 1 \"" + s.page + "\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
}

TEST(ScanTool, AMissingRecordOrABadSiteNumberIsRefused) {
  SiteSetup s;
  EXPECT_EQ(runTool("--sites \"" + s.sites + "\" --site 3 \"" + s.page + "\"").status, 2);
  EXPECT_EQ(runTool("--sites \"" + s.dir.file("none.ck") + "\" --site 1 \"" + s.page + "\"").status, 2);
  for (const char* n : {"0", "-1", "2x", ""}) {
    EXPECT_EQ(runTool("--sites \"" + s.sites + "\" --site \"" + n + "\" \"" + s.page + "\"").status, 1) << n;
  }
  EXPECT_EQ(runTool("--sites \"" + s.sites + "\" \"" + s.page + "\"").status, 1);
  EXPECT_EQ(runTool("--settings \"" + s.settings + "\" \"" + s.page + "\"").status, 1);
}

}  // namespace
}  // namespace ls
