// The check's manners: validators sent back and kept across restarts, a 304
// that keeps the logs, and the waits that 429 and 503 ask for.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "engine/check_cycle.h"
#include "engine/site_log.h"
#include "net/retry_after.h"
#include "sites/site_file.h"
#include "test_support.h"

namespace ls {
namespace {

struct Fetch {
  std::string url;
  Validators sent;
};

struct ScriptedFetcher : Fetcher {
  std::vector<Fetch> begun;
  bool open = false;
  FetchedPage page;
  FetchListener* listener = nullptr;
  bool inFlight() const override { return open; }
  using Fetcher::begin;
  FetchBegin begin(const std::string& url, FetchListener& who, const Validators& v) override {
    begun.push_back({url, v});
    listener = &who;
    open = true;
    return {};
  }
  void close() override { open = false; }
  FetchedPage fetchedPage() const override { return page; }
};


const std::string kHead = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=Shift_JIS\r\n\r\n";

struct Polite : test::EngineFixture {
  ScriptedFetcher fetcher;
  test::NoTimer timer, saveTimer;
  test::NoSound sound;
  ClosedLogSwitcher logs;
  ShownLog shown;
  std::int64_t clock = 1800000000;
  std::unique_ptr<CheckCycle> cycle;

  Polite() { restart(); }
  // A new program over the same files.
  void restart() {
    cycle = std::make_unique<CheckCycle>(
        ctx, CyclePorts{&fetcher, &timer, &sound, &logs, &saveTimer, nullptr, [this] { return clock; }, {}, {}}, shown);
  }
  void sites(const std::vector<Site>& list) { ASSERT_TRUE(writeAllSites(ctx.appDir + kSiteFileName, list)); }
  void answer(int status, const std::string& body, Validators v = {}, bool notModified = false) {
    ASSERT_TRUE(fetcher.open);
    fetcher.open = false;
    fetcher.page = FetchedPage{};
    fetcher.page.status = status;
    fetcher.page.validators = v;
    fetcher.page.notModified = notModified;
    writePage(kHead + body);
    fetcher.listener->fetchReceived();
  }
  void refuse(int status, const std::string& retryAfter) {
    ASSERT_TRUE(fetcher.open);
    fetcher.open = false;
    fetcher.page = FetchedPage{};
    fetcher.page.status = status;
    fetcher.page.retryAfter = retryAfter;
    std::string text = "サーバがエラーを返しました。(" + std::to_string(status) + ")";
    ui.setStatus(1, text);
    fetcher.listener->fetchFailed(text);
  }
  std::string log(const char* name) { return test::readBytes(siteLogPaths(ctx, name).current); }
};

const std::string kLinks = "<a href=\"/n/1.html\">一つ目の見出しです</a><a href=\"/n/2.html\">二つ目の見出しです</a>";
const Validators kV1{"W/\"abc-1\"", "Tue, 08 Dec 2026 01:00:00 GMT"};

TEST(PoliteCheck, ValidatorsGoBackVerbatimAndA304KeepsTheLogs) {
  Polite p;
  p.sites({{"A", "http://a/", "", true}});
  p.cycle->start();
  EXPECT_TRUE(p.fetcher.begun.back().sent.empty());  // nothing known yet
  p.answer(200, kLinks, kV1);
  EXPECT_EQ(p.news.count(), 2);
  std::string log = p.log("A");
  ASSERT_NE(log, "");

  p.restart();  // the validators are on disk
  p.cycle->start();
  EXPECT_EQ(p.fetcher.begun.back().sent, kV1);
  p.answer(304, "", Validators{"", ""}, true);
  EXPECT_EQ(p.news.count(), 2);
  EXPECT_EQ(p.log("A"), log);  // kept, though rotated before the fetch
  EXPECT_EQ(p.ui.status[1], "");

  // A 304 that names a new ETag refreshes it, keeping Last-Modified.
  p.cycle->start();
  EXPECT_EQ(p.fetcher.begun.back().sent, kV1);
  p.answer(304, "", Validators{"\"v2\"", ""}, true);
  p.cycle->start();
  EXPECT_EQ(p.fetcher.begun.back().sent, (Validators{"\"v2\"", kV1.lastModified}));
  // The same page again after the 304s: nothing new.
  p.answer(200, kLinks, kV1);
  EXPECT_EQ(p.news.count(), 2);
  EXPECT_EQ(p.log("A"), log);
}

TEST(PoliteCheck, ChangedSitesAndLostLogsAreAskedWithoutValidators) {
  Polite p;
  p.sites({{"A", "http://a/", "", true}, {"B", "http://b/", "", true}});
  p.cycle->start();
  p.answer(200, kLinks, kV1);
  p.answer(200, kLinks, kV1);
  // B's extraction strings change; A's site log is lost.
  p.sites({{"A", "http://a/", "", true}, {"B", "http://b/", "見出し", true}});
  removeFile(siteLogPaths(p.ctx, "A").current);
  p.cycle->start();
  EXPECT_TRUE(p.fetcher.begun.back().sent.empty());
  p.answer(200, kLinks, kV1);
  EXPECT_TRUE(p.fetcher.begun.back().sent.empty());
  p.answer(200, kLinks, {});
  // B answered without validators: none kept. A is dropped from the file
  // once it leaves the site file.
  p.sites({{"B", "http://b/", "見出し", true}});
  p.cycle->start();
  EXPECT_TRUE(p.fetcher.begun.back().sent.empty());
  p.answer(200, kLinks, {"\"b\"", ""});
  std::string stored = test::readBytes(p.ctx.logDir() + kSiteStateFileName);
  EXPECT_EQ(stored.find("http://a/"), std::string::npos) << stored;
  EXPECT_NE(stored.find("\"b\""), std::string::npos) << stored;
}

TEST(PoliteCheck, A429WaitsAsAskedAcrossRestartsAndEndsAtTheNextGoodAnswer) {
  Polite p;
  p.sites({{"A", "http://a/", "", true}, {"B", "http://b/", "", true}});
  p.cycle->start();
  p.refuse(429, "3600");
  p.answer(200, kLinks);
  EXPECT_EQ(p.ui.status[0], "A");
  EXPECT_EQ(p.ui.status[1], "サーバがエラーを返しました。(429)" + msgWaitUntil(p.clock + 3600));

  p.restart();
  p.clock += 1800;
  p.cycle->start();  // as a check started by hand
  ASSERT_EQ(p.fetcher.begun.size(), 3u);
  EXPECT_EQ(p.fetcher.begun.back().url, "http://b/");
  p.answer(200, kLinks);
  EXPECT_EQ(p.ui.status[0], "A");
  EXPECT_EQ(p.ui.status[1], msgWaitUntil(p.clock + 1800));

  p.clock += 1800;
  p.cycle->start();
  EXPECT_EQ(p.fetcher.begun.back().url, "http://a/");
}

TEST(PoliteCheck, WithoutRetryAfterTheWaitDoublesFromTheIntervalUpToADay) {
  Polite p;
  p.sites({{"A", "http://a/", "", true}});
  std::vector<std::int64_t> waits;
  p.cycle->start();
  for (int i = 0; i < 10; ++i) {
    p.refuse(503, i == 0 ? "" : "soon");  // unreadable counts as none
    std::int64_t start = p.clock;
    do {
      p.clock += 60;
      p.cycle->start();
    } while (!p.fetcher.open);
    waits.push_back(p.clock - start);
  }
  // Checks come every 60 s here, so each wait is seen to the minute.
  EXPECT_EQ(waits[0], 600);
  EXPECT_EQ(waits[1], 1200);
  EXPECT_EQ(waits[2], 2400);
  EXPECT_EQ(waits[7], 76800);
  EXPECT_EQ(waits[8], 86400);
  EXPECT_EQ(waits[9], 86400);
  p.answer(200, kLinks);
  p.cycle->start();
  p.refuse(503, "");
  p.clock += 600;
  p.cycle->start();
  EXPECT_TRUE(p.fetcher.open) << "the doubling starts again after a good answer";
}

TEST(RetryAfter, SecondsAndTheThreeDateForms) {
  const std::int64_t now = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT
  struct Row {
    const char* value;
    std::optional<std::int64_t> seconds;
  } rows[] = {
      {"120", 120},
      {" 0 ", 0},
      {"99999999999", kMaxWaitSeconds},
      {"Sun, 06 Nov 1994 09:49:37 GMT", 3600},
      {"Sunday, 06-Nov-94 08:50:37 GMT", 60},
      {"Sun Nov  6 08:49:47 1994", 10},
      {"Sat, 05 Nov 1994 08:49:37 GMT", 0},  // past
      {"Mon, 29 Feb 2016 00:00:00 GMT", 1456704000 - now},
      {"", std::nullopt},
      {"-5", std::nullopt},
      {"soon", std::nullopt},
      {"Sun, 32 Nov 1994 08:49:37 GMT", std::nullopt},
      {"Sun, 06 Foo 1994 08:49:37 GMT", std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(retryAfterSeconds(r.value, now), r.seconds) << r.value;
  EXPECT_EQ(backOffSeconds("", now, 0, 600), 600);
  EXPECT_EQ(backOffSeconds("", now, 50000, 600), kMaxWaitSeconds);
  EXPECT_EQ(backOffSeconds("200000", now, 0, 600), kMaxWaitSeconds);
  EXPECT_EQ(backOffSeconds("30", now, 5000, 600), 30);
}

TEST(SiteStateFile, ReadsBackWhatItWroteAndDropsOnlyDamagedRecords) {
  SiteStates states;
  states[{"http://a/", "x,y"}] = SiteState{{"\"e\"", "Tue, 08 Dec 2026 01:00:00 GMT"}, 0, 0};
  states[{"http://b/", ""}] = SiteState{{"", ""}, 1800003600, 3600};
  std::string text = siteStateText(states);
  SiteStates back = parseSiteStates(text);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[std::make_pair(std::string("http://a/"), std::string("x,y"))].validators, states.begin()->second.validators);
  EXPECT_EQ(back[std::make_pair(std::string("http://b/"), std::string(""))].waitUntil, 1800003600);

  // A record with a broken number is dropped, the rest kept; a cut file
  // keeps its whole records; another file is no state at all.
  std::string broken = text;
  broken.replace(broken.find("1800003600"), 10, "18000x3600");
  EXPECT_EQ(parseSiteStates(broken).size(), 1u);
  EXPECT_EQ(parseSiteStates(text.substr(0, text.size() - 6)).size(), 1u);
  EXPECT_TRUE(parseSiteStates("garbage\r\n" + text.substr(text.find('\n') + 1)).empty());
}

}  // namespace
}  // namespace ls
