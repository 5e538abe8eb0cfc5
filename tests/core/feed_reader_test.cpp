// The feed reader: recognition, encodings, items to links, titles and URLs,
// and hostile feeds, on samples written for these tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/feed_detect.h"
#include "engine/feed_page.h"
#include "engine/feed_text.h"
#include "engine/page_scan.h"
#include "engine/page_text.h"
#include "test_support.h"

namespace ls {
namespace {

std::string sample(const std::string& name) {
  return test::readBytes(std::string(LINKSCOUT_TEST_DATA_DIR) + "/feeds/" + name);
}

// A page file as the fetcher stores it: head, empty line, body; each
// received line feed as CR LF.
std::string pageFile(const std::string& head, const std::string& body) {
  std::string out = "HTTP/1.0 200 OK\r\r\n" + head + "\r\r\n";
  for (char c : body) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::vector<LinkItem> itemsOf(std::string bytes, const std::string& url = "http://example.jp/feed/") {
  std::optional<std::vector<LinkItem>> items = readFeed(bytes, url);
  return items ? *items : std::vector<LinkItem>{{"NOT A FEED", ""}};
}

struct Expected {
  const char* headline;
  const char* url;
};

struct SampleCase {
  const char* file;
  const char* head;  // response head fields, or none
  const char* url;
  std::vector<Expected> items;
};

TEST(FeedReader, SamplesOfEveryFormatAndEncodingGiveOneLinkPerItem) {
  const SampleCase cases[] = {
      {"rss091_sjis.xml", "Content-Type: text/xml\r\r\n", "http://news.example.jp/rss/index.xml",
       {{"港に大型客船が入港、見物客でにぎわう", "http://news.example.jp/2026/1207/ship.html"},
        {"市場の初競り&朝市 … 今年も盛況", "http://news.example.jp/2026/1207/market.html"},
        {"表示（ソ連・能力・十分）の文字化け確認記事", "http://news.example.jp/rss/2026/1207/sjis.html"}}},
      // The response's charset is wrong here on purpose: it comes first.
      {"rss10_eucjp.rdf", nullptr, "http://yamazato.example.jp/rss/",
       {{"紅葉まつり、週末に開幕", "http://yamazato.example.jp/news/0001.html"},
        {"村道の改修工事 <終了> のお知らせ", "http://yamazato.example.jp/news/0002.html"}}},
      {"rss20_utf8.xml", "Content-Type: application/rss+xml\r\r\n", "https://hikari.example.jp/news/feed.xml",
       {{"速報 新型バスの運行始まる", "https://hikari.example.jp/articles/bus.html?from=rss&id=12"},
        {"駅前の再開発 計画が―決定", "https://hikari.example.jp/articles/station.html"},
        {"改行を 含む 見出し", "https://hikari.example.jp/articles/newline.html#top"}}},
      {"atom_utf8.xml", nullptr, "https://sora.example.jp/blog/atom.xml",
       {{"星空観察会 & 天体写真展", "https://sora.example.jp/blog/2026/12/stars.html"},
        {"雪の朝の散歩道", "https://sora.example.jp/archive/snow.html"},
        {"1 < 2 & 3 > 2 の数式", "https://sora.example.jp/blog/notes/math.html"}}},
      {"atom03_utf8.xml", nullptr, "http://old.example.jp/atom.xml",
       {{"古い形式の記事です", "http://old.example.jp/2004/01/entry.html"}}},
  };
  for (const SampleCase& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string body = sample(c.file);
    // As saved without a head, and as the fetcher stores the response.
    for (const std::string& bytes : {body, pageFile(c.head ? c.head : "", body)}) {
      std::vector<LinkItem> items = itemsOf(bytes, c.url);
      ASSERT_EQ(items.size(), c.items.size());
      for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].headline, c.items[i].headline) << i;
        EXPECT_EQ(items[i].url, c.items[i].url) << i;
      }
    }
  }
}

