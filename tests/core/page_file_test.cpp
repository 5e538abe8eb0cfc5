// What the page file stores for received bytes.
#include <gtest/gtest.h>

#include "net/page_file.h"
#include "test_support.h"

namespace ls {
namespace {

TEST(PageFile, EveryLineFeedIsStoredAsCrLfAndNulBytesStay) {
  EXPECT_EQ(pageFileBytes("a\nb"), "a\r\nb");
  EXPECT_EQ(pageFileBytes("a\r\n"), "a\r\r\n");  // read back as "a\r\n"
  EXPECT_EQ(pageFileBytes("\n\n"), "\r\n\r\n");
  EXPECT_EQ(pageFileBytes(std::string("x\0y\n\0", 5)), std::string("x\0y\r\n\0", 6));
  EXPECT_EQ(pageFileBytes(""), "");
}

TEST(PageFile, ChunksAppendSoTheSplitNeverMatters) {
  test::TempDir dir;
  std::string path = dir.file("temp.html");
  std::string received("line one\r\nline\0two\nend", 23);
  for (std::size_t cut = 0; cut <= received.size(); ++cut) {
    test::writeBytes(path, "");
    ASSERT_TRUE(appendToPageFile(path, received.substr(0, cut)));
    ASSERT_TRUE(appendToPageFile(path, received.substr(cut)));
    EXPECT_EQ(test::readBytes(path), pageFileBytes(received)) << cut;
  }
  EXPECT_FALSE(appendToPageFile(dir.file("missing/dir/temp.html"), "x"));
}

}  // namespace
}  // namespace ls
