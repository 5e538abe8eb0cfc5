#include "sites/default_sites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/program.h"
#include "common/text.h"
#include "net/url.h"
#include "sites/first_run.h"
#include "sites/site_file.h"
#include "test_support.h"

namespace ls {
namespace {

// Name, URL path and extraction strings of every preset. nullptr marks the
// values that name an outside server (or this program's download place);
// those are checked by their own rules below.
struct PresetRow {
  const char* name;
  const char* path;
  const char* extract;
};

const PresetRow kExpected[kPresetSiteCount] = {
    {"共同通信", "/", nullptr},  // 1
    {"時事ドットコム", "/news/top_titles.html", "cgi-bin/content.cgi?content="},  // 2
    {nullptr, "/", "news/,html"},  // 3
    {"アサヒ・コム", "/", "update"},  // 4
    {"Sankei Web", "/", "news/,.htm"},  // 5
    {"毎日新聞", "/main.html", "/news/flash,.html"},  // 6
    {"北海道新聞", "/", "/Php/kiji.php3?&d=,&j=,&k="},  // 7
    {"河北新報(国内・国際)", "/", "news_s/,htm"},  // 8
    {"河北新報(東北)", "/", "NEWS/,.htm"},  // 9
    {"茨城新聞", "/", "contents/news/,-,.htm"},  // 10
    {"埼玉新聞", "/", "news/,.htm"},  // 11
    {"東京新聞", "/", "_____,.shtml"},  // 12
    {"信濃毎日新聞", "/", "news/,.htm"},  // 13
    {"新潟日報(県内ニュース)", "/", "news/index.asp?id="},  // 14
    {"中日新聞", "/news.shtml", "_____,.shtml"},  // 15
    {"伊勢新聞", "/index_go/main.htm", "news/_,.htm"},  // 16
    {"北國新聞", "/", "/_today/,.htm"},  // 17
    {"富山新聞", "/", "/_today/,.htm"},  // 18
    {"北陸中日新聞", "/", "_____,.shtml"},  // 19
    {"県民福井", "/", "_____,.shtml"},  // 20
    {"福井新聞", "/cgi-bin/index.cgi", "news/topics"},  // 21
    {"奈良新聞", "/", "n_,.html"},  // 22
    {"神戸新聞", "/", "kobenews/,.html"},  // 23
    {"山陽新聞（エリアニュース）", "/news/news.html", ".html"},  // 24
    {"中国新聞（地域ニュース）", "/News/index.html", "Tn,.html"},  // 25
    {"日本海新聞", "/index2.html", "news/news,.html#"},  // 26
    {"四国新聞", "/", "news/"},  // 27
    {"愛媛新聞", "/", "np-dekigot,.html"},  // 28
    {"高知新聞", "/", "htm#shimen"},  // 29
    {"西日本新聞", "/", "news/,.htm"},  // 30
    {"長崎新聞", "/", "news/,.html#"},  // 31
    {"佐賀新聞", "/", "/publ/flash,No"},  // 32
    {"熊本日日新聞", "/index.htm", "news/local/main,.htm"},  // 33
    {"南日本新聞", "/2000picup/picup.htm", "/picup_,.htm"},  // 34
    {"琉球新報", "/", "news,.html"},  // 35
    {"沖縄タイムス", "/", "day/,.html#"},  // 36
    {"デイリースポーツ", "/", "/tp,.shtml"},  // 37
    {"速報/ニッカン", "/news/flash/top-fl.html", "f-,-tp,html"},  // 38
    {"速報/サンスポ", "/upper.html", "fr_sokuho"},  // 39
    {"スポーツナビ", "/", "/"},  // 40
    {"ASCII24(秋葉)", "/akiba/", "/akiba/,.htm"},  // 41
    {"impress(秋葉）", "/akiba/", "hotline/,.html"},  // 42
    {"impress(BROADBAND Watch)", "/broadband/", "/broadband/news/20,htm"},  // 43
    {"impress(AV Watch)", "/av/", "docs/20,htm"},  // 44
    {"impress(INTERNET Watch)", "/internet/", "www/article/20,htm"},  // 45
    {"impress(PC Watch)", "/pc/", "docs/,20,htm"},  // 46
    {"impress(GAME Watch)", "/game/", "docs/,20,htm"},  // 47
    {"BizTech", "/biztech/topics.shtml", "/wcs/show"},  // 48
    {"ZDNetニュース速報", "/news/bursts/index.html", "/news/,.html"},  // 49
    {"ZDNet(GAME SPOT)", "/gamespot/", "gsnews/,news,html"},  // 50
    {"CNET Japan", "/News/", "News/,Item/,.html"},  // 51
    {nullptr, "/", "soft.phtml?id="},  // 52
    {"Lycos/社会", "/society/", "story.html?"},  // 53
    {"Lycos/政治", "/politics/", "story.html?"},  // 54
    {"Lycos/国際", "/world/", "story.html?"},  // 55
    {"Lycos/経済", "/business/", "story.html?"},  // 56
    {"Lycos/エンターテイメント", "/entertainment/", "story.html?"},  // 57
    {"Lycos/スポーツ", "/sports/", "story.html?"},  // 58
    {"Lycos/コンピュータ", "/comp/", "story.html?"},  // 59
    {"Lycos/企業", "/company/", "story.html?"},  // 60
    {"Lycos/マーケット", "/market/", "story.html?"},  // 61
    {"Yahoo!ニュース（トップ）", "/hl", nullptr},  // 62
    {"LINKSCOUT更新", nullptr, nullptr},  // 63
};

std::vector<std::string> splitCrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

class DefaultSitesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeDefaultSiteFile(path_));
    SiteList list = readAllSites(path_, kCheckLimits);
    ASSERT_EQ(list.status, SiteFileStatus::kOk);
    sites_ = list.sites;
    ASSERT_EQ(sites_.size(), static_cast<std::size_t>(kPresetSiteCount));
  }
  // Preset n, counting from 1 like the site list.
  const Site& preset(int n) const { return sites_.at(n - 1); }
  std::string host(int n) const { return splitUrl(preset(n).url).value_or(RequestTarget{}).host; }

  test::TempDir dir_;
  std::string path_ = dir_.file("site.ck");
  std::vector<Site> sites_;
};

