// The order of a check that fetches several sites at once, with fetches
// that end when the test says: results in the site file's order whatever
// the order the fetches end in, one fetch per host, at most `parallel`.
#include "engine/check_schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <set>

namespace ls {
namespace {

struct Site {
  std::string host;
  int rows;            // headlines it brings
  bool fails = false;  // its fetch fails: a note, no rows
};

// A check as the cycle would run it: offer sites in file order while the
// schedule has room, start what it says, end fetches in the order `pickEnd`
// picks, hand over. The results build a news list capped at `cap` rows (new
// rows at the top) and the note of the last failure, as the cycle does.
struct Check {
  std::vector<std::string> list;
  std::string lastFailure;
  std::vector<int> order;
  std::vector<std::string> starts;
  int maxInFlight = 0;
  bool twoOfOneHost = false;
};

Check run(const std::vector<Site>& sites, int parallel, std::size_t cap,
          const std::function<std::size_t(const std::vector<int>&)>& pickEnd) {
  Check c;
  CheckSchedule s(parallel);
  std::size_t offered = 0;
  std::vector<int> flying;
  auto fill = [&] {
    for (;;) {
      // Read ahead as far as the slots need, never the whole list at once.
      while (offered < sites.size() && s.owed() < parallel * 2) {
        ++offered;
        s.offer(static_cast<int>(offered), sites[offered - 1].host);
      }
      std::optional<int> next = s.next();
      if (!next) return;
      for (int f : flying)
        if (sites[f - 1].host == sites[*next - 1].host) c.twoOfOneHost = true;
      flying.push_back(*next);
      c.starts.push_back(sites[*next - 1].host);
      c.maxInFlight = std::max(c.maxInFlight, s.inFlight());
    }
  };
  fill();
  while (!flying.empty()) {
    std::size_t at = pickEnd(flying);
    int record = flying[at];
    flying.erase(flying.begin() + static_cast<std::ptrdiff_t>(at));
    const Site& site = sites[record - 1];
    s.ended(record, [&c, &site, record, cap] {
      c.order.push_back(record);
      if (site.fails) {
        c.lastFailure = site.host;
        return;
      }
      for (int i = 0; i < site.rows; ++i) c.list.insert(c.list.begin(), site.host + "#" + std::to_string(i));
      if (c.list.size() > cap) c.list.resize(cap);
    });
    s.handOver();
    fill();
  }
  EXPECT_EQ(s.owed(), 0);
  return c;
}

std::size_t first(const std::vector<int>&) { return 0; }
std::size_t last(const std::vector<int>& f) { return f.size() - 1; }

std::vector<Site> presets() {
  // Runs of pages of one host, as the preset list holds them.
  std::vector<Site> sites;
  for (int i = 0; i < 6; ++i) sites.push_back({"news.a.example", 3 + i});
  for (int i = 0; i < 9; ++i) sites.push_back({"b.example", 2, i == 4});
  for (int i = 0; i < 20; ++i) sites.push_back({"host" + std::to_string(i) + ".example", i % 5});
  return sites;
}

TEST(CheckSchedule, AnyEndOrderGivesTheOneAfterAnotherResult) {
  std::vector<Site> sites = presets();
  Check sequential = run(sites, 1, 40, first);
  std::vector<int> expected(sites.size());
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<int>(i + 1);
  EXPECT_EQ(sequential.order, expected);

  std::mt19937 random(7);
  for (int parallel : {2, 6, 16}) {
    for (auto pick : std::vector<std::function<std::size_t(const std::vector<int>&)>>{
             first, last, [&](const std::vector<int>& f) { return random() % f.size(); }}) {
      Check c = run(sites, parallel, 40, pick);
      EXPECT_EQ(c.order, expected) << parallel;
      // The list cap is reached mid-check; the rows cut are the same.
      EXPECT_EQ(c.list, sequential.list) << parallel;
      EXPECT_EQ(c.lastFailure, "b.example");
      EXPECT_FALSE(c.twoOfOneHost);
      EXPECT_LE(c.maxInFlight, parallel);
    }
  }
}

TEST(CheckSchedule, AFreeSlotTakesAnotherHostRatherThanWait) {
  std::vector<Site> sites = {{"a", 1}, {"a", 1}, {"a", 1}, {"b", 1}, {"c", 1}, {"a", 1}, {"d", 1}};
  Check c = run(sites, 3, 100, last);
  EXPECT_EQ(c.starts[0], "a");
  EXPECT_EQ(c.starts[1], "b");
  EXPECT_EQ(c.starts[2], "c");
  EXPECT_EQ(c.maxInFlight, 3);
  EXPECT_FALSE(c.twoOfOneHost);
  EXPECT_EQ(c.order, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

// A silent site holds back the results after it, not the fetches: they go
// on in the other slots, and everything is handed over once it times out.
TEST(CheckSchedule, ASilentSiteHoldsResultsNotFetches) {
  CheckSchedule s(3);
  s.offer(1, "silent");
  for (int r = 2; r <= 5; ++r) s.offer(r, "h" + std::to_string(r));
  std::vector<int> ran;
  EXPECT_EQ(s.next(), 1);
  EXPECT_EQ(s.next(), 2);
  EXPECT_EQ(s.next(), 3);
  EXPECT_EQ(s.next(), std::nullopt);  // three in flight
  s.ended(3, [&] { ran.push_back(3); });
  s.ended(2, [&] { ran.push_back(2); });
  EXPECT_EQ(s.handOver(), 0);
  EXPECT_EQ(s.next(), 4);
  EXPECT_EQ(s.next(), 5);
  s.ended(5, [&] { ran.push_back(5); });
  s.ended(4, [&] { ran.push_back(4); });
  EXPECT_EQ(s.handOver(), 0);
  EXPECT_TRUE(ran.empty());
  s.ended(1, [&] { ran.push_back(1); });  // the time-out
  EXPECT_EQ(s.handOver(), 5);
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(s.inFlight(), 0);
}

TEST(CheckSchedule, ParallelSettingAndProgressText) {
  struct Row {
    const char* text;
    int parallel;
  } rows[] = {{"6", 6}, {"1", 1}, {"16", 16}, {"17", 16}, {"0", 1}, {" 3 ", 3}, {"", 6}, {"x", 6}, {"-2", 6},
              {"99999", 6}};
  for (const Row& r : rows) EXPECT_EQ(parallelOf(r.text), r.parallel) << r.text;
  EXPECT_EQ(msgCheckProgress(123, 500), "ニュース確認中 123/500");
}

}  // namespace
}  // namespace ls
