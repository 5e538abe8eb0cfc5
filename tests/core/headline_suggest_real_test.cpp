// "判別" measured on real news pages: tick 3 (and 2) marked headlines of a
// page at random (fixed seed), take what the proposed strings take, and
// compare with the marked headlines. The pages themselves come from public
// repositories' test suites and are not kept here (tests/data/real_pages
// says where each comes from and how to bring it); the marks are.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "test_support.h"
#include "wizard/headline_suggest.h"
#include "wizard/link_listing.h"

namespace ls {
namespace {

constexpr int kTrialsPerPage = 20;
constexpr unsigned kSeed = 20261208;

std::string marksDir() { return std::string(LINKSCOUT_TEST_DATA_DIR) + "/real_pages/"; }

bool fileExists(const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

// Where the pages are: LINKSCOUT_REAL_PAGES, else the folder that
// scripts/real-pages fills by default, else a real_pages folder in the
// shared folder beside the checkout (where CI finds it, once it is there).
std::string pagesDir() {
  const char* dir = std::getenv("LINKSCOUT_REAL_PAGES");
  if (dir && *dir) return std::string(dir) + "/";
  const std::string data = std::string(LINKSCOUT_TEST_DATA_DIR) + "/../../";
  const std::string built = data + "build/real_pages/";
  const std::string shared = data + "../shared/real_pages/";
  return !fileExists(built + "cnn_main_site.html") && fileExists(shared + "cnn_main_site.html") ? shared : built;
}

std::vector<std::vector<std::string>> readTable(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::stringstream cellStream(line);
    std::string cell;
    while (std::getline(cellStream, cell, '\t')) cells.push_back(cell);
    rows.push_back(std::move(cells));
  }
  return rows;
}

struct Score {
  double precision = 0, recall = 0, f1 = 0;
};

// One trial: tick the first row of each chosen headline, take what the
// strings take (distinct links), compare with the marks.
Score trial(const std::vector<ListedLink>& rows, const std::set<std::string>& marked,
            const std::vector<std::string>& chosen) {
  std::vector<std::size_t> ticked;
  for (const std::string& link : chosen) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (rows[r].link == link) {
        ticked.push_back(r);
        break;
      }
    }
  }
  const std::string strings = suggestHeadlineStrings(rows, ticked);
  std::set<std::string> taken;
  for (const ListedLink& row : rows)
    if (rowTaken(row, strings)) taken.insert(row.link);
  std::size_t hits = 0;
  for (const std::string& link : taken) hits += marked.count(link);
  if (std::getenv("LINKSCOUT_SUGGEST_TRACE")) {
    std::printf("    %s:", strings.c_str());
    for (const std::string& link : taken)
      if (!marked.count(link)) std::printf(" +%s", link.c_str());
    for (const std::string& link : marked)
      if (!taken.count(link)) std::printf(" -%s", link.c_str());
    std::printf("\n");
  }
  for (std::size_t r : ticked) EXPECT_TRUE(rowTaken(rows[r], strings)) << "a ticked link is left out by " << strings;
  Score s;
  s.precision = taken.empty() ? 0 : static_cast<double>(hits) / static_cast<double>(taken.size());
  s.recall = static_cast<double>(hits) / static_cast<double>(marked.size());
  s.f1 = s.precision + s.recall > 0 ? 2 * s.precision * s.recall / (s.precision + s.recall) : 0;
  return s;
}

Score measure(std::size_t ticks) {
  std::map<std::string, std::set<std::string>> marks;
  for (auto& row : readTable(marksDir() + "headlines.tsv"))
    if (row.size() == 2) marks[row[0]].insert(row[1]);
  std::mt19937 random(kSeed);
  Score total;
  int pages = 0;
  std::set<std::string> sites;
  for (auto& page : readTable(marksDir() + "pages.tsv")) {
    if (page.size() < 2) continue;
    const std::string bytes = test::readBytes(pagesDir() + page[0]);
    if (bytes.empty()) {
      ADD_FAILURE() << "missing page " << pagesDir() + page[0];
      continue;
    }
    const std::set<std::string>& marked = marks[page[0]];
    const std::vector<ListedLink> rows = listPageLinks(bytes);
    // A mark the listing no longer holds would be ticked by no trial and
    // missed by every one.
    for (const std::string& link : marked)
      EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const ListedLink& r) { return r.link == link; }))
          << page[0] << " lists no " << link;
    std::vector<std::string> pool(marked.begin(), marked.end());
    Score pageScore;
    for (int t = 0; t < kTrialsPerPage; ++t) {
      std::shuffle(pool.begin(), pool.end(), random);
      Score s = trial(rows, marked, std::vector<std::string>(pool.begin(), pool.begin() + static_cast<long>(ticks)));
      pageScore.precision += s.precision / kTrialsPerPage;
      pageScore.recall += s.recall / kTrialsPerPage;
      pageScore.f1 += s.f1 / kTrialsPerPage;
    }
    std::printf("  %-36s %3zu headlines  P %.3f  R %.3f  F1 %.3f\n", page[0].c_str(), marked.size(),
                pageScore.precision, pageScore.recall, pageScore.f1);
    total.precision += pageScore.precision;
    total.recall += pageScore.recall;
    total.f1 += pageScore.f1;
    ++pages;
    sites.insert(page[1].substr(0, page[1].find(' ')));
  }
  EXPECT_GE(pages, 20);
  if (pages == 0) return total;
  total.precision /= pages;
  total.recall /= pages;
  total.f1 /= pages;
  std::printf("%zu ticked: %d pages, mean P %.3f  R %.3f  F1 %.3f\n", ticks, pages, total.precision, total.recall,
              total.f1);
  return total;
}

bool pagesPresent() {
  auto pages = readTable(marksDir() + "pages.tsv");
  return !pages.empty() && fileExists(pagesDir() + pages[0][0]);
}

TEST(HeadlineSuggestReal, ThreeTickedHeadlinesTakeTheList) {
  if (!pagesPresent()) GTEST_SKIP() << "no real pages in " << pagesDir() << " (scripts/real-pages brings them)";
  // Measured 0.929 (P 0.926, R 0.951) when the strings were chosen by the
  // likely list; the aim is 0.9.
  EXPECT_GE(measure(3).f1, 0.92);
}

TEST(HeadlineSuggestReal, TwoTickedHeadlinesTakeMostOfTheList) {
  if (!pagesPresent()) GTEST_SKIP() << "no real pages in " << pagesDir() << " (scripts/real-pages brings them)";
  // Measured 0.911 (P 0.940, R 0.913); the aim is 0.8.
  EXPECT_GE(measure(2).f1, 0.9);
}

}  // namespace
}  // namespace ls
