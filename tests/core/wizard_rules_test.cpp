// The wizard's fetch hand-over, "判別", "追加" and the search rule.
#include <gtest/gtest.h>

#include "engine/check_cycle.h"
#include "engine/search_rule.h"
#include "test_support.h"
#include "wizard/link_listing.h"
#include "wizard/wizard_rules.h"

namespace ls {
namespace {

struct OneFetcher : Fetcher {
  bool open = false;
  std::vector<std::string> begun;
  int closes = 0;
  FetchListener* listener = nullptr;
  bool inFlight() const override { return open; }
  using Fetcher::begin;
  FetchBegin begin(const std::string& url, FetchListener& who, const Validators&) override {
    begun.push_back(url);
    listener = &who;
    open = url.rfind("http://", 0) == 0;
    return open ? FetchBegin{} : FetchBegin{FetchStart::kRefused, ""};
  }
  void close() override {
    open = false;
    ++closes;
  }
};


struct PageArrived : FetchListener {
  int received = 0;
  void fetchReceived() override { ++received; }
  void fetchFailed(const std::string&) override {}
};

TEST(WizardRules, FetchTakesOverTheOneFetcher) {
  test::EngineFixture f;
  OneFetcher fetcher;
  test::NoTimer timer;
  ClosedLogSwitcher logs;
  ShownLog shown;
  CheckCycle cycle(f.ctx, CyclePorts{&fetcher, &timer, nullptr, &logs, nullptr, nullptr, {}, {}, {}}, shown);
  PageArrived wizard;

  EXPECT_FALSE(wizardFetch(fetcher, wizard, f.ui, ""));
  EXPECT_TRUE(fetcher.begun.empty());

  fetcher.open = true;  // the cycle's fetch is in flight
  EXPECT_TRUE(wizardFetch(fetcher, wizard, f.ui, "http://w/"));
  EXPECT_EQ(fetcher.closes, 1);
  EXPECT_TRUE(fetcher.begun.empty());
  EXPECT_EQ(f.ui.status[0], "");

  EXPECT_TRUE(wizardFetch(fetcher, wizard, f.ui, "http://w/"));
  EXPECT_EQ(fetcher.begun, std::vector<std::string>{"http://w/"});
  EXPECT_EQ(f.ui.status[0], "http://w/");
  // The page arrives: the wizard's, not the scan's.
  fetcher.open = false;
  fetcher.listener->fetchReceived();
  EXPECT_EQ(wizard.received, 1);
  EXPECT_EQ(f.news.count(), 0);

  EXPECT_TRUE(wizardFetch(fetcher, wizard, f.ui, "ftp://w/"));
  EXPECT_EQ(f.ui.status[1], kMsgBadUrl);
}

TEST(WizardRules, SuggestionFromTheTickedLinks) {
  EXPECT_EQ(suggestExtract(0, {}).kind, Suggestion::kNoRows);
  EXPECT_EQ(suggestExtract(3, {}).kind, Suggestion::kClear);
  Suggestion one = suggestExtract(3, {"/news/2026/1207.html"});
  EXPECT_EQ(one.kind, Suggestion::kSet);
  EXPECT_EQ(one.extract, "/news/2026/1207.html");
  EXPECT_EQ(suggestExtract(3, {std::string(600, 'l')}).extract.size(), 498u);
  EXPECT_EQ(suggestExtract(3, {"a", "b"}).kind, Suggestion::kLearn);
}

TEST(WizardRules, AddTakesAllThreeFieldsCut) {
  EXPECT_FALSE(wizardSite("name", "http://a/", "").has_value());
  std::optional<Site> s = wizardSite(std::string(120, 'n'), "http://a/", "/n/");
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->name.size(), 99u);
  EXPECT_FALSE(s->checked);
}

TEST(WizardRules, CheckSelectsRowsWhoseLinkHoldsEveryString) {
  std::vector<ListedLink> rows =
      listPageLinks("<a href=/news/2002/1.html>first headline</a><a href=/news/2003/2.html>second headline</a>"
                    "<a href = ../news/2002/3.html>Alpha Beta gamma</a>");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].headline, "AlphaBetagamma");
  EXPECT_EQ(rows[0].link, "news/2002/3.html");
  EXPECT_TRUE(linkMatches(rows[0].link, "news,2002"));
  EXPECT_FALSE(linkMatches(rows[1].link, "news,2002"));
  EXPECT_TRUE(linkMatches(rows[2].link, "news,2002"));
}

TEST(SearchRule, FromTheStartFromTheNextNoWrap) {
  test::FakeNewsList list;
  for (const char* h : {"Tokyo rain", "tokyo snow", "Osaka sun", "Tokyo wind"}) list.insertRow(list.count(), h, 0);
  list.rows[2].columns[2] = "http://tokyo/";  // URLs are not searched
  EXPECT_EQ(findHeadline(list, "Tokyo", 0), 0);
  EXPECT_EQ(findHeadline(list, "Tokyo", 1), 3);
  EXPECT_EQ(findHeadline(list, "Tokyo", 4), -1);
  EXPECT_EQ(findHeadline(list, "tokyo", 0), 1);  // case matters
  EXPECT_EQ(findHeadline(list, "", 2), 2);
  EXPECT_EQ(findHeadline(list, "Kyoto", 0), -1);
  test::FakeNewsList empty;
  EXPECT_EQ(findHeadline(empty, "", 0), -1);
}

}  // namespace
}  // namespace ls