TEST(FeedReader, EncodingComesFromTheMarkThenTheResponseThenTheDeclaration) {
  const std::string euc = "\xC6\xFC\xCB\xDC\xA4\xCE\xA5\xCB\xA5\xE5\xA1\xBC\xA5\xB9";  // 日本のニュース
  const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC\xE3\x82\xB9";
  auto rss = [](const std::string& decl, const std::string& title) {
    return decl + "<rss><channel><item><title>" + title + "</title><link>http://h/a</link></item></channel></rss>";
  };
  struct Case {
    std::string bytes;
  } cases[] = {
      {pageFile("Content-Type: text/xml; charset=EUC-JP\r\r\n", rss("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", euc))},
      {pageFile("", rss("<?xml version=\"1.0\" encoding=\"euc-jp\"?>", euc))},
      {pageFile("Content-Type: text/xml; charset=EUC-JP\r\r\n", "\xEF\xBB\xBF" + rss("", utf8))},
      {pageFile("", rss("<?xml version=\"1.0\"?>", utf8))},
      {pageFile("", rss("", euc))},
  };
  for (const Case& c : cases) {
    std::vector<LinkItem> items = itemsOf(c.bytes);
    ASSERT_EQ(items.size(), 1u) << c.bytes;
    EXPECT_EQ(items[0].headline, "日本のニュース") << c.bytes;
  }
  // UTF-16 with its mark, its line feeds stored as CR LF.
  std::string wide;
  for (char c : std::string("<rss><item><title>0123456789\n</title><link>http://h/a</link></item></rss>")) {
    wide += c;
    wide += '\0';
  }
  std::vector<LinkItem> items = itemsOf(pageFile("", "\xFF\xFE" + wide));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].headline, "0123456789");
}

