// The news list's own rows: a deque with the top and the bottom as its cheap
// ends must keep the order a plain vector of rows keeps, at the cap too.
#include <gtest/gtest.h>

#include <random>

#include "engine/news_entry.h"
#include "engine/news_rows.h"
#include "test_support.h"

namespace ls {
namespace {

void expectSame(const NewsRows& rows, const test::FakeNewsList& want, int step) {
  ASSERT_EQ(rows.count(), want.count()) << "step " << step;
  for (int r = 0; r < want.count(); ++r) {
    for (int c = 0; c < 3; ++c) ASSERT_EQ(rows.text(r, c), want.text(r, c)) << "step " << step << " row " << r;
    ASSERT_EQ(rows.icon(r), want.icon(r)) << "step " << step << " row " << r;
  }
}

TEST(NewsRows, EveryOperationKeepsTheOrderOfAPlainList) {
  NewsRows rows;
  test::FakeNewsList want;
  std::mt19937 random(17);
  const int cap = 40;
  for (int step = 0; step < 3000; ++step) {
    int n = want.count();
    int row = n ? static_cast<int>(random() % static_cast<unsigned>(n)) : 0;
    std::string text = "h" + std::to_string(step);
    switch (random() % 8) {
      case 0: case 1: case 2:  // a new headline at the top, then the trim
        for (NewsList* l : {static_cast<NewsList*>(&rows), static_cast<NewsList*>(&want)}) {
          l->insertTop(text, kIconNew);
          l->setText(0, 2, "u" + text);
          trimNewsList(*l, cap);
        }
        break;
      case 3:  // a loaded row at the bottom
        rows.insertRow(n, text, 4);
        want.insertRow(n, text, 4);
        break;
      case 4:
        rows.insertRow(row, text, 1);
        want.insertRow(row, text, 1);
        break;
      case 5:
        if (n) rows.deleteRow(row), want.deleteRow(row);
        break;
      case 6:
        if (n) rows.setIcon(row, 3), want.setIcon(row, 3), rows.setText(row, 1, text), want.setText(row, 1, text);
        break;
      default:
        if (random() % 50 == 0) rows.clear(), want.clear();
        break;
    }
    expectSame(rows, want, step);
  }
}

TEST(NewsRows, RowsThatDoNotExistReadEmptyAndChangeNothing) {
  NewsRows rows;
  rows.insertRow(5, "beyond the bottom goes to the bottom", 0);
  rows.insertRow(-1, "refused", 0);
  rows.setText(3, 0, "x");
  rows.setIcon(-2, 1);
  rows.deleteRow(7);
  ASSERT_EQ(rows.count(), 1);
  EXPECT_EQ(rows.text(0, 0), "beyond the bottom goes to the bottom");
  EXPECT_EQ(rows.text(1, 0), "");
  EXPECT_EQ(rows.text(0, 3), "");
  EXPECT_EQ(rows.icon(4), kIconNone);
  rows.insertTop("negative icon", -3);
  EXPECT_EQ(rows.icon(0), kIconNone);
}

TEST(NewsRows, ABatchAtTheCapKeepsTheNewestOnTopAndRepaintsOnce) {
  test::EngineFixture f;
  f.setSetting("LIST", "3");
  {
    NewsBatch batch(f.ctx);
    for (int i = 1; i <= 5; ++i) {
      std::string url = "http://h/" + std::to_string(i);
      batch.add("headline " + std::to_string(i), url, "site", kIconNew);
    }
    EXPECT_EQ(f.news.repaints, 0);
  }
  EXPECT_EQ(f.news.repaints, 1);
  ASSERT_EQ(f.news.count(), 3);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(f.news.text(r, 0), "headline " + std::to_string(5 - r));
  EXPECT_EQ(f.news.text(2, 2), "http://h/3");
}

}  // namespace
}  // namespace ls
