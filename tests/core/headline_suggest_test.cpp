// "判別" at the edges of its rule, on small pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizard/headline_suggest.h"
#include "wizard/link_listing.h"

namespace ls {
namespace {

std::string page(const std::vector<std::string>& links) {
  std::string p = "<html><body>";
  for (const std::string& l : links) p += "<a href=\"" + l + "\">headline of " + l + "</a>\n";
  return p;
}

// The rows of `links` (listed bottom-up) whose link is one of `wanted`.
std::vector<std::size_t> rowsOf(const std::vector<ListedLink>& rows, const std::vector<std::string>& wanted) {
  std::vector<std::size_t> out;
  for (const std::string& w : wanted)
    for (std::size_t r = 0; r < rows.size(); ++r)
      if (rows[r].link == w) out.push_back(r);
  return out;
}

std::vector<std::string> takenLinks(const std::vector<ListedLink>& rows, const std::string& strings) {
  std::vector<std::string> out;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it)
    if (rowTaken(*it, strings)) out.push_back(it->link);
  return out;
}

struct PageCase {
  const char* name;
  std::vector<std::string> links;
  std::vector<std::string> ticked;
  std::string strings;                 // what is proposed
  std::vector<std::string> taken;      // what those strings take, page order
};

TEST(HeadlineSuggest, PagesGiveTheStringsOfTheirHeadlineList) {
  const std::vector<PageCase> cases = {
      {"a directory, not its index page",
       {"/news/", "/news/a.html", "/news/b.html", "/news/c.html", "/about/team.html"},
       {"/news/a.html", "/news/c.html"},
       ".html,/news/",
       {"/news/a.html", "/news/b.html", "/news/c.html"}},
      {"dates and ids are never strings",
       {"/2024/05/01/k10014001.html", "/2024/05/02/k10014002.html", "/2024/06/01/k10014003.html", "/2024/05/"},
       {"/2024/05/01/k10014001.html", "/2024/06/01/k10014003.html"},
       ".html",
       {"/2024/05/01/k10014001.html", "/2024/05/02/k10014002.html", "/2024/06/01/k10014003.html"}},
      {"the host alone is never a string",
       {"http://news.example.jp/a/x.php?id=1", "http://news.example.jp/b/y.php?id=2", "http://news.example.jp/c"},
       {"http://news.example.jp/a/x.php?id=1", "http://news.example.jp/b/y.php?id=2"},
       "?id=",
       {"http://news.example.jp/a/x.php?id=1", "http://news.example.jp/b/y.php?id=2"}},
      {"two directories that share a word",
       {"/and/article/1/", "/articles/AS1.html", "/about/", "/help/"},
       {"/and/article/1/", "/articles/AS1.html"},
       "article",
       {"/and/article/1/", "/articles/AS1.html"}},
      {"the list's other directories, shaped like the examples",
       {"/docs/news/1001.html", "/docs/news/1002.html", "/docs/review/1003.html", "/docs/common/1004.html",
        "/docs/common/contact.html", "/docs/static/index-24.html"},
       {"/docs/news/1001.html", "/docs/news/1002.html"},
       "/1",
       {"/docs/news/1001.html", "/docs/news/1002.html", "/docs/review/1003.html", "/docs/common/1004.html"}},
      {"a month is a date's part, and sections apart share the list",
       {"/world/2024/may/01/port-reopens", "/sport/2024/may/02/final-won", "/world/2024/may/03/rain-stops",
        "/sport/live/", "/world/", "/about/team"},
       {"/world/2024/may/01/port-reopens", "/sport/2024/may/02/final-won"},
       "/2",
       {"/world/2024/may/01/port-reopens", "/sport/2024/may/02/final-won", "/world/2024/may/03/rain-stops"}},
      {"nothing shared: every link",
       {"a", "b", "c"},
       {"a", "b"},
       ">",
       {"a", "b", "c"}},
  };
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<ListedLink> rows = listPageLinks(page(c.links));
    const std::string strings = suggestHeadlineStrings(rows, rowsOf(rows, c.ticked));
    EXPECT_EQ(strings, c.strings);
    EXPECT_EQ(takenLinks(rows, strings), c.taken);
  }
}

TEST(HeadlineSuggest, FewerThanTwoUsableRowsProposeNothing) {
  // The feed's tag stands last: an "href=" starts a link wherever it is.
  const std::string p = page({"/news/a.html", "/news/b.html"}) +
                        "<link rel=\"alternate\" type=\"application/rss+xml\" title=\"news feed\" href=\"/rss.xml\">";
  const std::vector<ListedLink> rows = listPageLinks(p, "http://host/");
  ASSERT_EQ(rows[0].kind, RowKind::kFeedOffer);
  EXPECT_EQ(suggestHeadlineStrings(rows, {}), "");
  EXPECT_EQ(suggestHeadlineStrings(rows, {1}), "");
  EXPECT_EQ(suggestHeadlineStrings(rows, {0, 1}), "");      // an offer is no example
  EXPECT_EQ(suggestHeadlineStrings(rows, {1, 1}), "");      // one row twice
  EXPECT_EQ(suggestHeadlineStrings(rows, {1, 99}), "");     // past the end
  EXPECT_EQ(suggestHeadlineStrings(rows, {1, 2}), "/news/");
}

TEST(HeadlineSuggest, StringsComeFromTheLinkAndTakeWhatTheAnchorHolds) {
  // The second anchor's headline holds "/news/": the check takes it, so the
  // rule counts it and narrows with the extension.
  const std::vector<ListedLink> rows = listPageLinks(
      "<a href=/news/a.html>first headline</a><a href=/x>about /news/ pages</a><a href=/news/b.html>second "
      "headline</a>");
  ASSERT_EQ(rows.size(), 3u);
  const std::string strings = suggestHeadlineStrings(rows, {0, 2});
  EXPECT_FALSE(rowTaken(rows[1], strings)) << strings;
  EXPECT_TRUE(rowTaken(rows[0], strings));
  EXPECT_TRUE(rowTaken(rows[2], strings));
}

ListedLink item(const std::string& url) { return ListedLink{"an item's headline", url, RowKind::kFeedItem, {}}; }

TEST(HeadlineSuggest, FeedsTakeTheTickedItemsCommonPart) {
  const std::vector<ListedLink> nhk = {item("https://www3.example.or.jp/news/html/20240501/k1001.html"),
                                       item("https://www3.example.or.jp/news/html/20240502/k1002.html"),
                                       item("https://www3.example.or.jp/news/html/20240502/k1003.html"),
                                       item("https://www3.example.or.jp/sports/20240502/s1.html")};
  EXPECT_EQ(suggestHeadlineStrings(nhk, {0, 2}), "/news/html/");
  const std::vector<ListedLink> apart = {item("https://a.example/x1"), item("https://b.example/y2")};
  EXPECT_EQ(suggestHeadlineStrings(apart, {0, 1}), "http");
}

}  // namespace
}  // namespace ls
