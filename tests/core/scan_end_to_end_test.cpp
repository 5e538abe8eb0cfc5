// The page scan from the page file to the news list, with real files.
#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/file_io.h"
#include "engine/page_scan.h"
#include "engine/site_log.h"
#include "test_encoders.h"
#include "test_support.h"

namespace ls {
namespace {

using test::EngineFixture;

const char* kPage =
    "HTTP/1.0 200 OK\r\r\nContent-Type: text/html\r\r\n\r\r\n"
    "<html><body>\r\r\n"
    "<a href=\"/news/1.html\">台風3号が接近</a>\r\r\n"
    "<a href='../2.html'>【速報】地震&nbsp;情報</a>\r\r\n"
    "<a href=/ad.html>short</a>\r\r\n"
    "</body></html>\r\r\n";

TEST(ScanEndToEnd, PageFileToSiteLogAndNewsList) {
  EngineFixture f;
  f.setSetting("DELETE", "&nbsp;,【速報】");
  f.setSetting("KEYWORD", "地震");
  f.writePage(kPage);
  rotateSiteLog(f.ctx, "サイト");
  EXPECT_EQ(scanPage(f.ctx, "サイト", "", "http://host/a/b/index.html"), 1);
  EXPECT_EQ(f.ui.status[1], "新着ニュース確認中");
  EXPECT_EQ(test::readBytes(siteLogPaths(f.ctx, "サイト").current),
            "台風3号が接近\r\nhttp://host/news/1.html\r\n地震情報\r\nhttp://host/a/2.html\r\n");
  ASSERT_EQ(f.news.count(), 2);
  EXPECT_EQ(f.news.text(0, 0), "地震情報");
  EXPECT_EQ(f.news.icon(0), kIconKeyword);
  EXPECT_EQ(f.news.icon(1), kIconNew);

  // The same page again: nothing new.
  f.news.clear();
  rotateSiteLog(f.ctx, "サイト");
  EXPECT_EQ(scanPage(f.ctx, "サイト", "", "http://host/a/b/index.html"), 0);
  EXPECT_EQ(f.news.count(), 0);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(ScanEndToEnd, ExtractionStringsSelectLinks) {
  EngineFixture f;
  f.writePage(kPage);
  EXPECT_EQ(scanPage(f.ctx, "s", "news", "http://host/"), 1);
  ASSERT_EQ(f.news.count(), 1);
  EXPECT_EQ(f.news.text(0, 2), "http://host/news/1.html");
}

TEST(ScanEndToEnd, EmptyOrMissingPageFileWarns) {
  EngineFixture f;
  f.writePage("");
  EXPECT_EQ(scanPage(f.ctx, "s", "", "http://host/"), kNoLinks);
  // A page file that vanished is scanned as an empty page instead of ending the program.
  removeFile(f.ctx.pageFile());
  EXPECT_EQ(scanPage(f.ctx, "s", "", "http://host/"), kNoLinks);
  EXPECT_TRUE(f.ui.messages.empty());
}

TEST(ScanEndToEnd, NulBytesInThePageFileAreDropped) {
  EngineFixture f;
  f.writePage(std::string("<a href=x.html>hea\0dline text</a>", 33));
  EXPECT_EQ(scanPage(f.ctx, "s", "", "http://host/"), 1);
  ASSERT_EQ(f.news.count(), 1);
  EXPECT_EQ(f.news.text(0, 0), "headline text");
}

// The page file as the fetcher stores a response: each line feed as CR LF.
std::string stored(const std::string& received) {
  std::string out;
  for (char c : received) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(ScanEndToEnd, PagesInOtherEncodingsAreConvertedBeforeTheWalk) {
  const std::string body = "<a href=\"/上/1.html\">上海で地震、被害なし</a>\r\n<a href=/2.html>二つ目の見出し</a>\r\n";
  std::u16string wide = cp932ToUtf16(body);
  std::string le = "\xFF\xFE" + test::utf16Bytes(wide, true), be = "\xFE\xFF" + test::utf16Bytes(wide, false);
  const std::string header = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
  const std::string pages[] = {header + cp932ToUtf8(body), header + le, header + be};
  for (const std::string& received : pages) {
    EngineFixture f;
    f.writePage(stored(received));
    EXPECT_EQ(scanPage(f.ctx, "s", "", "http://host/"), 1);
    ASSERT_EQ(f.news.count(), 2);
    EXPECT_EQ(f.news.text(1, 0), "上海で地震、被害なし");
    EXPECT_EQ(f.news.text(1, 2), "http://host/上/1.html");
    EXPECT_EQ(f.news.text(0, 0), "二つ目の見出し");
  }
}

TEST(ScanEndToEnd, DirectoryInPlaceOfThePageFileIsAnEmptyPage) {
  EngineFixture f;
  makeDirectory(f.ctx.pageFile());
  EXPECT_EQ(scanPage(f.ctx, "s", "", "http://host/"), kNoLinks);
}

}  // namespace
}  // namespace ls
