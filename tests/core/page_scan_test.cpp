// The page scan's link extraction: worked examples of anchors, targets,
// bases and the headline lists.
#include <gtest/gtest.h>

#include "engine/link_extract.h"
#include "engine/link_url.h"
#include "engine/page_text.h"

namespace ls {
namespace {

std::vector<LinkItem> scan(std::string page, std::string_view url = "http://host/a/b/index.html",
                           std::string_view extract = "", HeadlineFilters filters = {}) {
  return extractLinks(page, url, extract, filters);
}

std::string urlFor(std::string_view target, std::string_view siteUrl = "http://host/a/b/index.html") {
  auto links = scan("<a href=" + std::string(target) + ">a long headline</a>", siteUrl);
  return links.size() == 1 ? links[0].url : "<no link>";
}

TEST(PageScan, EmptyExtractionStringsTakeEveryLongEnoughAnchor) {
  auto links = scan("<a href=x.html>Short</a><a href=y.html>Long enough</a><a href=z.html>123456789</a>");
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].headline, "Long enough");
  EXPECT_EQ(links[1].headline, "123456789");
}

TEST(PageScan, ExtractionStringsMustAllOccurInTheRawAnchorText) {
  std::string page =
      "<a href=/news/1.html>only news here</a>"
      "<a href=/2002/x.html>news of the year</a>"
      "<a href=/x.html>2002 without the word</a>";
  auto links = scan(page, "http://host/", "news,2002");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].url, "http://host/2002/x.html");
  // An empty entry occurs everywhere; a trailing comma adds none.
  EXPECT_EQ(scan(page, "http://host/", "news,").size(), 2u);
  EXPECT_EQ(scan(page, "http://host/", ",news").size(), 2u);
  EXPECT_EQ(scan(page, "http://host/", "target=").size(), 0u);
}

TEST(PageScan, InnerTagsAreRemovedFromTheHeadline) {
  auto links = scan("<a href=x.html>今日の<b>ニュース</b>です</a>");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "今日のニュースです");
  EXPECT_EQ(links[0].headline.size(), 18u);
  EXPECT_EQ(links[0].url, "http://host/a/b/x.html");
}

TEST(PageScan, AnchorRunsToTheFirstClosingTagSoNestedLinksAreNotVisited) {
  auto links = scan("<a href=1.html>Alpha <a href=2.html>Beta</a>");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "Alpha Beta");
  EXPECT_EQ(links[0].url, "http://host/a/b/1.html");
}

TEST(PageScan, OnlyAnAnchorsHrefStartsALink) {
  struct Case {
    const char* page;
    const char* firstUrl;
  };
  const Case cases[] = {
      {"<link rel=\"stylesheet\" href=\"/css/main.css\"><a href=\"/news/1.html\">first headline</a>",
       "http://host/news/1.html"},
      {"<base href=\"http://host/a/\"><a href=x.html>first headline</a>", "http://host/a/b/x.html"},
      {"<map><AREA HREF=/map.html alt=x></map><a href=y.html>first headline</a>", "http://host/a/b/y.html"},
      {"<img src=i.png><a href=z.html>first headline</a>", "http://host/a/b/z.html"},
      {"</a href=q.html><A class=x HREF=w.html>first headline</A>", "http://host/a/b/w.html"},
      // Lines joined without a break: the name runs into the attribute.
      {"<link\nhref=/c.css><ahref=v.html>first headline</a>", "http://host/a/b/v.html"},
      {"<aside href=s.html><aclass=k href=u.html>first headline</a>", "http://host/a/b/u.html"},
      // Outside every tag an "href=" still starts a link, as before.
      {"text href=t.html>first headline</a>", "http://host/a/b/t.html"},
      {"<a title='x>y' href=r.html>first headline</a>", "http://host/a/b/r.html"},
      // A '<' opens a new tag even before the last one has closed.
      {"<link href=a.css <a href=b.html>first headline</a>", "http://host/a/b/b.html"},
  };
  for (const Case& c : cases) {
    auto links = scan(c.page);
    ASSERT_FALSE(links.empty()) << c.page;
    EXPECT_EQ(links[0].url, c.firstUrl) << c.page;
    EXPECT_EQ(links[0].headline, "first headline") << c.page;
  }
  EXPECT_TRUE(scan("<link href=a.css>not a headline</a>").empty());
}