TEST_F(DefaultSitesTest, ReadsBackAsThePresetsInListOrder) {
  EXPECT_EQ(preset(1).name, "共同通信");
  EXPECT_EQ(preset(2).name, "時事ドットコム");
  EXPECT_EQ(preset(40).name, "スポーツナビ");
  EXPECT_EQ(preset(63).name, "LINKSCOUT更新");
  // Presets 3 and 52 are named after their own domain.
  EXPECT_EQ(preset(3).name, host(3));
  EXPECT_EQ(preset(52).name, host(52));
  EXPECT_NE(preset(3).name, preset(52).name);

  for (int n = 1; n <= kPresetSiteCount; ++n) {
    SCOPED_TRACE("preset " + std::to_string(n));
    const PresetRow& row = kExpected[n - 1];
    if (row.name) {
      EXPECT_EQ(preset(n).name, row.name);
    }
    if (row.path) {
      auto target = splitUrl(preset(n).url);
      ASSERT_TRUE(target);
      EXPECT_EQ(target->path, row.path);
    }
    if (row.extract) {
      EXPECT_EQ(preset(n).extract, row.extract);
    }
  }
}

TEST_F(DefaultSitesTest, EveryUrlIsAnAbsoluteHttpUrlOfPort80) {
  for (int n = 1; n <= kPresetSiteCount; ++n) {
    SCOPED_TRACE("preset " + std::to_string(n) + ": " + preset(n).url);
    const std::string& url = preset(n).url;
    EXPECT_EQ(url.rfind("http://", 0), 0u);
    auto target = splitUrl(url);
    ASSERT_TRUE(target);
    EXPECT_FALSE(target->host.empty());
    EXPECT_EQ(target->host.find(':'), std::string::npos) << "no port in a preset";
    EXPECT_EQ(target->port, 80);
    EXPECT_EQ(url, "http://" + target->host + target->path);
    EXPECT_EQ(target->path.rfind('/', 0), 0u);
  }
  // Pages of one site share its host.
  EXPECT_EQ(host(8), host(9));
  for (int n = 43; n <= 47; ++n) EXPECT_EQ(host(n), host(42)) << n;
  for (int n = 54; n <= 61; ++n) EXPECT_EQ(host(n), host(53)) << n;
}

