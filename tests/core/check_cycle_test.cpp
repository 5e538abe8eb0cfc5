// The check cycle over a real site file and page files, with the fetcher,
// timer, sound and log switcher in memory.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "engine/check_cycle.h"
#include "engine/answer_kind.h"
#include "engine/site_log.h"
#include "engine/new_list.h"
#include "sites/site_file.h"
#include "test_support.h"
#include "wizard/wizard_rules.h"

namespace ls {
namespace {

using test::EngineFixture;

struct FakeFetcher : Fetcher {
  std::vector<std::string> begun;
  std::vector<Validators> sent;  // the validators of each begun fetch
  bool open = false;
  int closes = 0;
  FetchBegin next;  // what the next begin answers
  FetchedPage page;  // what the fetch that ends next found
  FetchListener* listener = nullptr;  // who began the fetch

  bool inFlight() const override { return open; }
  using Fetcher::begin;
  FetchBegin begin(const std::string& url, FetchListener& who, const Validators& validators) override {
    begun.push_back(url);
    sent.push_back(validators);
    listener = &who;
    if (url.rfind("http://", 0) != 0) return FetchBegin{FetchStart::kRefused, ""};
    FetchBegin b = next;
    next = FetchBegin{};
    open = b.state == FetchStart::kStarted;
    return b;
  }
  void close() override {
    ++closes;
    open = false;
  }
  FetchedPage fetchedPage() const override { return page; }
};

struct FakeTimer : IntervalTimer {
  bool armed = false;
  std::int64_t period = 0;
  int arms = 0;
  void arm(std::int64_t ms) override {
    armed = true;
    period = ms;
    ++arms;
  }
  void stop() override { armed = false; }
};

struct FakeSound : SoundPlayer {
  std::vector<std::string> played;
  void play(const std::string& path) override { played.push_back(path); }
};

struct FakeLogSwitcher : LogSwitcherView {
  bool open = false;
  int selects = 0, rebuilds = 0;
  bool isOpen() const override { return open; }
  void selectNewListRow() override { ++selects; }
  void rebuild() override { ++rebuilds; }
};

struct FakeNotifier : NewsNotifier {
  std::vector<std::string> texts;  // title, then text
  void announce(const std::string& title, const std::string& text) override { texts = {title, text}; ++count; }
  int count = 0;
};

Site site(const std::string& name, const std::string& url, bool checked, const std::string& extract = "") {
  return Site{name, url, extract, checked};
}

std::string page(std::initializer_list<const char*> headlines) {
  std::string p = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=Shift_JIS\r\n\r\n<html>";
  int n = 0;
  for (const char* h : headlines) p += "<a href=\"/n/" + std::to_string(++n) + ".html\">" + h + "</a>\n";
  return p + "</html>";
}

using Strings = std::vector<std::string>;

struct CycleFixture : EngineFixture {
  FakeFetcher fetcher;
  FakeTimer timer;
  FakeSound sound;
  FakeLogSwitcher logs;
  FakeTimer saveTimer;
  FakeNotifier notifier;
  ShownLog shown;
  CheckCycle cycle{ctx, CyclePorts{&fetcher, &timer, &sound, &logs, &saveTimer, &notifier, {}, {}, {}}, shown};

