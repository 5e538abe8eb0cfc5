// The real LINKSCOUT.exe watching feeds: one cycle over an RSS 1.0 feed, an
// RSS 2.0 feed, an Atom feed and an HTML page, then a second cycle after
// each of them gained one headline, which must be all that is new.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "program_process.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "test_http_server.h"
#include "win_test_support.h"

namespace {

using Strings = std::vector<std::string>;

// Newest first, as feeds and news pages list them. Titles are Shift_JIS
// literals; each feed is served in its own encoding.
std::string rdfFeed(const Strings& titles) {
  std::string body =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
      "<rdf:RDF xmlns=\"http://purl.org/rss/1.0/\" xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
      "<channel rdf:about=\"/rdf\"><title>RDF</title><link>/</link></channel>\n";
  for (std::size_t i = 0; i < titles.size(); ++i)
    body += "<item rdf:about=\"/rdf/" + std::to_string(titles.size() - i) + "\"><title>" + titles[i] +
            "</title><link>/rdf/" + std::to_string(titles.size() - i) + ".html</link></item>\n";
  body += "</rdf:RDF>\n";
  return lstest::httpResponse(200, "OK", body, "Content-Type: application/rdf+xml\r\n");
}

std::string rss2Feed(const Strings& titles) {
  std::string body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel><title>RSS</title>\n";
  for (std::size_t i = 0; i < titles.size(); ++i)
    body += "<item><title><![CDATA[" + ls::cp932ToUtf8(titles[i]) + "]]></title><guid>http://127.0.0.1/rss2/" +
            std::to_string(titles.size() - i) + "</guid></item>\n";
  body += "</channel></rss>\n";
  return lstest::httpResponse(200, "OK", body, "Content-Type: application/rss+xml; charset=utf-8\r\n");
}

std::string atomFeed(const Strings& titles) {
  std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<feed xmlns=\"http://www.w3.org/2005/Atom\" xml:base=\"/atom/\"><title>Atom</title>\n";
  for (std::size_t i = 0; i < titles.size(); ++i)
    body += "<entry><title type=\"html\">" + ls::cp932ToUtf8(titles[i]) + " &amp;lt;b&amp;gt;</title>"
            "<link rel=\"alternate\" href=\"" + std::to_string(titles.size() - i) + ".html\"/></entry>\n";
  body += "</feed>\n";
  return lstest::httpResponse(200, "OK", body, "Content-Type: application/atom+xml\r\n");
}

std::string htmlPage(const Strings& titles) {
  std::string body = "<html><body>\n";
  for (std::size_t i = 0; i < titles.size(); ++i)
    body += "<a href=\"/page/" + std::to_string(titles.size() - i) + ".html\">" + titles[i] + "</a>\n";
  body += "</body></html>\n";
  return lstest::httpResponse(200, "OK", body, "Content-Type: text/html; charset=Shift_JIS\r\n");
}

struct Row {
  std::string headline, icon, site, url;
};

// The news list file: four lines a row.
std::vector<Row> newListRows(const std::string& bytes) {
  Strings lines;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) break;
    lines.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  std::vector<Row> rows;
  for (std::size_t i = 0; i + 3 < lines.size(); i += 4) rows.push_back(Row{lines[i], lines[i + 1], lines[i + 2], lines[i + 3]});
  return rows;
}

TEST(FeedsE2E, OneCycleWatchesThreeFeedsAndAPageTheSecondReportsOnlyWhatIsNew) {
  lstest::WinTempDir dir;
  lstest::TestHttpServer server;
  server.route("/rdf", lstest::Reply{rdfFeed({"山の天気は午後から雨", "紅葉まつりが開幕した"})});
  server.route("/rss2", lstest::Reply{rss2Feed({"新型バスの運行が始まる", "駅前の再開発が決定"})});
  server.route("/atom", lstest::Reply{atomFeed({"星空の観察会を開きます", "雪の朝の散歩道です"})});
  server.route("/page", lstest::Reply{htmlPage({"港に大型客船が入港", "市場の初競りがにぎわう"})});
  ASSERT_TRUE(ls::writeAllSites(dir.file("site.ck"), {{"RDF", server.url("/rdf"), "", true},
                                                      {"RSS2", server.url("/rss2"), "rss2", true},
                                                      {"Atom", server.url("/atom"), "", true},
                                                      {"Page", server.url("/page"), "/page/", true}}));
  lstest::ProgramProcess program(dir.path());
  ASSERT_NE(program.window(), nullptr);

  // The page is the last site: once its all-links log holds all its new
  // headlines, the cycle has ended (that happens in the same message).
  const std::string pageAll = dir.file("LOG\\Page.all.log");
  auto pageLines = [&] {
    const std::string bytes = lstest::fileBytes(pageAll);
    return bytes == "<missing>" ? 0 : static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
  };
  ASSERT_TRUE(PostMessageW(program.window(), WM_COMMAND, IDM_CHECK, 0));
  ASSERT_TRUE(lstest::pumpUntil([&] { return pageLines() == 4; }, 30000));

  // One headline more everywhere.
  server.route("/rdf", lstest::Reply{rdfFeed({"峠道の通行止めが解除", "山の天気は午後から雨", "紅葉まつりが開幕した"})});
  server.route("/rss2", lstest::Reply{rss2Feed({"路線バスの時刻が改正", "新型バスの運行が始まる", "駅前の再開発が決定"})});
  server.route("/atom", lstest::Reply{atomFeed({"流れ星の見える夜に", "星空の観察会を開きます", "雪の朝の散歩道です"})});
  server.route("/page", lstest::Reply{htmlPage({"漁船が無事に帰港した", "港に大型客船が入港", "市場の初競りがにぎわう"})});
  ASSERT_TRUE(PostMessageW(program.window(), WM_COMMAND, IDM_CHECK, 0));
  ASSERT_TRUE(lstest::pumpUntil([&] { return pageLines() == 6; }, 30000));
  EXPECT_EQ(program.close(), 0);
  for (const char* path : {"/rdf", "/rss2", "/atom", "/page"}) EXPECT_EQ(server.requestCount(path), 2) << path;

  std::vector<Row> rows = newListRows(lstest::fileBytes(dir.file("LOG\\新着リスト.all.log")));
  ASSERT_EQ(rows.size(), 12u);
  // The second cycle's four are on top and the only new ones; the first
  // cycle's eight are old. Within a site, the later item stands higher.
  const std::vector<Row> fresh = {
      {"漁船が無事に帰港した", "0", "Page", server.url("/page/3.html")},
      {"流れ星の見える夜に <b>", "0", "Atom", server.url("/atom/3.html")},
      {"路線バスの時刻が改正", "0", "RSS2", "http://127.0.0.1/rss2/3"},
      {"峠道の通行止めが解除", "0", "RDF", server.url("/rdf/3.html")},
  };
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    EXPECT_EQ(rows[i].headline, fresh[i].headline) << i;
    EXPECT_EQ(rows[i].icon, fresh[i].icon) << i;
    EXPECT_EQ(rows[i].site, fresh[i].site) << i;
    EXPECT_EQ(rows[i].url, fresh[i].url) << i;
  }
  for (std::size_t i = fresh.size(); i < rows.size(); ++i) EXPECT_EQ(rows[i].icon, "4") << rows[i].headline;
  EXPECT_EQ(rows[4].headline, "市場の初競りがにぎわう");
  EXPECT_EQ(rows[11].headline, "山の天気は午後から雨");
  EXPECT_EQ(rows[11].url, server.url("/rdf/2.html"));
}

}  // namespace
