// The check cycle with several fetches at once, over a real site file and
// page files: whatever order the fetches end in, the news list, the logs and
// the end-of-check notes are those of a check of one site after another.
#include <gtest/gtest.h>

#include <map>

#include "common/file_io.h"
#include "engine/check_cycle.h"
#include "engine/site_log.h"
#include "sites/site_file.h"
#include "test_support.h"

namespace ls {
namespace {

struct SlotFetcher : Fetcher {
  std::string url;  // of the fetch in flight, empty when none
  FetchListener* listener = nullptr;
  FetchedPage page;
  bool inFlight() const override { return !url.empty(); }
  using Fetcher::begin;
  FetchBegin begin(const std::string& u, FetchListener& who, const Validators&) override {
    url = u;
    listener = &who;
    return FetchBegin{};
  }
  void close() override { url.clear(); }
  FetchedPage fetchedPage() const override { return page; }
};


std::string pageOf(const std::string& site, int count) {
  std::string p = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=Shift_JIS\r\n\r\n<html>";
  for (int n = 1; n <= count; ++n)
    p += "<a href=\"/" + site + "/" + std::to_string(n) + ".html\">" + site + "の見出し" + std::to_string(n) + "</a>\n";
  return p + "</html>";
}

// One check of `sites` at PARALLEL=`parallel`, the fetches ending in the
// order `ends` gives (URLs; "fail:" before one fails it with a time-out).
struct Check : test::EngineFixture {
  SlotFetcher wizard;
  std::vector<SlotFetcher> slots = std::vector<SlotFetcher>(4);
  test::NoTimer timer, saveTimer;
  test::NoSound sound;
  ClosedLogSwitcher logs;
  ShownLog shown;
  std::unique_ptr<CheckCycle> cycle;
  int most = 0;  // fetches in flight at once