  void sites(const std::vector<Site>& list) { ASSERT_TRUE(writeAllSites(ctx.appDir + kSiteFileName, list)); }
  // The fetch in flight ends with this page.
  void receive(const std::string& bytes) {
    ASSERT_TRUE(fetcher.open);
    writePage(bytes);
    fetcher.open = false;
    fetcher.listener->fetchReceived();
  }
  void fail(const std::string& text) {
    ASSERT_TRUE(fetcher.open);
    fetcher.open = false;
    ui.setStatus(1, text);
    fetcher.listener->fetchFailed(text);
  }
  std::vector<std::string> headlines() const {
    std::vector<std::string> out;
    for (const auto& r : news.rows) out.push_back(r.columns[0]);
    return out;
  }
  bool newListSaved() const { return isPlainFile(newListPath(ctx)); }
  // The headlines the new-list file holds now, as a restart would find them.
  Strings savedHeadlines() {
    test::FakeNewsList reloaded;
    EngineContext c = ctx;
    c.news = &reloaded;
    loadNewList(c);
    Strings out;
    for (const auto& r : reloaded.rows) out.push_back(r.columns[0]);
    return out;
  }
};


TEST(CheckCycle, EmptySiteFileEndsAtOnce) {
  CycleFixture f;
  f.sites({});
  f.setSetting("SOUND", "1");
  f.ui.status[0] = f.ui.status[1] = "old";
  f.cycle.start();
  EXPECT_TRUE(f.fetcher.begun.empty());
  EXPECT_TRUE(f.sound.played.empty());
  EXPECT_EQ(f.ui.status[0], "");
  EXPECT_EQ(f.ui.status[1], "");
  EXPECT_TRUE(f.newListSaved());
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_TRUE(f.timer.armed);
  EXPECT_EQ(f.timer.period, 600000);
}

TEST(CheckCycle, UncheckedSitesAreNeverFetched) {
  CycleFixture f;
  // "nochk" and "check" are not "CHECK".
  test::writeBytes(f.ctx.appDir + kSiteFileName,
                   "a\r\nhttp://a/\r\n\r\nNOCHK\r\nb\r\nhttp://b/\r\n\r\nnochk\r\nc\r\nhttp://c/\r\n\r\ncheck\r\n");
  f.cycle.start();
  EXPECT_TRUE(f.fetcher.begun.empty());
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_TRUE(f.timer.armed);
  EXPECT_EQ(f.cycle.siteCursor(), 0);
}

TEST(CheckCycle, WalksCheckedSitesInOrderAndReportsNews) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", false), site("C", "http://c/", true)});
  f.setSetting("SOUND", "1");
  test::writeBytes(f.dir.file(kSoundFileName), "RIFF");
  f.cycle.start();
  EXPECT_FALSE(f.cycle.idle());
  EXPECT_FALSE(f.timer.armed);
  EXPECT_EQ(f.ui.status[0], "A");
  f.receive(page({"first headline of A"}));
  EXPECT_EQ(f.fetcher.begun, (Strings{"http://a/", "http://c/"}));
  EXPECT_EQ(f.ui.status[0], "C");
  f.receive(page({"first headline of C", "second headline of C"}));
  EXPECT_EQ(f.headlines(), (Strings{"second headline of C", "first headline of C", "first headline of A"}));
  EXPECT_EQ(f.news.rows[0].columns[1], "C");
  EXPECT_EQ(f.sound.played, Strings{f.dir.file(kSoundFileName)});
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_TRUE(f.timer.armed);
  EXPECT_EQ(f.ui.status[0], "");
  EXPECT_EQ(f.ui.status[1], "");
  // The new-list file holds the three rows.
  test::FakeNewsList reloaded;
  EngineContext ctx = f.ctx;
  ctx.news = &reloaded;
  loadNewList(ctx);
  EXPECT_EQ(reloaded.count(), 3);
}

TEST(CheckCycle, NewsIsSavedDuringTheCycleAtMostOnceAGap) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true), site("C", "http://c/", true),
           site("D", "http://d/", true)});
  f.cycle.start();
  f.receive(page({"headline of A"}));
  // Saved at once: a kill now loses nothing.
  EXPECT_EQ(f.savedHeadlines(), Strings{"headline of A"});
  EXPECT_TRUE(f.saveTimer.armed);
  EXPECT_EQ(f.saveTimer.period, kNewListSaveGapMs);
  f.receive(page({"headline of B"}));
  EXPECT_EQ(f.savedHeadlines(), Strings{"headline of A"});  // within the gap
  f.cycle.saveTimerTicked();
  EXPECT_EQ(f.savedHeadlines(), (Strings{"headline of B", "headline of A"}));
  EXPECT_TRUE(f.saveTimer.armed);
  f.cycle.saveTimerTicked();  // nothing new came: the timer rests
  EXPECT_FALSE(f.saveTimer.armed);
  f.receive(page({"headline of C"}));
  EXPECT_EQ(f.savedHeadlines(), (Strings{"headline of C", "headline of B", "headline of A"}));
  f.receive(page({"headline of D"}));
  EXPECT_EQ(f.savedHeadlines().size(), 4u);  // the cycle's end saves as before
  EXPECT_FALSE(f.saveTimer.armed);
}

