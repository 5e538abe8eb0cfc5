// Rows entering the news list: keyword icons, URL cleaning, trimming.
#include <gtest/gtest.h>

#include "common/program.h"
#include "engine/news_entry.h"
#include "test_support.h"

namespace ls {
namespace {

using test::EngineFixture;

std::string add(EngineFixture& f, const std::string& headline, std::string url, int icon = kIconNew) {
  addNewsEntry(f.ctx, headline, url, "site", icon);
  return url;
}

TEST(NewsEntry, KeywordsMarkTheRow) {
  EngineFixture f;
  f.setSetting("KEYWORD", "台風,地震");
  add(f, "東北で地震", "u");
  EXPECT_EQ(f.news.icon(0), kIconKeyword);
  add(f, "晴れの一日", "u");
  EXPECT_EQ(f.news.icon(0), kIconNew);
  add(f, "晴れの一日", "u", kIconNone);
  EXPECT_EQ(f.news.icon(0), kIconNone);
  add(f, "台風が接近", "u", kIconNone);
  EXPECT_EQ(f.news.icon(0), kIconKeyword);
  // "," is one empty entry, which every headline holds.
  f.setSetting("KEYWORD", ",");
  add(f, "anything", "u");
  EXPECT_EQ(f.news.icon(0), kIconKeyword);
}

TEST(NewsEntry, RowGoesToTheTopWithItsColumns) {
  EngineFixture f;
  add(f, "older", "http://h/1");
  add(f, "newer", "http://h/2");
  ASSERT_EQ(f.news.count(), 2);
  EXPECT_EQ(f.news.text(0, 0), "newer");
  EXPECT_EQ(f.news.text(0, 1), "site");
  EXPECT_EQ(f.news.text(0, 2), "http://h/2");
  EXPECT_EQ(f.news.text(1, 0), "older");
  EXPECT_GE(f.news.repaints, 2);
}

TEST(NewsEntry, UrlCleaningRemovesTheFirstOccurrenceOfEachEntry) {
  EngineFixture f;
  f.setSetting("DISREGARDURL", "&ref=top");
  EXPECT_EQ(add(f, "h", "x.cgi?a=1&ref=top&ref=top"), "x.cgi?a=1&ref=top");
  f.setSetting("DISREGARDURL", "?from=top,&ref=top");
  EXPECT_EQ(add(f, "h", "x.cgi?from=top&ref=top&b=2"), "x.cgi&b=2");
  f.setSetting("DISREGARDURL", "target=main style=text-decoration:none");
  EXPECT_EQ(add(f, "h", "http://host/x.html target=main style=text-decoration:none"), "http://host/x.html ");
  EXPECT_EQ(f.news.text(0, 2), "http://host/x.html ");
  f.setSetting("DISREGARDURL", ",");
  EXPECT_EQ(add(f, "h", "http://host/y"), "http://host/y");
}

TEST(NewsEntry, HomePageLinksShowTheHomePageAddress) {
  EngineFixture f;
  EXPECT_EQ(add(f, "h", std::string("see ") + kHomePageAddress + "update.html"), kHomePageAddress);
  EXPECT_EQ(add(f, "h", "http://elsewhere/"), "http://elsewhere/");
}

TEST(NewsEntry, ListIsTrimmedFromTheBottom) {
  EngineFixture f;
  f.setSetting("LIST", "3");
  for (int i = 1; i <= 5; ++i) add(f, "headline " + std::to_string(i), "u");
  ASSERT_EQ(f.news.count(), 3);
  EXPECT_EQ(f.news.text(0, 0), "headline 5");
  EXPECT_EQ(f.news.text(2, 0), "headline 3");

  f.setSetting("LIST", "50");
  for (int i = 0; i < 60; ++i) add(f, "more", "u");
  EXPECT_EQ(f.news.count(), 50);
  // A negative value edited in by hand empties the list instead of looping.
  f.setSetting("LIST", "-5");
  trimNewsList(f.ctx);
  EXPECT_EQ(f.news.count(), 0);
}

TEST(NewsEntry, MissingListSettingKeeps500Rows) {
  EngineFixture f;
  for (int i = 0; i < 505; ++i) f.news.insertTop("row", kIconNew);
  trimNewsList(f.ctx);
  EXPECT_EQ(f.news.count(), 500);
}

}  // namespace
}  // namespace ls