TEST_F(DefaultSitesTest, ExtractionStringsThatNameAServer) {
  // Preset 1 takes links to another host of the same site.
  auto flash = splitUrl(preset(1).extract);
  ASSERT_TRUE(flash) << preset(1).extract;
  EXPECT_EQ(preset(1).extract.rfind("http://", 0), 0u);
  EXPECT_NE(flash->host, host(1));
  EXPECT_EQ(flash->path, "/select.php?");
  EXPECT_EQ(splitCommaList(preset(1).extract).size(), 1u) << "one string, no comma";

  EXPECT_EQ(preset(62).extract, preset(62).url + "?a=");
  EXPECT_EQ(splitCommaList(preset(62).extract).size(), 1u);

  // The program's own update page lies under its home-page address.
  EXPECT_EQ(preset(63).url.rfind(kHomePageAddress, 0), 0u) << preset(63).url;
  EXPECT_GT(preset(63).url.size(), std::string(kHomePageAddress).size());
  std::vector<std::string_view> update = splitCommaList(preset(63).extract);
  ASSERT_EQ(update.size(), 2u);
  EXPECT_EQ(update[0], "linkscout");
  EXPECT_EQ(update[1], ".zip");
}

TEST_F(DefaultSitesTest, NoPresetIsCheckedAndOnlyTheSecondMarkerIsLowerCase) {
  for (int n = 1; n <= kPresetSiteCount; ++n) EXPECT_FALSE(preset(n).checked) << n;

  std::vector<std::string> lines = splitCrLfLines(test::readBytes(path_));
  ASSERT_EQ(lines.size(), 252u);
  for (int n = 1; n <= kPresetSiteCount; ++n)
    EXPECT_EQ(lines[4 * n - 1], n == 2 ? "nochk" : "NOCHK") << "marker of preset " << n;
}

TEST_F(DefaultSitesTest, FileIs252LinesWithCrLf) {
  std::string bytes = test::readBytes(path_);
  EXPECT_EQ(bytes, defaultSiteFileText());
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 252);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 252);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
    }
  }
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(bytes.find("\r\n\r\n"), std::string::npos) << "no blank line between records";
  EXPECT_FALSE(entryExists(path_ + ".tmp"));

  // The file is the presets' texts as they are, with CR LF line ends.
  std::string lfOnly;
  for (char c : bytes)
    if (c != '\r') lfOnly += c;
  std::string presets;
  for (std::string_view p : kPresetSites) presets += p;
  EXPECT_EQ(lfOnly, presets);
}

TEST_F(DefaultSitesTest, EachPresetIsOneRecordWithinTheLimits) {
  for (int n = 1; n <= kPresetSiteCount; ++n) {
    SCOPED_TRACE("preset " + std::to_string(n));
    std::string_view text = kPresetSites[n - 1];
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string_view::npos);
    EXPECT_LE(preset(n).name.size(), kSiteNameWriteBytes);
    EXPECT_LE(preset(n).url.size(), kSiteUrlWriteBytes);
    EXPECT_LE(preset(n).extract.size(), kSiteExtractWriteBytes);
  }
  // Saving the list unchanged gives the same file, only the lower-case
  // marker is written the way the program writes markers.
  std::string resaved = siteFileText(sites_);
  std::string expected = defaultSiteFileText();
  std::size_t at = expected.find("\r\nnochk\r\n");
  ASSERT_NE(at, std::string::npos);
  expected.replace(at + 2, 5, "NOCHK");
  EXPECT_EQ(resaved, expected);
}

TEST_F(DefaultSitesTest, EveryPresetHasLogFilesOfItsOwn) {
  std::set<std::string> logNames;
  for (const Site& s : sites_) logNames.insert(fileNameForm(s.name));
  EXPECT_EQ(logNames.size(), sites_.size());
}

TEST_F(DefaultSitesTest, WritingReplacesAFileButNotADirectory) {
  test::writeBytes(path_, "old\r\nhttp://old.example/\r\nx\r\nCHECK\r\n");
  ASSERT_TRUE(writeDefaultSiteFile(path_));
  EXPECT_EQ(test::readBytes(path_), defaultSiteFileText());

  std::string blocked = dir_.file("blocked.ck");
  ASSERT_TRUE(makeDirectory(blocked));
  EXPECT_FALSE(writeDefaultSiteFile(blocked));
  EXPECT_TRUE(isDirectory(blocked));
  EXPECT_FALSE(entryExists(blocked + ".tmp"));
}

