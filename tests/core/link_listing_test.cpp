// The wizard's link listing and its check.
#include <gtest/gtest.h>

#include "wizard/link_listing.h"

namespace ls {
namespace {

TEST(LinkListing, WhiteSpaceVanishesAndLinksStayRelative) {
  auto rows = listPageLinks("<a href = x.html>Alpha Beta</a>\r\n<a href=\"../news/a.html\">a news headline</a>"
                            "<a href=/news/b.html>second headline</a><a href=http://host/a.html>absolute link</a>");
  ASSERT_EQ(rows.size(), 4u);
  // Bottom-up: the last link of the page is the top row.
  EXPECT_EQ(rows[0].link, "http://host/a.html");
  EXPECT_EQ(rows[0].headline, "absolutelink");
  EXPECT_EQ(rows[1].link, "/news/b.html");
  EXPECT_EQ(rows[2].link, "news/a.html");
  EXPECT_EQ(rows[3].headline, "AlphaBeta");
  EXPECT_EQ(rows[3].link, "x.html");
}

TEST(LinkListing, NoBaseOverrideNoExtractionNoHeadlineLists) {
  auto rows = listPageLinks("<BASEHREF='http://other/'></a><!-- <a href=c.html>commented out</a> -->"
                            "<a href=one.html>link number one</a><a href=two.html>short</a>");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].link, "one.html");
  // The 9-byte minimum applies to the headline without blanks.
  EXPECT_TRUE(listPageLinks("<a href=x>a b c d e f</a>").empty());
}

TEST(LinkListing, LinkAndAreaTagsListNoRow) {
  auto rows = listPageLinks("<link rel=\"stylesheet\" href=\"/css/main.css\">\r\n<a class=\"n\" href=\"/news/1.html\">"
                            "first headline</a><area shape=rect href=/map.html><a href=/news/2.html>second one</a>");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].link, "/news/1.html");
  EXPECT_EQ(rows[1].headline, "firstheadline");
  EXPECT_EQ(rows[0].link, "/news/2.html");
}

TEST(LinkListing, CheckMatchesOnTheLinkOnly) {
  EXPECT_TRUE(linkMatches("/news/2002/a.html", "news,2002"));
  EXPECT_FALSE(linkMatches("/news/a.html", "news,2002"));
  EXPECT_TRUE(linkMatches("/x", "x,"));
  EXPECT_TRUE(linkMatches("/x", ",x"));
}

TEST(LinkListing, AnnouncedFeedsComeFirstAndFeedsListTheirItems) {
  auto rows = listPageLinks(
      "<head><link rel=\"alternate\" type=\"application/atom+xml\" title=\"Site news\" href=\"/atom.xml\">"
      "<link rel=\"alternate stylesheet\" type=\"text/css\" href=\"/alt.css\">"
      "<link rel=\"alternate\" type=\"application/rss+xml\" href=\"/atom.xml\"></head>"
      "<a href=one.html>link number one</a>",
      "http://host/dir/index.html");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].kind, RowKind::kFeedOffer);
  EXPECT_EQ(rows[0].headline, feedOfferHeadline("Site news"));
  EXPECT_EQ(rows[0].link, "http://host/atom.xml");
  EXPECT_EQ(rows[1].kind, RowKind::kLink);

  rows = listPageLinks("<rss><item><title>the first item</title><link>a.html</link></item>"
                       "<item><title>the second item</title><link>b.html</link></item></rss>",
                       "http://host/dir/feed.xml");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].headline, "the second item");
  EXPECT_EQ(rows[0].link, "http://host/dir/b.html");
  EXPECT_EQ(rows[1].kind, RowKind::kFeedItem);

  // A feed's row matches as the check takes items; an offer never does.
  EXPECT_TRUE(rowMatches(rows[0], "second,/dir/"));
  EXPECT_FALSE(rowMatches(rows[0], "second,first"));
  EXPECT_FALSE(rowMatches(ListedLink{"offer", "http://host/", RowKind::kFeedOffer}, "http"));
  EXPECT_TRUE(rowMatches(ListedLink{"a headline", "/news/", RowKind::kLink}, "news"));
  EXPECT_FALSE(rowMatches(ListedLink{"news headline", "/x/", RowKind::kLink}, "news"));
}

}  // namespace
}  // namespace ls