TEST(CheckCycle, NoSoundWithoutNewsOrWithoutTheSettingOrTheFile) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true)});
  test::writeBytes(f.dir.file(kSoundFileName), "RIFF");
  f.cycle.start();
  f.receive(page({"news without the sound setting"}));
  f.setSetting("SOUND", "1");
  f.cycle.start();
  f.receive(page({"news without the sound setting"}));  // nothing new
  removeFile(f.dir.file(kSoundFileName));
  f.cycle.start();
  f.receive(page({"news but no sound file"}));
  EXPECT_TRUE(f.sound.played.empty());
  EXPECT_EQ(f.news.count(), 2);
}

TEST(CheckCycle, ACycleThatBroughtNewsIsAnnouncedOnceAtItsEnd) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true), site("C", "http://c/", true)});
  f.cycle.start();
  f.receive(page({"headline one of A"}));
  f.fail("ソケットエラー");
  f.receive(page({"headline one of C", "headline two of C", "headline three of C"}));
  ASSERT_EQ(f.notifier.count, 1);
  EXPECT_EQ(f.notifier.texts, (Strings{"新着ニュース 4件",
                                       "【C】headline three of C\n【C】headline two of C\n【C】headline one of C\n"
                                       "ほか 1件\n※B: ソケットエラー"}));
  // Nothing new: no notice.
  f.cycle.start();
  f.receive(page({"headline one of A"}));
  f.receive(page({}));
  f.receive(page({"headline one of C", "headline two of C", "headline three of C"}));
  EXPECT_EQ(f.notifier.count, 1);
  // Notices turned off.
  f.setSetting("NOTIFY", "0");
  f.cycle.start();
  f.receive(page({"headline two of A"}));
  f.receive(page({}));
  f.receive(page({"headline four of C"}));
  EXPECT_EQ(f.notifier.count, 1);
  EXPECT_EQ(f.news.count(), 6);
}

TEST(CheckCycle, CheckDuringAFetchStopsTheCycle) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true)});
  f.setSetting("SHOWSTYLE", "1");
  f.news.insertTop("left from before", kIconNew);
  f.cycle.start();
  EXPECT_EQ(f.news.count(), 0);  // emptied by SHOWSTYLE 1
  f.news.insertTop("arrived meanwhile", kIconNew);
  f.cycle.start();
  EXPECT_EQ(f.news.count(), 0);  // steps before the fetch check still run
  EXPECT_EQ(f.fetcher.closes, 1);
  EXPECT_FALSE(f.fetcher.open);
  EXPECT_EQ(f.fetcher.begun.size(), 1u);
  EXPECT_EQ(f.ui.status[0], "");
  EXPECT_EQ(f.ui.status[1], "");
  EXPECT_FALSE(f.timer.armed);
  EXPECT_FALSE(f.cycle.idle());
  EXPECT_FALSE(f.newListSaved());

  // From the Stopped state a new check starts again at record 1.
  f.cycle.start();
  EXPECT_EQ(f.fetcher.begun, (Strings{"http://a/", "http://a/"}));
  f.receive(page({"headline from A"}));
  f.receive(page({"headline from B"}));
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_TRUE(f.timer.armed);
}

TEST(CheckCycle, AgeingAtEveryStartKeepsKeywordMarks) {
  CycleFixture f;
  f.sites({});
  f.news.insertTop("opened", kIconOpened);
  f.news.insertTop("keyword", kIconKeyword);
  f.news.insertTop("new", kIconNew);
  f.news.insertTop("log row", kIconNone);
  f.cycle.start();
  ASSERT_EQ(f.news.count(), 4);  // SHOWSTYLE 0 keeps the list
  EXPECT_EQ(f.news.rows[0].icon, kIconNone);
  EXPECT_EQ(f.news.rows[1].icon, kIconOld);
  EXPECT_EQ(f.news.rows[2].icon, kIconKeyword);
  EXPECT_EQ(f.news.rows[3].icon, kIconOpened);
  EXPECT_EQ(f.news.rows[1].columns[0], "new");
}

