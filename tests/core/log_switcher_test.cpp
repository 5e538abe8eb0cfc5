// The log switcher's rules over real files: listing, showing, writing back
// and deleting logs without losing anything.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "engine/site_log.h"
#include "logs/log_switcher.h"
#include "engine/new_list.h"
#include "sites/site_file.h"
#include "test_support.h"

namespace ls {
namespace {

using Strings = std::vector<std::string>;

struct SwitcherFixture : test::EngineFixture {
  ShownLog shown;
  Strings rows;

  void sites(const Strings& names) {
    std::vector<Site> list;
    for (const auto& n : names) list.push_back(Site{n, "http://h/", "", true});
    ASSERT_TRUE(writeAllSites(ctx.appDir + kSiteFileName, list));
  }
  void log(const std::string& site, int pairs, const std::string& prefix = "h") {
    std::string bytes;
    for (int i = 1; i <= pairs; ++i) appendLogEntry(bytes, prefix + std::to_string(i), "u" + std::to_string(i));
    test::writeBytes(siteLogPaths(ctx, site).all, bytes);
  }
  void build() { rows = buildLogList(ctx).value(); }
  ShowResult show(int row, bool idle = true) { return showLog(ctx, shown, rows, row, idle); }
  Strings headlines() const {
    Strings out;
    for (const auto& r : news.rows) out.push_back(r.columns[0]);
    return out;
  }
  std::string file(const std::string& site) { return test::readBytes(siteLogPaths(ctx, site).all); }
};

TEST(LogSwitcher, ListsTheNewListAndSitesWithAnAllLinksLog) {
  SwitcherFixture f;
  f.sites({"first", "a/b", "no log yet"});
  f.build();
  EXPECT_EQ(f.rows, Strings{"新着リスト"});
  f.log("a/b", 1);  // stored as a-b.all.log
  f.log("first", 1);
  f.build();
  EXPECT_EQ(f.rows, (Strings{"新着リスト", "first", "a/b"}));
  removeFile(f.ctx.appDir + kSiteFileName);
  EXPECT_FALSE(buildLogList(f.ctx).has_value());
}

TEST(LogSwitcher, ASiteNamedLikeTheNewsListIsListedOnceUnderItsLogName) {
  SwitcherFixture f;
  f.sites({"新着リスト"});
  f.news.insertTop("the news list's row", kIconNew);
  saveNewList(f.ctx);
  f.build();
  EXPECT_EQ(f.rows, Strings{"新着リスト"});
  f.log("新着リスト", 1);
  f.build();
  EXPECT_EQ(f.rows, (Strings{"新着リスト", "新着リスト_"}));
  EXPECT_EQ(f.show(1), ShowResult::kSiteLog);
  EXPECT_EQ(f.headlines(), Strings{"h1"});
  EXPECT_EQ(f.show(0), ShowResult::kNewList);
  EXPECT_EQ(f.headlines(), Strings{"the news list's row"});
}

TEST(LogSwitcher, ShowingASiteLogAndComingBackKeepsBothIntact) {
  SwitcherFixture f;
  f.sites({"S"});
  f.log("S", 2);
  f.build();
  f.news.insertTop("a new headline", kIconNew);
  EXPECT_EQ(f.show(1), ShowResult::kSiteLog);
  EXPECT_EQ(f.headlines(), (Strings{"h2", "h1"}));
  EXPECT_EQ(f.news.rows[0].icon, kIconNone);
  EXPECT_EQ(f.news.rows[0].columns[1], "S");
  // The new-list was saved on the way out.
  EXPECT_NE(test::readBytes(newListPath(f.ctx)).find("a new headline"), std::string::npos);

  EXPECT_EQ(f.show(0), ShowResult::kNewList);
  EXPECT_EQ(f.headlines(), Strings{"a new headline"});
  EXPECT_EQ(f.file("S"), "h1\r\nu1\r\nh2\r\nu2\r\n");  // written back oldest first
  EXPECT_TRUE(f.shown.isNewList());

  // The new-list while shown: saved and loaded back unchanged.
  EXPECT_EQ(f.show(0), ShowResult::kNewList);
  EXPECT_EQ(f.headlines(), Strings{"a new headline"});
}

TEST(LogSwitcher, LookingAtALongLogNeverShortensIt) {
  SwitcherFixture f;
  f.setSetting("LIST", "50");
  f.sites({"S", "T"});
  f.log("S", 80);
  f.log("T", 1, "t");
  std::string before = f.file("S");
  f.build();
  f.show(1);
  EXPECT_EQ(f.news.count(), 50);
  EXPECT_EQ(f.news.rows[0].columns[0], "h80");
  EXPECT_EQ(f.news.rows[49].columns[0], "h31");
  f.show(2);
  EXPECT_EQ(f.file("S"), before);
  EXPECT_EQ(f.headlines(), Strings{"t1"});
}

TEST(LogSwitcher, WhatTheViewChangedBecomesPartOfTheFile) {
  SwitcherFixture f;
  f.setSetting("DISREGARDURL", "u");
  f.sites({"S"});
  f.log("S", 2);
  f.build();
  f.show(1);
  f.show(0);
  EXPECT_EQ(f.file("S"), "h1\r\n1\r\nh2\r\n2\r\n");  // the cleaned URLs
  f.show(1);
  f.news.clear();  // the user clears the list while the log is shown
  f.show(0);
  EXPECT_EQ(f.file("S"), "");
}

TEST(LogSwitcher, ClickingEmptySpaceWritesBackAndKeepsTheRows) {
  SwitcherFixture f;
  f.sites({"S"});
  f.log("S", 2);
  f.build();
  f.show(1);
  f.news.rows[0].columns[0] = "edited";
  EXPECT_EQ(f.show(-1), ShowResult::kNothing);
  EXPECT_EQ(f.headlines(), (Strings{"edited", "h1"}));
  EXPECT_EQ(f.file("S"), "h1\r\nu1\r\nedited\r\nu2\r\n");
  // Nothing is shown now: the next choice neither writes back nor saves.
  std::string newList = test::readBytes(newListPath(f.ctx));
  f.news.rows[0].columns[0] = "changed again";
  f.show(0);
  EXPECT_EQ(f.file("S"), "h1\r\nu1\r\nedited\r\nu2\r\n");
  EXPECT_EQ(test::readBytes(newListPath(f.ctx)), newList);
}

TEST(LogSwitcher, NothingChangesWhileACycleRuns) {
  SwitcherFixture f;
  f.sites({"S"});
  f.log("S", 2);
  f.build();
  f.news.insertTop("cycle row", kIconNew);
  EXPECT_EQ(f.show(1, false), ShowResult::kRefused);
  EXPECT_EQ(f.headlines(), Strings{"cycle row"});
  EXPECT_TRUE(f.shown.isNewList());
  EXPECT_FALSE(isPlainFile(newListPath(f.ctx)));
}

TEST(LogSwitcher, DeletingLogsFollowsTheFileNotTheRow) {
  SwitcherFixture f;
  f.sites({"A", "B", "C"});
  f.log("A", 1, "a");
  f.log("B", 1, "b");
  f.log("C", 2, "c");
  test::writeBytes(siteLogPaths(f.ctx, "A").current, "x\r\ny\r\n");
  f.build();
  f.show(3);  // C is shown
  EXPECT_EQ(deleteLog(f.ctx, f.shown, f.rows, 1), DeleteResult::kDeleted);
  EXPECT_FALSE(isPlainFile(siteLogPaths(f.ctx, "A").all));
  EXPECT_FALSE(isPlainFile(siteLogPaths(f.ctx, "A").current));
  f.build();
  EXPECT_EQ(f.rows, (Strings{"新着リスト", "B", "C"}));
  // Row 2 is C now; switching away writes C back, never into B.
  f.news.rows[0].columns[0] = "c2 seen";
  f.show(1);
  EXPECT_EQ(f.file("C"), "c1\r\nu1\r\nc2 seen\r\nu2\r\n");
  EXPECT_EQ(f.file("B"), "b1\r\nu1\r\n");

  // Deleting the shown log: its files stay deleted.
  EXPECT_EQ(deleteLog(f.ctx, f.shown, f.rows, 1), DeleteResult::kDeleted);
  f.show(0);
  EXPECT_FALSE(isPlainFile(siteLogPaths(f.ctx, "B").all));

  EXPECT_EQ(deleteLog(f.ctx, f.shown, f.rows, 0), DeleteResult::kNewListRefused);
  EXPECT_EQ(f.ui.messages.back(), "新着リストは削除できません。");
  EXPECT_TRUE(isPlainFile(newListPath(f.ctx)));
  EXPECT_EQ(deleteLog(f.ctx, f.shown, f.rows, -1), DeleteResult::kNothing);
}

TEST(LogSwitcher, AnUnreadableLogIsNeverWrittenOver) {
  SwitcherFixture f;
  f.sites({"S"});
  f.log("S", 1);
  f.build();
  removeFile(siteLogPaths(f.ctx, "S").all);
  makeDirectory(siteLogPaths(f.ctx, "S").all);  // cannot be read as a file
  EXPECT_EQ(f.show(1), ShowResult::kReadFailed);
  EXPECT_EQ(f.ui.messages.back(), "ログの読み込みに失敗しました。");
  EXPECT_EQ(f.news.count(), 0);
  f.show(0);
  EXPECT_TRUE(isDirectory(siteLogPaths(f.ctx, "S").all));
}

TEST(LogSwitcher, ANewsListThatCannotBeSavedStaysShownWithItsRows) {
  SwitcherFixture f;
  f.sites({"S"});
  f.log("S", 1);
  f.build();
  f.shown.showNewList();
  f.news.insertTop("an unsaved headline", kIconNew);
  ASSERT_TRUE(makeDirectory(newListPath(f.ctx)));
  test::writeBytes(joinPath(newListPath(f.ctx) + kPathSep, "x"), "x");
  // Leaving would read the file back and lose the row.
  EXPECT_EQ(f.show(1), ShowResult::kRefused);
  EXPECT_TRUE(f.shown.isNewList());
  EXPECT_EQ(f.headlines(), Strings{"an unsaved headline"});
  EXPECT_EQ(f.ui.status[1].rfind("ファイルに書き込めません: ", 0), 0u);
}

}  // namespace
}  // namespace ls