class FirstRunTest : public ::testing::Test {
 protected:
  std::string at(const std::string& name) const { return dir_.file(name); }
  test::TempDir dir_;
};

TEST_F(FirstRunTest, EmptyDirectoryGetsWorkDirectoriesAndTheDefaultSiteFile) {
  SiteFileSetUp result = prepareApplicationDirectory(dir_.path());
  EXPECT_EQ(result, SiteFileSetUp::kWritten);
  EXPECT_TRUE(siteFileReady(result));
  EXPECT_TRUE(isDirectory(at("TEMPORARY")));
  EXPECT_TRUE(isDirectory(at("LOG")));
  ASSERT_TRUE(isPlainFile(at("site.ck")));
  EXPECT_EQ(test::readBytes(at("site.ck")), defaultSiteFileText());
  EXPECT_FALSE(entryExists(at("site.ck.tmp")));
  EXPECT_FALSE(entryExists(at("LINKSCOUT.ini"))) << "the settings file is not this step's";

  // The same step runs again for the main window and finds everything there.
  result = prepareApplicationDirectory(dir_.path());
  EXPECT_EQ(result, SiteFileSetUp::kPresent);
  EXPECT_TRUE(siteFileReady(result));
  EXPECT_EQ(test::readBytes(at("site.ck")), defaultSiteFileText());
}

TEST_F(FirstRunTest, ExistingFilesAreNeverTouched) {
  const std::string mine = "自分のサイト\nhttp://mine.example/\nnews/\nCHECK";
  test::writeBytes(at("site.ck"), mine);
  ASSERT_TRUE(makeDirectory(at("LOG")));
  test::writeBytes(at("LOG") + kPathSep + "a.log", "kept\r\n");

  EXPECT_EQ(prepareApplicationDirectory(dir_.path()), SiteFileSetUp::kPresent);
  EXPECT_EQ(test::readBytes(at("site.ck")), mine);
  EXPECT_EQ(test::readBytes(at("LOG") + kPathSep + "a.log"), "kept\r\n");
  EXPECT_TRUE(isDirectory(at("TEMPORARY")));

  // An empty site file is an empty list, not a missing file.
  test::writeBytes(at("site.ck"), "");
  EXPECT_EQ(prepareApplicationDirectory(dir_.path()), SiteFileSetUp::kPresent);
  EXPECT_EQ(test::readBytes(at("site.ck")), "");
}

TEST_F(FirstRunTest, DirectoryNamedSiteCkIsNotReady) {
  ASSERT_TRUE(makeDirectory(at("site.ck")));
  SiteFileSetUp result = prepareApplicationDirectory(dir_.path());
  EXPECT_EQ(result, SiteFileSetUp::kCannotCreate);
  EXPECT_FALSE(siteFileReady(result));
  EXPECT_TRUE(isDirectory(at("site.ck")));
  EXPECT_FALSE(entryExists(at("site.ck.tmp")));
  // The directories come first and are made all the same.
  EXPECT_TRUE(isDirectory(at("TEMPORARY")));
  EXPECT_TRUE(isDirectory(at("LOG")));
}

TEST_F(FirstRunTest, MissingApplicationDirectoryIsNotReady) {
  std::string gone = at("gone") + kPathSep;
  EXPECT_EQ(prepareApplicationDirectory(gone), SiteFileSetUp::kCannotCreate);
  EXPECT_FALSE(entryExists(at("gone")));
}

TEST_F(FirstRunTest, DirectoryThatCannotBeMadeIsPassedOverSilently) {
  // A plain file where a work directory belongs: it stays, and the site
  // file is written all the same.
  test::writeBytes(at("LOG"), "not a directory");
  EXPECT_EQ(prepareApplicationDirectory(dir_.path()), SiteFileSetUp::kWritten);
  EXPECT_TRUE(isPlainFile(at("LOG")));
  EXPECT_EQ(test::readBytes(at("LOG")), "not a directory");
  EXPECT_TRUE(isDirectory(at("TEMPORARY")));
  EXPECT_EQ(test::readBytes(at("site.ck")), defaultSiteFileText());
}

}  // namespace
}  // namespace ls