TEST(PageScan, CommentsHideLinksAndTheRestIsScanned) {
  auto links = scan("<!-- <a href=old.html>old headline text</a> --><a href=new.html>new headline text</a>");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "new headline text");
}

TEST(PageScan, TargetsBecomeAbsoluteAgainstTheBase) {
  EXPECT_EQ(urlFor("c.html"), "http://host/a/b/c.html");
  EXPECT_EQ(urlFor("../c.html"), "http://host/a/c.html");
  EXPECT_EQ(urlFor("./c.html"), "http://host/a/c.html");
  EXPECT_EQ(urlFor("../../../../c.html"), "http://host/c.html");
  EXPECT_EQ(urlFor("/c.html"), "http://host/c.html");
  EXPECT_EQ(urlFor("HTTP://other/x"), "HTTP://other/x");
  EXPECT_EQ(urlFor("http://other/x"), "http://other/x");
  EXPECT_EQ(urlFor("Http://other/x"), "http://host/a/b/Http://other/x");
  EXPECT_EQ(urlFor("\"q.html\""), "http://host/a/b/q.html");
  EXPECT_EQ(urlFor("'q.html'"), "http://host/a/b/q.html");
}

TEST(PageScan, BaseOfTheSiteUrl) {
  EXPECT_EQ(baseUrlOf("http://host/a/b/index.html"), "http://host/a/b/");
  EXPECT_EQ(baseUrlOf("http://host/a"), "http://host/");
  // No slash after the host: the host's root, so relative links still work.
  EXPECT_EQ(baseUrlOf("http://host"), "http://host/");
  EXPECT_EQ(urlFor("c.html", "http://host"), "http://host/c.html");
  EXPECT_EQ(urlFor("/c.html", "http://host"), "http://host/c.html");
}

TEST(PageScan, UnquotedTargetsKeepWhatFollowsUpToTheFirstQuote) {
  EXPECT_EQ(urlFor("x.html target=_top"), "http://host/a/b/x.html target=_top");
  auto links = scan("<a href=x.html>He said \"hello\" today</a>");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].url, "http://host/a/b/x.html>He said ");
}

TEST(PageScan, BaseOverride) {
  auto with = [](const std::string& tag) {
    // The override holds "HREF=", so it starts an anchor of its own; a
    // closing tag right after it keeps that anchor from swallowing the link.
    auto links = scan(tag + "</a><a href=x.html>a long headline</a>");
    return links.size() == 1 ? links[0].url : "<no link>";
  };
  EXPECT_EQ(with("<BASEHREF='http://host/c/x.html'>"), "http://host/c/x.html");
  EXPECT_EQ(with("<BASEHREF=http://host/c/x.html>"), "http://host/c/x.htmlx.html");
  EXPECT_EQ(with("<BASEHREF=\"http://other/d/e.html\">"), "http://other/d/x.html");
  // The lower-case form wins wherever it stands.
  EXPECT_EQ(with("<BASEHREF='http://one/'></a><basehref='http://two/'>"), "http://two/x.html");
  // "base href" with a blank is no override.
  EXPECT_EQ(with("<base href='http://other/'>"), "http://host/a/b/x.html");
  // A quoted value without a slash loses only its quote.
  EXPECT_EQ(with("<BASEHREF='nowhere>"), "nowherex.html");
}

TEST(PageScan, BaseOverrideWithoutClosingBracketIsIgnored) {
  std::string page = "<a href=x.html>a long headline</a><BASEHREF='http://other/";
  auto links = scan(page);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].url, "http://host/a/b/x.html");
}