TEST(CheckCycle, AFailingSiteNoLongerEndsTheCycle) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true), site("C", "ftp://c/", true),
           site("D", "http://d/", true)});
  f.setSetting("SOUND", "1");
  test::writeBytes(f.dir.file(kSoundFileName), "RIFF");
  f.cycle.start();
  f.receive(page({"news from A arrives"}));
  f.fail("ソケットエラー");
  // C is refused without a fetch; D is fetched next.
  EXPECT_EQ(f.fetcher.begun, (Strings{"http://a/", "http://b/", "ftp://c/", "http://d/"}));
  f.receive(page({"news from D arrives"}));
  EXPECT_EQ(f.news.count(), 2);
  EXPECT_EQ(f.sound.played.size(), 1u);
  EXPECT_TRUE(f.newListSaved());
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_TRUE(f.timer.armed);
  // The last failure stays in the status bar.
  EXPECT_EQ(f.ui.status[0], "C");
  EXPECT_EQ(f.ui.status[1], kMsgBadUrl);
}

TEST(CheckCycle, ARedirectedPageIsReadAgainstItsFinalUrlAndAMoveIsReported) {
  CycleFixture f;
  f.sites({site("A", "http://a.example/news/", true), site("B", "http://b.example/", true)});
  f.cycle.start();
  f.fetcher.page.finalUrl = "https://a.example/top/news/index.html";
  f.fetcher.page.movedTo = "https://a.example/top/news/";
  f.receive(page({"moved headline of A"}));
  EXPECT_EQ(f.ui.status[1], std::string(kMsgSiteMoved) + "https://a.example/top/news/");
  f.fetcher.page.finalUrl = "http://b.example/today/";
  f.fetcher.page.movedTo = "";
  f.receive(page({"headline of B, today"}));
  ASSERT_EQ(f.news.count(), 2);
  EXPECT_EQ(f.news.rows[1].columns[2], "https://a.example/n/1.html");
  EXPECT_EQ(f.news.rows[0].columns[2], "http://b.example/n/1.html");
  // The move stays in the status bar at the cycle's end.
  EXPECT_EQ(f.ui.status[0], "A");
  EXPECT_EQ(f.ui.status[1], std::string(kMsgSiteMoved) + "https://a.example/top/news/");
}

TEST(CheckCycle, AFetchFailingAtOnceGoesOnWithTheNextSite) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true)});
  f.fetcher.next = FetchBegin{FetchStart::kFailed, "リモートサーバへの接続に失敗しました。"};
  f.cycle.start();
  EXPECT_EQ(f.fetcher.begun.size(), 2u);
  f.receive(page({"headline from B"}));
  EXPECT_EQ(f.ui.status[0], "A");
  EXPECT_EQ(f.ui.status[1], "リモートサーバへの接続に失敗しました。");
  EXPECT_TRUE(f.timer.armed);
}

TEST(CheckCycle, NoSocketStopsTheCycle) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true)});
  f.fetcher.next = FetchBegin{FetchStart::kNoSocket, ""};
  f.cycle.start();
  EXPECT_EQ(f.fetcher.begun.size(), 1u);
  EXPECT_FALSE(f.timer.armed);
  EXPECT_FALSE(f.cycle.idle());
}

TEST(CheckCycle, AFailedCheckBetweenTwoGoodOnesReportsNothingOldAsNew) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true)});
  f.cycle.start();
  f.receive(page({"first story of the day", "second story of the day"}));
  ASSERT_EQ(f.news.count(), 2);
  f.cycle.start();
  f.fail("受信エラー");
  f.cycle.start();
  f.receive(page({"first story of the day", "second story of the day", "third story of the day"}));
  EXPECT_EQ(f.headlines(), (Strings{"third story of the day", "second story of the day", "first story of the day"}));
  // The all-links log has each headline once.
  std::string all = test::readBytes(siteLogPaths(f.ctx, "A").all);
  EXPECT_EQ(all.find("first story"), all.rfind("first story"));
}

TEST(CheckCycle, SiteFileShortenedDuringAFetch) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true)});
  f.cycle.start();
  f.sites({});
  f.receive(page({"headline nobody scans"}));
  EXPECT_EQ(f.news.count(), 0);
  EXPECT_TRUE(f.ui.messages.empty());  // no scan, so no detection warning
  EXPECT_EQ(f.fetcher.begun.size(), 1u);
  EXPECT_TRUE(f.cycle.idle());
}