TEST(FeedReader, TheDocumentElementDecides) {
  struct Case {
    const char* body;
    std::optional<FeedKind> kind;
  } cases[] = {
      {"<rss version=\"2.0\">", FeedKind::kRss},
      {"\xEF\xBB\xBF<?xml version='1.0'?>\n<!-- c > d -->\n<?xml-stylesheet href='x.xsl'?>\n<rss>", FeedKind::kRss},
      {"<!DOCTYPE rss [ <!ENTITY a \"]>\"> <!-- ]> --> ]>\n<rss>", FeedKind::kRss},
      {"<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\">",
       FeedKind::kRdf},
      {"<RDF:RDF xmlns=\"http://my.netscape.com/rdf/simple/0.9/\">", FeedKind::kRdf},
      {"<feed xmlns=\"http://www.w3.org/2005/Atom\">", FeedKind::kAtom},
      {"  \n<atom:feed xmlns:atom=\"http://purl.org/atom/ns#\">", FeedKind::kAtom},
      {"<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">", std::nullopt},
      {"<!DOCTYPE html><html><rss>", std::nullopt},
      {"<?xml version='1.0'?><html xmlns='http://www.w3.org/1999/xhtml'>", std::nullopt},
      {"x<rss>", std::nullopt},
      {"<?xml version='1.0'", std::nullopt},
      {"<!-- <rss> ", std::nullopt},
      {"<RSS>", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(feedKindAt(c.body, 0), c.kind) << c.body;
    EXPECT_EQ(feedKindOfPage(pageFile("Content-Type: text/html\r\r\n", c.body)), c.kind) << c.body;
  }
}

TEST(FeedReader, TitlesReadAsAReaderSeesThem) {
  struct Case {
    const char* raw;
    TitleMarkup markup;
    const char* text;
  } cases[] = {
      {"<![CDATA[a &amp; b]]>", TitleMarkup::kText, "a &amp; b"},
      {"<![CDATA[a &amp; <b>b</b>]]>", TitleMarkup::kHtml, "a & b"},
      {"&lt;b&gt;Bold&lt;/b&gt; &amp;amp; more", TitleMarkup::kHtml, "Bold & more"},
      {"&lt;b&gt;Bold&lt;/b&gt;", TitleMarkup::kText, "<b>Bold</b>"},
      {"1 &lt; 2 &gt; 0", TitleMarkup::kHtml, "1 < 2 > 0"},
      {"<div>x <b>y</b></div>", TitleMarkup::kXhtml, "x y"},
      {" \r\n a\t\t b \n", TitleMarkup::kText, "a b"},
      {"&#26085;&#x672C;&#X8A9E;", TitleMarkup::kText, "日本語"},
      {"a&nbsp;&nbsp;b&hellip;&mdash;&ndash;&yen;&copy;&bull;", TitleMarkup::kText, "a b…―-\\〓・"},
      {"&#0;&#1;x&#10;y&#x1F600;", TitleMarkup::kText, "x y〓"},
      {"AT&T &unknown; &amp &#xD800; &#99999999999; &#; &", TitleMarkup::kText,
       "AT&T &unknown; &amp &#xD800; &#99999999999; &#; &"},
      {"a <!-- hidden --> b", TitleMarkup::kText, "a b"},
      {"x < y and <z", TitleMarkup::kHtml, "x < y and <z"},
      {"<![CDATA[cut off", TitleMarkup::kText, "cut off"},
      {"", TitleMarkup::kHtml, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(titleText(c.raw, c.markup), c.text) << c.raw;
}

// Titles without markup are read in one pass; a comment in front, which
// reads as nothing, sends the same title through the steps one by one.
TEST(FeedReader, TitlesWithoutMarkupReadAsThroughEveryStep) {
  const std::vector<std::string> parts = {"&amp;", "&lt;", "&gt;", "b", "lt;", "#", "&#38;", "&shy;",
                                          "&nbsp;", " ", "\t", "&", "amp;", "あ", ";", "&#x3C;"};
  std::vector<std::string> titles = {""};
  for (int round = 0; round < 3; ++round) {
    const std::size_t count = titles.size();
    for (std::size_t i = 0; i < count; ++i)
      for (const std::string& p : parts) titles.push_back(titles[i] + p);
  }
  for (const std::string& t : titles)
    for (TitleMarkup m : {TitleMarkup::kText, TitleMarkup::kHtml, TitleMarkup::kXhtml})
      ASSERT_EQ(titleText(t, m), titleText("<!---->" + t, m)) << t;
}

// Links written plain are taken as written; in a CDATA section the same
// link is read and resolved step by step.
TEST(FeedReader, PlainLinksReadAsThroughEveryStep) {
  const char* links[] = {"http://h/a", " HTTP://h/a/../b ", "https://h:80/x", "https://h:x/x", "http://h/#f",
                         "http:///x", "http://h", "hTtPs://h/a/./b#c/.", "http://h/a\x01b", "//h/x", "/x", "x#y",
                         "http:/h/x", "https//h/x", "http://h?q/x"};
  for (const char* link : links) {
    const std::string item = "<item><title>a headline</title><guid>http://g/1</guid><link>";
    const std::string plain = item + link + "</link></item>";
    const std::string cdata = item + "<![CDATA[" + link + "]]></link></item>";
    const auto read = [](const std::string& items) {
      const std::vector<LinkItem> got = itemsOf(pageFile("", "<rss><channel>" + items));
      return got.empty() ? std::string() : got[0].url;
    };
    EXPECT_EQ(read(plain), read(cdata)) << link;
  }
}

TEST(FeedReader, ItemRulesForTitlesAndUrls) {
  struct Case {
    const char* feed;
    std::vector<Expected> items;
  } cases[] = {
      // No title, an empty title, a short one, no link: no link taken.
      {"<rss><item><link>http://h/1</link></item><item><title/><link>http://h/2</link></item>"
       "<item><title>  12345678 </title><link>http://h/3</link></item><item><title>123456789</title></item></rss>",
       {}},
      // An unusable link falls back to a permalink guid; other schemes and
      // a bare identifier are no URL.
      {"<rss><item><title>headline one</title><link>javascript:alert(1)</link><guid>http://h/g</guid></item>"
       "<item><title>headline two</title><link>mailto:a@h</link></item>"
       "<item><title>headline three</title><guid>123</guid></item>"
       "<item><title>headline four</title><link>//other.example/x</link></item></rss>",
       {{"headline one", "http://h/g"}, {"headline four", "http://other.example/x"}}},
      // Only the item's own children, written with the item's prefix.
      {"<rdf:RDF xmlns='http://purl.org/rss/1.0/'><rss:item><title>not mine</title><rss:title>the title</rss:title>"
       "<rss:link>http://h/p</rss:link></rss:item></rdf:RDF>",
       {{"the title", "http://h/p"}}},
      // An Atom entry takes the first alternate link of an HTML type.
      {"<feed><entry><title>entry title</title><link rel='self' href='http://h/self'/>"
       "<link rel='alternate' type='text/html; charset=utf-8' href='http://h/alt'/><link href='http://h/late'/>"
       "</entry><entry><title>entry two</title><link type='application/xhtml+xml' href='/x'/></entry></feed>",
       {{"entry title", "http://h/alt"}, {"entry two", "http://example.jp/x"}}},
      // Unclosed items and elements end where the next item starts or the text ends.
      {"<rss><channel><item><title>first item</title><link>http://h/1</link><description><p>x"
       "<item><title>second item</title><link>http://h/2</link>",
       {{"first item", "http://h/1"}, {"second item", "http://h/2"}}},
      // A title whose end tag does not come before the item's end is no
      // title; the next item is read as usual.
      {"<rss><item><title>unclosed <link>http://h/1</link></item><item><title>closed one</title>"
       "<link>http://h/2</link></item></rss>",
       {{"closed one", "http://h/2"}}},
  };
  for (const Case& c : cases) {
    std::vector<LinkItem> items = itemsOf(c.feed);
    ASSERT_EQ(items.size(), c.items.size()) << c.feed;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].headline, c.items[i].headline) << c.feed;
      EXPECT_EQ(items[i].url, c.items[i].url) << c.feed;
    }
  }
}

TEST(FeedReader, RelativePermalinkGuidsResolveLikeLinks) {
  const std::vector<LinkItem> items = itemsOf(
      "<rss><channel xml:base='http://base.example/news/'>"
      "<item><title>path guid item</title><guid>/story/1.html</guid></item>"
      "<item><title>marked guid item</title><guid isPermaLink='true'>story/2.html</guid></item>"
      "<item><title>parent guid item</title><guid>../3.html</guid></item>"
      "<item><title>own base item</title><guid xml:base='http://other.example/a/'>./4.html</guid></item>"
      "<item><title>not permalink</title><guid isPermaLink='false'>/story/5.html</guid></item>"
      "<item><title>bare identifier</title><guid>story-6</guid></item>"
      "<item><title>tag identifier</title><guid isPermaLink='true'>tag:h,2024:7</guid></item>"
      "</channel></rss>");
  const std::vector<Expected> want = {{"path guid item", "http://base.example/story/1.html"},
                                      {"marked guid item", "http://base.example/news/story/2.html"},
                                      {"parent guid item", "http://base.example/3.html"},
                                      {"own base item", "http://other.example/a/4.html"}};
  ASSERT_EQ(items.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(items[i].headline, want[i].headline);
    EXPECT_EQ(items[i].url, want[i].url);
  }
  // Without a base, the feed's address.
  EXPECT_EQ(itemsOf("<rss><item><title>path guid item</title><guid>/s/1</guid></item></rss>").at(0).url,
            "http://example.jp/s/1");
}

TEST(FeedReader, Latin1AndWindows1252FeedsAreConverted) {
  // "Café — Olé ×2 ‘quoted’ €" in windows-1252: é and € have no Shift_JIS form.
  const std::string title = "Caf\xE9 \x97 Ol\xE9 \xD7" "2 \x91quoted\x92 \x80";
  const std::string sjisTitle = "Caf〓 \x81\x5C Ol〓 ×2 ‘quoted’ 〓";
  struct Case {
    std::string head, declaration;
    bool converted;
  } cases[] = {
      {"Content-Type: application/rss+xml; charset=ISO-8859-1", "", true},
      {"Content-Type: text/xml", "<?xml version='1.0' encoding='windows-1252'?>", true},
      {"Content-Type: text/xml", "<?xml version=\"1.0\" encoding=\"latin1\" ?>", true},
      // The response's charset comes before the declaration.
      {"Content-Type: text/xml; charset=utf-8", "<?xml version='1.0' encoding='iso-8859-1'?>", false},
  };
  for (const Case& c : cases) {
    const std::string body = c.declaration + "<rss><item><title>" + title + "</title><link>http://h/1</link></item></rss>";
    const std::vector<LinkItem> items = itemsOf(pageFile(c.head, body));
    ASSERT_EQ(items.size(), 1u) << c.head;
    if (c.converted) {
      EXPECT_EQ(items[0].headline, sjisTitle) << c.head;
    } else {
      EXPECT_NE(items[0].headline, sjisTitle) << c.head;
    }
  }
}

TEST(FeedReader, TheCheckPutsItemsThroughThePageLinksSteps) {
  std::string feed =
      "<rss><item><title>【速報】台風が接近</title><link>http://h/news/1</link></item>"
      "<item><title>スポーツの話題です</title><link>http://h/sports/2</link></item>"
      "<item><title>PR 広告の記事です</title><link>http://ad.example/news/3</link></item></rss>";
  struct Case {
    const char* extract;
    HeadlineFilters filters;
    std::vector<Expected> items;
  } cases[] = {
      {"", {}, {{"【速報】台風が接近", "http://h/news/1"}, {"スポーツの話題です", "http://h/sports/2"},
               {"PR 広告の記事です", "http://ad.example/news/3"}}},
      // Each string in the URL or in the headline.
      {"news,台風", {}, {{"【速報】台風が接近", "http://h/news/1"}}},
      {"http://h/,話題", {}, {{"スポーツの話題です", "http://h/sports/2"}}},
      {"/news/", {"【,】", "PR"}, {{"速報台風が接近", "http://h/news/1"}}},
  };
  for (const Case& c : cases) {
    std::string bytes = feed;
    std::vector<LinkItem> items = pageLinks(bytes, "http://h/", c.extract, c.filters);
    ASSERT_EQ(items.size(), c.items.size()) << c.extract;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].headline, c.items[i].headline);
      EXPECT_EQ(items[i].url, c.items[i].url);
    }
  }
}

