// Files named by Shift_JIS paths, whole-file rewrites and line reading.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "test_support.h"

namespace ls {
namespace {

TEST(FileIo, JapanesePathsWorkOnEveryPlatform) {
  test::TempDir dir;
  std::string sub = dir.file("新着リスト");
  ASSERT_TRUE(makeDirectory(sub));
  std::string file = sub + kPathSep + "表示.all.log";
  EXPECT_FALSE(entryExists(file));
  ASSERT_TRUE(appendToFile(file, "a\r\n"));
  ASSERT_TRUE(appendToFile(file, "b\r\n"));
  EXPECT_EQ(test::readBytes(file), "a\r\nb\r\n");
  EXPECT_TRUE(isPlainFile(file));
  EXPECT_TRUE(entryExists(sub));
  EXPECT_FALSE(isPlainFile(sub));  // a directory is no file
  EXPECT_EQ(fileSize(file).value_or(0), 6u);
  EXPECT_FALSE(fileSize(dir.file("missing")).has_value());
}

TEST(FileIo, RewriteReplacesWholeAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  std::string file = dir.file("site.ck");
  ASSERT_TRUE(rewriteFile(file, "old content that is longer"));
  ASSERT_TRUE(rewriteFile(file, "new"));
  EXPECT_EQ(test::readBytes(file), "new");
  EXPECT_FALSE(entryExists(file + ".tmp"));
  // A target that cannot be replaced keeps what it had.
  std::string blocked = dir.file("blocked");
  ASSERT_TRUE(makeDirectory(blocked));
  ASSERT_TRUE(appendToFile(blocked + kPathSep + "inside", "x"));
  EXPECT_FALSE(rewriteFile(blocked, "data"));
  EXPECT_TRUE(isDirectory(blocked));
  EXPECT_FALSE(entryExists(blocked + ".tmp"));
}

TEST(FileIo, RenameReplacesAndRemoveToleratesMissingFiles) {
  test::TempDir dir;
  std::string a = dir.file("a.log"), b = dir.file("a.log.old");
  test::writeBytes(a, "new");
  test::writeBytes(b, "old");
  EXPECT_TRUE(renameFile(a, b));
  EXPECT_EQ(test::readBytes(b), "new");
  EXPECT_FALSE(entryExists(a));
  EXPECT_FALSE(removeFile(a));
  EXPECT_FALSE(renameFile(a, b));
  EXPECT_EQ(test::readBytes(b), "new");
}

TEST(FileIo, LinesAreReadWholeAndCutToTheReadersLimit) {
  test::TempDir dir;
  std::string file = dir.file("lines");
  test::writeBytes(file, "one\r\ntwo\nthree\r\r\n" + std::string(20, 'x') + "\nあいう\nlast");
  FilePtr f = openFile(file, "rb");
  ASSERT_TRUE(f);
  std::string line;
  std::vector<std::string> lines;
  while (readLine(f.get(), line, 5)) lines.push_back(line);
  // Only one CR goes with the line feed: "three\r" is cut to five bytes.
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "xxxxx", "あい", "last"}));
}

}  // namespace
}  // namespace ls
