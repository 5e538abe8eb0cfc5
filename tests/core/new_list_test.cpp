// The new-list file: what is saved, and what loading makes of any file.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "engine/new_list.h"
#include "test_support.h"

namespace ls {
namespace {

using test::EngineFixture;

void addRow(test::FakeNewsList& list, const std::string& h, int icon, const std::string& s, const std::string& u) {
  test::FakeRow row;
  row.columns[0] = h;
  row.columns[1] = s;
  row.columns[2] = u;
  row.icon = icon;
  list.rows.push_back(row);
}

TEST(NewList, RoundTripKeepsOrderTextsAndIcons) {
  EngineFixture f;
  addRow(f.news, "台風が接近", kIconNew, "サイトA", "http://a/1");
  addRow(f.news, "second", kIconKeyword, "B", "http://b/2");
  saveNewList(f.ctx);
  EXPECT_EQ(test::readBytes(newListPath(f.ctx)),
            "台風が接近\r\n0\r\nサイトA\r\nhttp://a/1\r\nsecond\r\n2\r\nB\r\nhttp://b/2\r\n");
  std::vector<test::FakeRow> saved = f.news.rows;
  f.news.insertTop("replaced by the load", kIconOld);
  loadNewList(f.ctx);
  ASSERT_EQ(f.news.count(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(f.news.rows[i].icon, saved[i].icon);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(f.news.rows[i].columns[c], saved[i].columns[c]);
  }
}

TEST(NewList, EmptyListGivesAnEmptyFile) {
  EngineFixture f;
  saveNewList(f.ctx);
  EXPECT_EQ(test::readBytes(newListPath(f.ctx)), "");
  f.news.insertTop("x", 0);
  loadNewList(f.ctx);
  EXPECT_EQ(f.news.count(), 0);
}

TEST(NewList, LongTextsAreCutSoTheyLoadBackInPlace) {
  EngineFixture f;
  // A headline ending in a double-byte character at the cut must not keep its
  // lead byte alone.
  std::string headline = std::string(997, 'h') + "表表";
  addRow(f.news, headline, kIconOld, std::string(600, 's'), std::string(600, 'u'));
  addRow(f.news, "next row", kIconOpened, "s", "u");
  saveNewList(f.ctx);
  loadNewList(f.ctx);
  ASSERT_EQ(f.news.count(), 2);
  EXPECT_EQ(f.news.rows[0].columns[0], std::string(997, 'h'));
  EXPECT_EQ(f.news.rows[0].columns[1], std::string(499, 's'));
  EXPECT_EQ(f.news.rows[0].columns[2], std::string(499, 'u'));
  EXPECT_EQ(f.news.rows[1].columns[0], "next row");
  EXPECT_EQ(f.news.rows[1].icon, kIconOpened);
}

TEST(NewList, LoadingHandEditedFiles) {
  EngineFixture f;
  f.news.insertTop("stale", 0);
  makeDirectory(newListPath(f.ctx));
  loadNewList(f.ctx);
  EXPECT_EQ(f.news.count(), 0);
  ASSERT_TRUE(std::filesystem::remove(toFsPath(newListPath(f.ctx))));

  // Letters as the icon read as 0; LF line ends; a file ending after a
  // headline gives a row with icon 0 and empty columns.
  test::writeBytes(newListPath(f.ctx), "one\nabc\nsite\nurl\ntwo\n-3\nS2\nU2\nthree");
  loadNewList(f.ctx);
  ASSERT_EQ(f.news.count(), 3);
  EXPECT_EQ(f.news.rows[0].icon, 0);
  EXPECT_EQ(f.news.rows[0].columns[2], "url");
  EXPECT_EQ(f.news.rows[1].icon, -3);
  EXPECT_EQ(f.news.rows[1].columns[1], "S2");
  EXPECT_EQ(f.news.rows[2].columns[0], "three");
  EXPECT_EQ(f.news.rows[2].icon, 0);
  EXPECT_EQ(f.news.rows[2].columns[1], "");
}

TEST(NewList, LoadingDoesNotTrimToTheListSize) {
  EngineFixture f;
  f.setSetting("LIST", "2");
  std::string file;
  for (int i = 0; i < 5; ++i) file += "headline " + std::to_string(i) + "\r\n4\r\ns\r\nu\r\n";
  test::writeBytes(newListPath(f.ctx), file);
  loadNewList(f.ctx);
  EXPECT_EQ(f.news.count(), 5);
}

}  // namespace
}  // namespace ls