TEST(CheckCycle, ShownSiteLogGivesWayToTheNewList) {
  CycleFixture f;
  f.sites({});
  f.news.insertTop("saved row", kIconOld);
  saveNewList(f.ctx);
  f.news.clear();
  f.news.insertTop("a row of a site log", kIconNone);
  f.shown.kind = ShownLog::kSiteLog;
  f.shown.siteLogFile = "A.all.log";
  f.logs.open = true;
  f.cycle.start();
  EXPECT_TRUE(f.shown.isNewList());
  EXPECT_EQ(f.headlines(), Strings{"saved row"});
  EXPECT_EQ(f.logs.selects, 1);
  EXPECT_EQ(f.logs.rebuilds, 1);
}

struct WizardListener : FetchListener {
  int received = 0;
  std::vector<std::string> failures;
  void fetchReceived() override { ++received; }
  void fetchFailed(const std::string& text) override { failures.push_back(text); }
};

TEST(CheckCycle, WizardFetchesNeverReachThePageScan) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true)});
  WizardListener wizard;
  ASSERT_TRUE(wizardFetch(f.fetcher, wizard, f.ui, "http://w/"));
  f.receive(page({"a headline of the wizard's page"}));
  EXPECT_EQ(wizard.received, 1);
  EXPECT_EQ(f.news.count(), 0);
  ASSERT_TRUE(wizardFetch(f.fetcher, wizard, f.ui, "http://w/"));
  f.fail("ソケットエラー");
  EXPECT_EQ(wizard.failures, Strings{"ソケットエラー"});
  EXPECT_EQ(f.fetcher.begun, (Strings{"http://w/", "http://w/"}));
  EXPECT_TRUE(f.cycle.idle());
  // A cycle start takes the fetcher back.
  f.cycle.start();
  EXPECT_EQ(f.fetcher.listener, &f.cycle);
}

TEST(CheckCycle, APageWithoutLinksIsReportedAtTheEndAndStopsNothing) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true)});
  f.cycle.start();
  f.receive("HTTP/1.0 200 OK\r\n\r\nno links at all");
  EXPECT_TRUE(f.ui.messages.empty());  // no box waits for the user
  EXPECT_EQ(f.fetcher.begun, (Strings{"http://a/", "http://b/"}));
  f.receive(page({"headline from B"}));
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_EQ(f.news.count(), 1);
  EXPECT_EQ(f.ui.status[0], "A");
  EXPECT_EQ(f.ui.status[1], kMsgDetectFailed);
}

// Stand-ins for a file held open by another program, a full disk or a
// read-only folder: a directory with something in it where the file goes
// can be neither removed, replaced, opened nor written.
void blockWith(const std::string& path) {
  ASSERT_TRUE(makeDirectory(path));
  test::writeBytes(joinPath(path + kPathSep, "x"), "x");
}

std::string logFile(const char* name) { return std::string("LOG") + kPathSep + name; }

TEST(CheckCycle, FileFailuresFailTheirStepAndTheCycleGoesOn) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true), site("B", "http://b/", true), site("C", "http://c/", true)});
  // A's all-links log cannot be written; B's site log cannot be moved aside.
  blockWith(siteLogPaths(f.ctx, "A").all);
  test::writeBytes(siteLogPaths(f.ctx, "B").current, "old headline\r\nu\r\n");
  blockWith(siteLogPaths(f.ctx, "B").previous);
  f.cycle.start();
  f.receive(page({"headline from A"}));
  // B is not fetched: its old links would have come back as new.
  EXPECT_EQ(f.fetcher.begun, (Strings{"http://a/", "http://c/"}));
  f.receive(page({"headline from C"}));
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_TRUE(f.ui.messages.empty());  // no box, for any number of rows
  EXPECT_EQ(f.headlines(), (Strings{"headline from C", "headline from A"}));
  EXPECT_EQ(f.savedHeadlines(), f.headlines());
  EXPECT_EQ(f.ui.status[0], "B");
  EXPECT_EQ(f.ui.status[1], "ファイルに書き込めません: " + logFile("B.log"));
  EXPECT_TRUE(f.timer.armed);
}

