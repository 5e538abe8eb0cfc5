#include "sites/default_sites.h"

#include "common/file_io.h"

namespace ls {

// Numbered as the user sees them in the site list. A host under ".example"
// stands in for a server whose address is not settled here; the user can put
// the real one in with the settings dialog before checking the site. The
// last preset watches this program's own update page, whose archives are
// named "linkscout....zip".
const std::array<std::string_view, kPresetSiteCount> kPresetSites = {
    // 1
    "共同通信\n"
    "http://www.kyodo.co.jp/\n"
    "http://flash.kyodo.example/select.php?\n"
    "NOCHK\n",
    // 2
    "時事ドットコム\n"
    "http://www.jiji.com/news/top_titles.html\n"
    "cgi-bin/content.cgi?content=\n"
    "nochk\n",
    // 3
    "www.national-news.example\n"
    "http://www.national-news.example/\n"
    "news/,html\n"
    "NOCHK\n",
    // 4
    "アサヒ・コム\n"
    "http://www.asahi.com/\n"
    "update\n"
    "NOCHK\n",
    // 5
    "Sankei Web\n"
    "http://www.sankei.co.jp/\n"
    "news/,.htm\n"
    "NOCHK\n",
    // 6
    "毎日新聞\n"
    "http://www.mainichi.co.jp/main.html\n"
    "/news/flash,.html\n"
    "NOCHK\n",
    // 7
    "北海道新聞\n"
    "http://www.hokkaido-np.co.jp/\n"
    "/Php/kiji.php3?&d=,&j=,&k=\n"
    "NOCHK\n",
    // 8
    "河北新報(国内・国際)\n"
    "http://www.kahoku.co.jp/\n"
    "news_s/,htm\n"
    "NOCHK\n",
    // 9
    "河北新報(東北)\n"
    "http://www.kahoku.co.jp/\n"
    "NEWS/,.htm\n"
    "NOCHK\n",
    // 10
    "茨城新聞\n"
    "http://www.ibaraki-np.co.jp/\n"
    "contents/news/,-,.htm\n"
    "NOCHK\n",
    // 11
    "埼玉新聞\n"
    "http://www.saitama-np.co.jp/\n"
    "news/,.htm\n"
    "NOCHK\n",
    // 12
    "東京新聞\n"
    "http://www.tokyo-np.co.jp/\n"
    "_____,.shtml\n"
    "NOCHK\n",
    // 13
    "信濃毎日新聞\n"
    "http://www.shinmai.co.jp/\n"
    "news/,.htm\n"
    "NOCHK\n",
    // 14
    "新潟日報(県内ニュース)\n"
    "http://www.niigata-nippo.co.jp/\n"
    "news/index.asp?id=\n"
    "NOCHK\n",
    // 15
    "中日新聞\n"
    "http://www.chunichi.co.jp/news.shtml\n"
    "_____,.shtml\n"
    "NOCHK\n",
    // 16
    "伊勢新聞\n"
    "http://www.ise-np.example/index_go/main.htm\n"
    "news/_,.htm\n"
    "NOCHK\n",
    // 17
    "北國新聞\n"
    "http://www.hokkoku.co.jp/\n"
    "/_today/,.htm\n"
    "NOCHK\n",
    // 18
    "富山新聞\n"
    "http://www.toyama-np.example/\n"
    "/_today/,.htm\n"
    "NOCHK\n",
    // 19
    "北陸中日新聞\n"
    "http://hokuriku.chunichi.example/\n"
    "_____,.shtml\n"
    "NOCHK\n",
    // 20
    "県民福井\n"
    "http://www.kenmin-fukui.example/\n"
    "_____,.shtml\n"
    "NOCHK\n",
    // 21
    "福井新聞\n"
    "http://www.fukuishimbun.co.jp/cgi-bin/index.cgi\n"
    "news/topics\n"
    "NOCHK\n",
    // 22
    "奈良新聞\n"
    "http://www.nara-np.co.jp/\n"
    "n_,.html\n"
    "NOCHK\n",
    // 23
    "神戸新聞\n"
    "http://www.kobe-np.co.jp/\n"
    "kobenews/,.html\n"
    "NOCHK\n",
    // 24
    "山陽新聞（エリアニュース）\n"
    "http://www.sanyo-np.example/news/news.html\n"
    ".html\n"
    "NOCHK\n",
    // 25
    "中国新聞（地域ニュース）\n"
    "http://www.chugoku-np.co.jp/News/index.html\n"
    "Tn,.html\n"
    "NOCHK\n",
    // 26
    "日本海新聞\n"
    "http://www.nnn.co.jp/index2.html\n"
    "news/news,.html#\n"
    "NOCHK\n",
    // 27
    "四国新聞\n"
    "http://www.shikoku-np.co.jp/\n"
    "news/\n"
    "NOCHK\n",
    // 28
    "愛媛新聞\n"
    "http://www.ehime-np.co.jp/\n"
    "np-dekigot,.html\n"
    "NOCHK\n",
    // 29
    "高知新聞\n"
    "http://www.kochinews.co.jp/\n"
    "htm#shimen\n"
    "NOCHK\n",
    // 30
    "西日本新聞\n"
    "http://www.nishinippon.co.jp/\n"
    "news/,.htm\n"
    "NOCHK\n",
    // 31
    "長崎新聞\n"
    "http://www.nagasaki-np.co.jp/\n"
    "news/,.html#\n"
    "NOCHK\n",
    // 32
    "佐賀新聞\n"
    "http://www.saga-s.co.jp/\n"
    "/publ/flash,No\n"
    "NOCHK\n",
    // 33
    "熊本日日新聞\n"
    "http://www.kumanichi.com/index.htm\n"
    "news/local/main,.htm\n"
    "NOCHK\n",
    // 34
    "南日本新聞\n"
    "http://www.373news.com/2000picup/picup.htm\n"
    "/picup_,.htm\n"
    "NOCHK\n",
    // 35
    "琉球新報\n"
    "http://www.ryukyushimpo.co.jp/\n"
    "news,.html\n"
    "NOCHK\n",
    // 36
    "沖縄タイムス\n"
    "http://www.okinawatimes.co.jp/\n"
    "day/,.html#\n"
    "NOCHK\n",
    // 37
    "デイリースポーツ\n"
    "http://www.daily.co.jp/\n"
    "/tp,.shtml\n"
    "NOCHK\n",
    // 38
    "速報/ニッカン\n"
    "http://www.nikkansports.com/news/flash/top-fl.html\n"
    "f-,-tp,html\n"
    "NOCHK\n",
    // 39
    "速報/サンスポ\n"
    "http://www.sanspo.com/upper.html\n"
    "fr_sokuho\n"
    "NOCHK\n",
    // 40
    "スポーツナビ\n"
    "http://www.sportsnavi.com/\n"
    "/\n"
    "NOCHK\n",
    // 41
    "ASCII24(秋葉)\n"
    "http://www.ascii24.example/akiba/\n"
    "/akiba/,.htm\n"
    "NOCHK\n",
    // 42
    "impress(秋葉）\n"
    "http://www.watch.impress.co.jp/akiba/\n"
    "hotline/,.html\n"
    "NOCHK\n",
    // 43
    "impress(BROADBAND Watch)\n"
    "http://www.watch.impress.co.jp/broadband/\n"
    "/broadband/news/20,htm\n"
    "NOCHK\n",
    // 44
    "impress(AV Watch)\n"
    "http://www.watch.impress.co.jp/av/\n"
    "docs/20,htm\n"
    "NOCHK\n",
    // 45
    "impress(INTERNET Watch)\n"
    "http://www.watch.impress.co.jp/internet/\n"
    "www/article/20,htm\n"
    "NOCHK\n",
    // 46
    "impress(PC Watch)\n"
    "http://www.watch.impress.co.jp/pc/\n"
    "docs/,20,htm\n"
    "NOCHK\n",
    // 47
    "impress(GAME Watch)\n"
    "http://www.watch.impress.co.jp/game/\n"
    "docs/,20,htm\n"
    "NOCHK\n",
    // 48
    "BizTech\n"
    "http://www.nikkeibp.example/biztech/topics.shtml\n"
    "/wcs/show\n"
    "NOCHK\n",
    // 49
    "ZDNetニュース速報\n"
    "http://www.zdnet.co.jp/news/bursts/index.html\n"
    "/news/,.html\n"
    "NOCHK\n",
    // 50
    "ZDNet(GAME SPOT)\n"
    "http://www.zdnet.co.jp/gamespot/\n"
    "gsnews/,news,html\n"
    "NOCHK\n",
    // 51
    "CNET Japan\n"
    "http://japan.cnet.com/News/\n"
    "News/,Item/,.html\n"
    "NOCHK\n",
    // 52
    "www.soft-news.example\n"
    "http://www.soft-news.example/\n"
    "soft.phtml?id=\n"
    "NOCHK\n",
    // 53
    "Lycos/社会\n"
    "http://news.lycos.example/society/\n"
    "story.html?\n"
    "NOCHK\n",
    // 54
    "Lycos/政治\n"
    "http://news.lycos.example/politics/\n"
    "story.html?\n"
    "NOCHK\n",
    // 55
    "Lycos/国際\n"
    "http://news.lycos.example/world/\n"
    "story.html?\n"
    "NOCHK\n",
    // 56
    "Lycos/経済\n"
    "http://news.lycos.example/business/\n"
    "story.html?\n"
    "NOCHK\n",
    // 57
    "Lycos/エンターテイメント\n"
    "http://news.lycos.example/entertainment/\n"
    "story.html?\n"
    "NOCHK\n",
    // 58
    "Lycos/スポーツ\n"
    "http://news.lycos.example/sports/\n"
    "story.html?\n"
    "NOCHK\n",
    // 59
    "Lycos/コンピュータ\n"
    "http://news.lycos.example/comp/\n"
    "story.html?\n"
    "NOCHK\n",
    // 60
    "Lycos/企業\n"
    "http://news.lycos.example/company/\n"
    "story.html?\n"
    "NOCHK\n",
    // 61
    "Lycos/マーケット\n"
    "http://news.lycos.example/market/\n"
    "story.html?\n"
    "NOCHK\n",
    // 62
    "Yahoo!ニュース（トップ）\n"
    "http://headlines.yahoo.co.jp/hl\n"
    "http://headlines.yahoo.co.jp/hl?a=\n"
    "NOCHK\n",
    // 63
    "LINKSCOUT更新\n"
    "http://linkscout.example/update.html\n"
    "linkscout,.zip\n"
    "NOCHK\n",
};

std::string defaultSiteFileText() {
  std::string out;
  for (std::string_view preset : kPresetSites) {
    for (char c : preset) {
      if (c == '\n') out += '\r';
      out += c;
    }
  }
  return out;
}

bool writeDefaultSiteFile(std::string_view path) { return rewriteFile(path, defaultSiteFileText()); }

}  // namespace ls