TEST(PageScan, DeleteAndDisregard) {
  HeadlineFilters f;
  f.deleteList = "【,】";
  auto links = scan("<a href=x.html>【速報】台風が接近</a>", "http://host/", "", f);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "速報台風が接近");

  f.deleteList = "&nbsp;";
  links = scan("<a href=x.html>A&nbsp;B&nbsp;&nbsp;C</a>", "http://host/", "", f);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "ABC");

  // A removal may join a new occurrence; it is removed too.
  f.deleteList = "ab";
  links = scan("<a href=x.html>xaabbyy-long</a>", "http://host/", "", f);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "xyy-long");

  // An empty entry removes nothing; the headline is not measured again.
  f.deleteList = ",long enough";
  links = scan("<a href=x.html>long enough</a>", "http://host/", "", f);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "");

  f = {};
  f.disregardList = "PR:,広告";
  links = scan("<a href=1.html>PR: buy this now</a><a href=2.html>本日の広告です</a><a href=3.html>real headline</a>",
               "http://host/", "", f);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "real headline");

  f.disregardList = ",";  // an empty entry ignores every headline
  EXPECT_TRUE(scan("<a href=3.html>real headline</a>", "http://host/", "", f).empty());
}

TEST(PageScan, HeaderFieldsAreScannedLikeTheBody) {
  std::string page = "HTTP/1.0 200 OK\r\nX-Link: href=header.html>from the header</a>\r\n\r\n";
  auto links = scan(page, "http://host/");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].url, "http://host/header.html");
}

TEST(PageScan, OddMarkupEndsInADefinedState) {
  EXPECT_TRUE(scan("").empty());
  EXPECT_TRUE(scan("<a href=x.html no bracket at all</a>").empty());
  EXPECT_TRUE(scan("<a href=x.html>never closed headline").empty());
  auto links = scan("<a href=x.html>text <b unclosed tag</a>");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "text <b unclosed tag");
  // BASEHREF= holds HREF= and so also starts an anchor; Href= is not one.
  links = scan("<a Href=x.html>not an anchor</a><a href=y.html>an anchor here</a>");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline, "an anchor here");
}

TEST(PageScan, LimitsCutAtCharacterBoundaries) {
  std::string longHeadline;
  for (int i = 0; i < 700; ++i) longHeadline += "あ";  // 1400 bytes
  auto links = scan("<a href=x.html>" + longHeadline + "</a>");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].headline.size(), 998u);  // 999 would split a character

  std::string longTarget(600, 'p');
  links = scan("<a href=" + longTarget + ">a long headline</a>", "http://host/");
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].url.size(), 499u);

  // An anchor text over 7999 bytes is cut; the walk goes on at its real end.
  std::string hugeInner(9000, 'h');
  links = scan("<a href=x.html>" + hugeInner + "</a><a href=y.html>next headline</a>", "http://host/");
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].headline.size(), 999u);
  EXPECT_EQ(links[1].url, "http://host/y.html");
}

TEST(PageText, LinesAreJoinedWithoutTheirBreaks) {
  EXPECT_EQ(joinPageLines("a\r\r\nb\r\nc\nd\r\r\r\ne\rf"), "abcd\re\rf");
  EXPECT_EQ(joinPageLines(std::string("x\0y\r\0\nz", 8)), "xyz");
  // A return left over from the line before is text, not part of the next line end.
  EXPECT_EQ(joinPageLines("t\r\r\r\n\r\nu"), "t\ru");
  EXPECT_EQ(joinPageWords("HTTP/1.0 200\r\n\r\n<a href = x>Alpha Beta</a>\t\v\f"), "HTTP/1.0200<ahref=x>AlphaBeta</a>");
}

TEST(PageText, CommentRemoval) {
  auto without = [](std::string s) {
    removeComments(s);
    return s;
  };
  EXPECT_EQ(without("a<!-- x -->b"), "ab");
  EXPECT_EQ(without("a<!-->b"), "ab");
  EXPECT_EQ(without("a<!--->b"), "ab");
  EXPECT_EQ(without("a<!-- never closed"), "a");
  // A removal that brings "<!" and "--" together starts a new comment.
  EXPECT_EQ(without("<!<!---->--rest-->tail"), "tail");
  EXPECT_EQ(without("<<!-- x -->!-- y -->z"), "z");
}

}  // namespace
}  // namespace ls