TEST(CheckCycle, ANewsListThatCannotBeSavedKeepsItsRowsForTheNextSave) {
  CycleFixture f;
  f.sites({site("A", "http://a/", true)});
  blockWith(newListPath(f.ctx));
  f.cycle.start();
  f.receive(page({"first headline"}));
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_EQ(f.ui.status[1], "ファイルに書き込めません: " + logFile("新着リスト.all.log"));
  EXPECT_EQ(f.headlines(), (Strings{"first headline"}));
  // Freed: the next check saves what the first one brought as well.
  ASSERT_TRUE(removeFile(joinPath(newListPath(f.ctx) + kPathSep, "x")));
  ASSERT_TRUE(removeFile(newListPath(f.ctx)));
  f.cycle.start();
  f.receive(page({"first headline", "second headline"}));
  EXPECT_EQ(f.savedHeadlines(), (Strings{"second headline", "first headline"}));
}

TEST(CheckCycle, ASiteFileThatCannotBeReadEndsTheCycleNotTheProgram) {
  CycleFixture f;
  f.cycle.start();
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_EQ(f.ui.status[1], std::string("ファイルが開けません: ") + kSiteFileName);
  EXPECT_TRUE(f.timer.armed);
  // Back again: the next check runs.
  f.sites({site("A", "http://a/", true)});
  f.cycle.start();
  EXPECT_EQ(f.fetcher.begun, (Strings{"http://a/"}));
}

std::string rss(int first, int last) {
  std::string body = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><rss version=\"2.0\"><channel><title>t</title>";
  for (int n = last; n >= first; --n)
    body += "<item><title>feed item number " + std::to_string(n) + "</title><link>http://f/" + std::to_string(n) +
            "</link></item>";
  return "HTTP/1.0 200 OK\r\nContent-Type: application/rss+xml\r\n\r\n" + body + "</channel></rss>";
}

TEST(CheckCycle, AFeedThatAnswersWithAPageBringsNothingAndNothingOldWhenItComesBack) {
  CycleFixture f;
  f.sites({site("F", "http://f/rss", true, "http"), site("P", "http://p/", true)});
  f.cycle.start();
  f.receive(rss(1, 10));
  f.receive(page({"a page headline"}));
  ASSERT_EQ(f.news.count(), 11);

  // The feed's server shows a maintenance page; the page site turns into a feed.
  f.cycle.start();
  f.receive("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><link rel=stylesheet href=/m.css>"
            "<a href=\"http://f/\">トップページへ戻る</a></html>");
  EXPECT_EQ(f.ui.status[1], kMsgFeedAnsweredPage);
  f.receive(rss(1, 2));
  EXPECT_TRUE(f.cycle.idle());
  EXPECT_EQ(f.news.count(), 11);
  EXPECT_EQ(f.ui.status[0], "P");
  EXPECT_EQ(f.ui.status[1], kMsgPageAnsweredFeed);

  // Back: only the feed's new item is new.
  f.cycle.start();
  f.receive(rss(1, 11));
  f.receive(page({"a page headline", "another page headline"}));
  EXPECT_EQ(f.news.count(), 13);
  EXPECT_EQ(f.headlines()[0], "another page headline");
  EXPECT_EQ(f.headlines()[1], "feed item number 11");

  // The page site's address changed to its feed (as the wizard does): read.
  f.sites({site("F", "http://f/rss", true, "http"), site("P", "http://p/feed", true, "http")});
  f.cycle.start();
  f.receive(rss(1, 11));
  f.receive(rss(20, 20));
  EXPECT_EQ(f.headlines()[0], "feed item number 20");
}

TEST(CheckCycle, IntervalPeriods) {
  EXPECT_EQ(intervalPeriodMs("5", kMaxTimerPeriodMs), 300000);
  EXPECT_EQ(intervalPeriodMs("120", kMaxTimerPeriodMs), 7200000);
  EXPECT_EQ(intervalPeriodMs("0", kMaxTimerPeriodMs), 60000);
  EXPECT_EQ(intervalPeriodMs("-3", kMaxTimerPeriodMs), 60000);
  EXPECT_EQ(intervalPeriodMs("abc", kMaxTimerPeriodMs), 60000);
  EXPECT_EQ(intervalPeriodMs(" 7x", kMaxTimerPeriodMs), 420000);
  EXPECT_EQ(intervalPeriodMs("999999999", kMaxTimerPeriodMs), kMaxTimerPeriodMs);
  CycleFixture f;
  f.cycle.setIntervalText("5");
  f.cycle.armTimer();
  EXPECT_EQ(f.timer.period, 300000);
}

}  // namespace
}  // namespace ls