TEST(FeedReader, LimitsCutAtACharacterBoundary) {
  std::string title(997, 'a');
  title += "日本";  // "日" ends at byte 999, "本" would end at byte 1001
  std::string url = "http://h/" + std::string(600, 'u');
  std::vector<LinkItem> items =
      itemsOf("<rss><item><title>" + title + "</title><link>" + url + "</link></item></rss>");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].headline, std::string(997, 'a') + "日");
  EXPECT_EQ(items[0].url, url.substr(0, 499));
}

// Hostile feeds get a defined result; their speed is measured in the
// benchmark, not here.
TEST(FeedReader, HostileFeedsEndInADefinedResult) {
  const std::string item = "<item><title>a good headline</title><link>http://h/ok</link></item>";
  // Entities declared in the DOCTYPE are never expanded.
  std::string laughs = "<?xml version='1.0'?><!DOCTYPE rss [<!ENTITY lol 'lol'>";
  for (int i = 1; i < 10; ++i)
    laughs += "<!ENTITY lol" + std::to_string(i) + " '" + std::string(10, '&') + "lol" + std::to_string(i - 1) + ";'>";
  laughs += "]><rss><item><title>&lol9; laughs</title><link>http://h/l</link></item>" + item + "</rss>";
  std::vector<LinkItem> items = itemsOf(laughs);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].headline, "&lol9; laughs");

  // Deep nesting inside an item, and stray end tags.
  std::string deep = "<rss><item>";
  for (int i = 0; i < 100000; ++i) deep += "<x>";
  deep += "</y></item>" + item + "</rss>";
  items = itemsOf(deep);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].url, "http://h/ok");

  // A 1 MB title is cut; garbage after the root, a stray '&', NUL bytes.
  std::string big = "<rss><item><title>" + std::string(1 << 20, 'x') + "&</title><link>http://h/b</link></item>" +
                    item + "</rss>";
  big += std::string("\0\xFF\xFE<item><title>after the root</title><link>http://h/z</link>", 60);
  items = itemsOf(big);
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[0].headline.size(), 999u);

  // A feed cut anywhere never gives more than the whole one, nor a broken item.
  const std::string whole = sample("atom_utf8.xml");
  const std::size_t all = itemsOf(whole).size();
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    std::vector<LinkItem> some = itemsOf(whole.substr(0, cut));
    if (some.size() == 1 && some[0].headline == "NOT A FEED") continue;
    ASSERT_LE(some.size(), all) << cut;
    for (const LinkItem& l : some) ASSERT_EQ(l.url.rfind("https://sora.example.jp/", 0), 0u) << cut;
  }
}

TEST(FeedReader, APageThatIsNoFeedIsLeftToThePageScan) {
  const std::string page = pageFile("Content-Type: text/html\r\r\n",
                                    "<?xml version='1.0'?>\n<html><body><a href=\"x.html\">a headline here</a>"
                                    "<rss><item><title>inside a page</title><link>http://h/</link></item></rss>");
  std::string bytes = page;
  EXPECT_FALSE(readFeed(bytes, "http://h/"));
  EXPECT_EQ(bytes, page);
  std::string scanned = page;
  std::vector<LinkItem> links = pageLinks(scanned, "http://h/", "", {});
  std::string text = scanTextOf(page);
  EXPECT_EQ(links.size(), extractLinks(text, "http://h/", "", {}).size());
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].url, "http://h/x.html");
}

}  // namespace
}  // namespace ls