  Check(const std::vector<Site>& sites, int parallel, const std::string& list = "500") {
    EXPECT_TRUE(writeAllSites(ctx.appDir + kSiteFileName, sites));
    setSetting("PARALLEL", std::to_string(parallel));
    setSetting("LIST", list);
    std::vector<Fetcher*> more;
    for (SlotFetcher& f : slots) more.push_back(&f);
    cycle = std::make_unique<CheckCycle>(ctx, CyclePorts{&wizard, &timer, &sound, &logs, &saveTimer, nullptr, {}, more, {}},
                                         shown);
  }
  int inFlight() const {
    int n = 0;
    for (const SlotFetcher& f : slots) n += f.inFlight() ? 1 : 0;
    return n;
  }
  // Ends the fetch of `url` (in flight now) with its page, or fails it.
  bool end(const std::string& url, bool fail = false) {
    most = std::max(most, inFlight());
    for (std::size_t k = 0; k < slots.size(); ++k) {
      SlotFetcher& f = slots[k];
      if (f.url != url) continue;
      std::string host = url.substr(7, url.find('/', 7) - 7);
      if (!fail) test::writeBytes(slotPageFile(ctx, static_cast<int>(k) + 1), pageOf(host, 3));
      f.url.clear();
      if (fail) {
        f.listener->fetchFailed("タイムアウトしました。");
      } else {
        f.listener->fetchReceived();
      }
      return true;
    }
    return false;
  }
  // Runs the check to its end: each step ends the first fetch in flight
  // that `order` names (so with one slot the order is the file's).
  void run(const std::vector<std::string>& order, const std::string& failing) {
    cycle->start();
    for (int guard = 0; !cycle->idle() && guard < 100; ++guard) {
      bool ended = false;
      for (const std::string& url : order)
        if (end(url, url == failing)) {
          ended = true;
          break;
        }
      ASSERT_TRUE(ended) << "nothing in flight and the check not over";
    }
    ASSERT_TRUE(cycle->idle());
  }
  std::vector<std::string> files() {
    std::vector<std::string> out{fileBytesOr(joinPath(ctx.appDir, "LOG", "新着リスト.all.log"))};
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
      out.push_back(fileBytesOr(siteLogPaths(ctx, name).current));
      out.push_back(fileBytesOr(siteLogPaths(ctx, name).previous));
      out.push_back(fileBytesOr(siteLogPaths(ctx, name).all));
    }
    out.push_back(ui.status[0]);
    out.push_back(ui.status[1]);
    return out;
  }
  static std::string fileBytesOr(const std::string& path) { return readWholeFile(path).value_or("<none>"); }
  std::vector<std::string> headlines() const {
    std::vector<std::string> out;
    for (const auto& r : news.rows) out.push_back(r.columns[0]);
    return out;
  }
};

std::vector<Site> sixSites() {
  // Runs of one host, as site lists have them; e's log is shared with b's.
  return {{"a", "http://h1/a", "", true}, {"b", "http://h1/b", "", true}, {"c", "http://h2/c", "", true},
          {"d", "http://h3/d", "", true}, {"b", "http://h4/e", "", true}, {"f", "http://h5/f", "", true}};
}

const std::vector<std::string> kReverse = {"http://h5/f", "http://h4/e", "http://h3/d",
                                           "http://h2/c", "http://h1/b", "http://h1/a"};

struct Case {
  const char* name;
  std::string failing;  // the silent site that times out, or the one that fails
  std::string list;     // LIST: the cap of the news list
};

TEST(CheckCycleParallel, AnyEndOrderGivesTheFilesOfOneAfterAnother) {
  const Case cases[] = {
      {"all good", "", "500"},
      {"a failing site in the middle", "http://h3/d", "500"},
      {"the first site silent until its time-out", "http://h1/a", "500"},
      {"the list's cap reached mid-check", "http://h2/c", "7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Check one(sixSites(), 1, c.list);
    one.run(kReverse, c.failing);
    Check four(sixSites(), 4, c.list);
    four.run(kReverse, c.failing);
    EXPECT_EQ(one.most, 1);
    EXPECT_GE(four.most, 3);
    EXPECT_EQ(four.headlines(), one.headlines());
    EXPECT_EQ(four.files(), one.files());
    EXPECT_FALSE(one.headlines().empty());
    // Nothing waits in the temporary folder once the check is over.
    for (int r = 1; r <= 6; ++r)
      EXPECT_FALSE(isPlainFile(joinPath(four.ctx.appDir, "TEMPORARY", "wait" + std::to_string(r) + ".html")));
  }
}

TEST(CheckCycleParallel, NeverTwoToOneHostNorTwoOfOneLog) {
  Check four(sixSites(), 4);
  four.cycle->start();
  std::vector<std::string> begun;
  for (const SlotFetcher& f : four.slots)
    if (f.inFlight()) begun.push_back(f.url);
  // h1/b waits for h1/a; e (log "b") waits for b.
  EXPECT_EQ(begun, (std::vector<std::string>{"http://h1/a", "http://h2/c", "http://h3/d", "http://h5/f"}));
  EXPECT_EQ(four.ui.status[0], "ニュース確認中 0/6");
  four.end("http://h2/c");
  EXPECT_EQ(four.ui.status[0], "ニュース確認中 0/6");  // c waits for a and b
  four.end("http://h1/a");
  EXPECT_EQ(four.ui.status[0], "ニュース確認中 1/6");
  EXPECT_TRUE(four.slots[0].url == "http://h1/b" || four.slots[1].url == "http://h1/b" ||
              four.slots[2].url == "http://h1/b" || four.slots[3].url == "http://h1/b");
  // The wizard's fetcher is never taken by the check.
  EXPECT_FALSE(four.wizard.inFlight());
}

TEST(CheckCycleParallel, StopDropsThePagesWaitingForTheirTurn) {
  Check four(sixSites(), 4);
  four.cycle->start();
  four.end("http://h5/f");
  four.end("http://h3/d");
  EXPECT_TRUE(isPlainFile(joinPath(four.ctx.appDir, "TEMPORARY", "wait6.html")));
  four.cycle->stop();
  EXPECT_EQ(four.inFlight(), 0);
  EXPECT_FALSE(isPlainFile(joinPath(four.ctx.appDir, "TEMPORARY", "wait6.html")));
  EXPECT_FALSE(isPlainFile(joinPath(four.ctx.appDir, "TEMPORARY", "wait4.html")));
  EXPECT_TRUE(four.news.rows.empty());
}

}  // namespace
}  // namespace ls
