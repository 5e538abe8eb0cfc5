// The copies kept between reads (the parsed settings file, the check cycle's
// site records): a change to the file must be seen at the next read however
// it was made, including an edit of the same size within the same second.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "common/file_io.h"
#include "settings/ini_file.h"
#include "sites/site_file.h"
#include "sites/site_records.h"
#include "test_support.h"

namespace ls {
namespace {

namespace fs = std::filesystem;

// A hand edit that the file system cannot tell from the old file by its
// stamp: same size, and the write time put back to what it was.
void editKeepingStamp(const std::string& path, const std::string& bytes) {
  fs::path p = toFsPath(path);
  auto written = fs::last_write_time(p);
  test::writeBytes(path, bytes);
  fs::last_write_time(p, written);
}

void age(const std::string& path, std::chrono::seconds by) {
  fs::path p = toFsPath(path);
  fs::last_write_time(p, fs::last_write_time(p) - by);
}

TEST(SettingsCache, EveryKindOfEditIsSeenAtTheNextRead) {
  test::TempDir dir;
  const std::string ini = dir.file("LINKSCOUT.ini");
  auto list = [&] { return readProfileInt(ini, "SETTING", "LIST", -1); };

  test::writeBytes(ini, "[SETTING]\r\nLIST=700\r\n");
  EXPECT_EQ(list(), 700);
  // Within the same second and the same size: the copy is too young to trust.
  editKeepingStamp(ini, "[SETTING]\r\nLIST=001\r\n");
  EXPECT_EQ(list(), 1);
  // A settled file edited later gets a later write time.
  age(ini, std::chrono::hours(1));
  EXPECT_EQ(list(), 1);
  test::writeBytes(ini, "[SETTING]\r\nLIST=002\r\n");
  EXPECT_EQ(list(), 2);
  // The program's own write, then a hand edit of the same stamp.
  ASSERT_TRUE(writeProfileString(ini, "SETTING", "LIST", "003"));
  EXPECT_EQ(list(), 3);
  editKeepingStamp(ini, "[SETTING]\r\nLIST=004\r\n");
  EXPECT_EQ(list(), 4);
  // Removed and put back.
  ASSERT_TRUE(removeFile(ini));
  EXPECT_EQ(list(), -1);
  test::writeBytes(ini, "[SETTING]\r\nLIST=5\r\n");
  EXPECT_EQ(list(), 5);
}

TEST(SettingsCache, SeveralFilesKeepTheirOwnValues) {
  test::TempDir dir;
  std::vector<std::string> files;
  for (int i = 0; i < 6; ++i) {
    files.push_back(dir.file("f" + std::to_string(i) + ".ini"));
    test::writeBytes(files.back(), "[S]\r\nK=" + std::to_string(i) + "\r\n");
  }
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 6; ++i) EXPECT_EQ(readProfileString(files[i], "s", "k", "-"), std::to_string(i));
  }
}

// The cycle's records read from a kept copy must be the records and the
// "one more line" answers that reading the file from its start gives.
TEST(SiteRecords, AnswerAsReadingTheFileFromItsStart) {
  const std::string files[] = {
      "",
      "A\r\nhttp://a/\r\n\r\nCHECK\r\n",
      "A\nhttp://a/\nx\nCHECK\nB\nhttp://b/\n\nNOCHK\n",
      "A\r\nhttp://a/\r\n\r\nCHECK\r\nB",  // a last record of one line
      "A\r\nhttp://a/\r\n\r\nCHECK\r\n\r\n",  // an empty line starts a record
      "A\rB\r\nu\r\n" + std::string(600, 'e') + "\r\nCHECK",
  };
  test::TempDir dir;
  const std::string path = dir.file("site.ck");
  SiteRecords records;
  for (const std::string& bytes : files) {
    test::writeBytes(path, bytes);
    for (int k = 0; k <= 4; ++k) {
      SiteLookup want = readSiteRecord(path, k), got = records.record(path, k);
      ASSERT_EQ(got.site.has_value(), want.site.has_value()) << bytes << " k=" << k;
      if (want.site) {
        EXPECT_EQ(got.site->name, want.site->name);
        EXPECT_EQ(got.site->url, want.site->url);
        EXPECT_EQ(got.site->extract, want.site->extract);
        EXPECT_EQ(got.site->checked, want.site->checked);
      }
      EXPECT_EQ(records.recordAfter(path, k).exists, hasRecordAfter(path, k).exists) << bytes << " k=" << k;
    }
  }
  ASSERT_TRUE(removeFile(path));
  EXPECT_EQ(records.record(path, 1).status, SiteFileStatus::kCannotOpen);
  EXPECT_EQ(records.recordAfter(path, 0).status, SiteFileStatus::kCannotOpen);
}

TEST(SiteRecords, AnEditBetweenTwoStepsIsSeenAtTheNextStep) {
  test::TempDir dir;
  const std::string path = dir.file("site.ck");
  SiteRecords records;
  test::writeBytes(path, siteFileText({{"A", "http://a/", "", true}, {"B", "http://b/", "", true}}));
  ASSERT_EQ(records.record(path, 2).site->name, "B");
  editKeepingStamp(path, siteFileText({{"A", "http://a/", "", true}, {"C", "http://c/", "", false}}));
  ASSERT_TRUE(records.record(path, 2).site);
  EXPECT_EQ(records.record(path, 2).site->name, "C");
  EXPECT_FALSE(records.record(path, 2).site->checked);
  age(path, std::chrono::hours(1));
  EXPECT_TRUE(records.recordAfter(path, 1).exists);
  test::writeBytes(path, siteFileText({{"A", "http://a/", "", true}}));
  EXPECT_FALSE(records.recordAfter(path, 1).exists);
}

}  // namespace
}  // namespace ls
