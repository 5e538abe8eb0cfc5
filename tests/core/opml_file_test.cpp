// OPML in and out of the site list.
#include <gtest/gtest.h>

#include "common/cp932.h"
#include "engine/opml_file.h"
#include "test_support.h"

namespace ls {
namespace {

std::string opml(const std::string& body, const std::string& declaration = "<?xml version=\"1.0\"?>") {
  return declaration + "\n<opml version=\"1.0\"><head><title>x</title></head><body>" + body + "</body></opml>\n";
}

struct ReadCase {
  const char* name;
  std::string bytes;
  bool ok;
  std::vector<std::string> names;  // Shift_JIS
  std::vector<std::string> urls;
};

TEST(Opml, ReaderTakesEveryFeedAtAnyDepth) {
  // Narrow literals are Shift_JIS.
  const std::string nhk = "NHKニュース";
  const std::vector<ReadCase> cases = {
      {"flat, title before text",
       opml("<outline text=\"A text\" title=\"A title\" type=\"rss\" xmlUrl=\"http://a/rss\"/>"
            "<outline text=\"B\" xmlUrl=\"http://b/feed?x=1&amp;y=2\"/>"),
       true, {"A title", "B"}, {"http://a/rss", "http://b/feed?x=1&y=2"}},
      {"nested folders; a folder and an outline without a URL or a name are no sites",
       opml("<outline text=\"News\"><outline text=\"Deep\"><outline text=\"C\" xmlUrl=\"http://c/\"/>"
            "</outline><outline text=\"page\" htmlUrl=\"http://p/\"/><outline xmlUrl=\"http://noname/\"/>"
            "<outline text=\"empty\" xmlUrl=\"\"/></outline>"),
       true, {"C"}, {"http://c/"}},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + opml("<outline text=\"" + cp932ToUtf8(nhk) + "\" xmlUrl=\"http://n/\"/>"),
       true, {nhk}, {"http://n/"}},
      {"Shift_JIS declared", opml("<outline text=\"" + nhk + "\" xmlUrl=\"http://n/\"/>",
                                  "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"),
       true, {nhk}, {"http://n/"}},
      {"EUC-JP declared",
       opml("<outline text=\"NHK\xA5\xCB\xA5\xE5\xA1\xBC\xA5\xB9\" xmlUrl=\"http://n/\"/>",
            "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>"),
       true, {nhk}, {"http://n/"}},
      {"comments, a doctype and blanks around", "  <!DOCTYPE opml>" + opml("<!-- <outline text=\"x\" xmlUrl=\"http://x/\"/> -->"),
       true, {}, {}},
      {"no opml root", "<rss><channel></channel></rss>", false, {}, {}},
      {"no body", "<opml version=\"2.0\"><head/></opml>", false, {}, {}},
      {"an element left open", "<opml><body><outline text=\"a\" xmlUrl=\"http://a/\"></body></opml>", false, {}, {}},
      {"cut off inside a tag", "<opml><body><outline text=\"a\" xmlUrl=\"http://a/", false, {}, {}},
      {"text after the root", opml("") + "<opml><body/></opml>", false, {}, {}},
      {"empty file", "", false, {}, {}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    OpmlRead read = readOpml(c.bytes);
    EXPECT_EQ(read.ok, c.ok);
    std::vector<std::string> names, urls;
    for (const Site& s : read.sites) {
      names.push_back(s.name);
      urls.push_back(s.url);
      EXPECT_EQ(s.extract, "http");
      EXPECT_FALSE(s.checked);
    }
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(urls, c.urls);
  }
}

TEST(Opml, Utf16FilesAreRead) {
  const std::string utf8 = opml("<outline text=\"" + cp932ToUtf8("NHKニュース") + "\" xmlUrl=\"http://n/\"/>", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
  std::string le = "\xFF\xFE";
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp;
    std::size_t n = decodeUtf8Char(utf8, i, cp);
    if (n == 0) break;
    if (static_cast<unsigned char>(utf8[i]) < 0x80) cp = static_cast<unsigned char>(utf8[i]), n = 1;
    le += static_cast<char>(cp & 0xFF);
    le += static_cast<char>(cp >> 8);
    i += n;
  }
  OpmlRead read = readOpml(le);
  ASSERT_TRUE(read.ok);
  ASSERT_EQ(read.sites.size(), 1u);
  EXPECT_EQ(read.sites[0].name, "NHKニュース");
}

TEST(Opml, ExportThenImportGivesTheSameList) {
  const std::vector<Site> list = {
      {"NHK 主要", "https://www3.nhk.or.jp/rss/news/cat0.xml", "http", true},
      {"ページ <&\"> の名前", "http://host/a?b=1&c=2", "/news/,class=\"x\"", false},
      {"second feed", "http://host/rss", "http", false},
  };
  const std::string file = writeOpml(list);
  EXPECT_NE(file.find("encoding=\"UTF-8\""), std::string::npos);
  EXPECT_NE(file.find("<opml version=\"2.0\""), std::string::npos);
  EXPECT_NE(file.find("xmlUrl=\"https://www3.nhk.or.jp/rss/news/cat0.xml\""), std::string::npos);
  EXPECT_NE(file.find("htmlUrl=\"http://host/a?b=1&amp;c=2\""), std::string::npos);
  EXPECT_NE(file.find(cp932ToUtf8("NHK 主要")), std::string::npos);  // UTF-8 on disk

  OpmlRead read = readOpml(file);
  ASSERT_TRUE(read.ok);
  std::vector<Site> rows;
  EXPECT_EQ(importOpmlSites(rows, read.sites), 3);
  ASSERT_EQ(rows.size(), list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(rows[i].name, list[i].name);
    EXPECT_EQ(rows[i].url, list[i].url);
    EXPECT_EQ(rows[i].extract, list[i].extract);
    EXPECT_EQ(rows[i].checked, list[i].checked);
  }
  // Again into the same list: every URL is there already.
  EXPECT_EQ(importOpmlSites(rows, read.sites), 0);
  EXPECT_EQ(rows.size(), list.size());
}

TEST(Opml, ImportSkipsKnownUrlsAndKeepsNamesUnique) {
  std::vector<Site> rows = {{"News", "http://a/rss", "/x/", true}, {"Other", "http://o/", "o", true}};
  OpmlRead read = readOpml(opml("<outline text=\"A again\" xmlUrl=\"http://a/rss\"/><outline text=\"Other\" "
                                "xmlUrl=\"http://new/\"/><outline text=\"dup\" xmlUrl=\"http://new/\"/>"));
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(importOpmlSites(rows, read.sites), 1);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].url, "http://new/");
  EXPECT_NE(rows[0].name, "Other");
  EXPECT_FALSE(rows[0].checked);
}

TEST(Opml, TheShippedFeedsImportAsUncheckedSites) {
  OpmlRead read = readOpml(test::readBytes(std::string(LINKSCOUT_TEST_DATA_DIR) + "/../../docs/release/feeds.opml"));
  ASSERT_TRUE(read.ok);
  ASSERT_FALSE(read.sites.empty());
  std::vector<Site> rows;
  // No URL twice, no name twice: every feed becomes a site of its own.
  EXPECT_EQ(importOpmlSites(rows, read.sites), static_cast<int>(read.sites.size()));
  for (const Site& s : read.sites) {
    EXPECT_EQ(s.url.rfind("https://", 0), 0u) << s.url;
    EXPECT_FALSE(s.checked);
  }
}

}  // namespace
}  // namespace ls
