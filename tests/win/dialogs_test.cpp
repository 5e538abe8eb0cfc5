// The add-site wizard, the search dialog and the about box of the real
// program under Wine. Modal dialogs are driven from inside their own loops.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <sstream>

#include "common/file_io.h"
#include "engine/opml_file.h"
#include "net/fetch_texts.h"
#include "net_peers.h"
#include "program_fixture.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "test_http_server.h"
#include "win/wide_win.h"
#include "wizard/headline_suggest.h"
#include "wizard/link_listing.h"

namespace {

using Strings = std::vector<std::string>;

// One script per modal dialog, run by a thread timer inside its loop.
std::function<void()> g_scripts[2];

template <int N>
void CALLBACK runScript(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto script = std::move(g_scripts[N]);
  if (script) script();
}

template <int N>
void later(std::function<void()> script) {
  g_scripts[N] = std::move(script);
  SetTimer(nullptr, 0, 30, runScript<N>);
}

// With LINKSCOUT_SCREENSHOT_DIR set, saves the window as it shows on the
// screen as a BMP file there (for the README's pictures).
void screenshot(HWND window, const char* name) {
  const char* dir = std::getenv("LINKSCOUT_SCREENSHOT_DIR");
  if (!dir) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  lstest::pumpFor(300);
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  std::string pixels(stride * static_cast<DWORD>(h), '\0');
  GetDIBits(mem, bitmap, 0, static_cast<UINT>(h), &pixels[0], reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes += pixels;
  ls::rewriteFile(std::string(dir) + "\\" + name, bytes);
}


// 取得 in the wizard: the page at `url` is listed with `rows` rows.
void fetchListing(HWND w, const std::string& url, std::size_t rows) {
  HWND list = GetDlgItem(w, IDC_WIZ_LIST);
  SetDlgItemTextW(w, IDC_WIZ_URL, ls::toWide(url).c_str());
  SendMessageW(w, WM_COMMAND, IDC_WIZ_FETCH, 0);
  ASSERT_TRUE(lstest::pumpUntil([&] { return ListView_GetItemCount(list) > 0; }, 10000));
  ASSERT_EQ(ListView_GetItemCount(list), static_cast<int>(rows));
}

// A made-up newspaper's front page, laid out as real ones are: navigation,
// the headline list, a ranking, specials and the footer.
std::string newsFrontPage() {
  std::string p =
      "<!DOCTYPE html><html lang=\"ja\"><head><meta charset=\"Shift_JIS\"><title>みなと新聞デジタル</title>"
      "<style>.title{font-weight:bold}</style></head><body>\n"
      "<header><h1><a href=\"/\" class=\"logo\">みなと新聞デジタル</a></h1><ul class=\"gnav\">\n";
  const char* nav[][2] = {{"/national/", "社会・事件"}, {"/politics/", "政治の動き"}, {"/business/", "経済・市場"},
                          {"/international/", "国際ニュース"}, {"/sports/", "スポーツ速報"}};
  for (auto& n : nav) p += std::string("<li><a href=\"") + n[0] + "\">" + n[1] + "</a></li>\n";
  p += "</ul></header>\n<main><h2>最新ニュース</h2><ul class=\"headline-list\">\n";
  const char* news[] = {"港の再開発計画、市議会が修正案を可決", "新型観測衛星の打ち上げ、来月に延期",
                        "県内の最低賃金、過去最大の引き上げ幅", "高校駅伝、地元校が初の全国切符",
                        "市電の新型車両、年明けから運行開始", "豪雨被害の復旧工事、年度内完了へ",
                        "円相場、一時１ドル＝１３８円台に", "国際映画祭の審査員に地元出身監督"};
  int id = 10014500;
  for (int i = 0; i < 8; ++i) {
    p += "<li><a href=\"/articles/2026120" + std::to_string(8 - i / 5) + "/k" + std::to_string(id + i) +
         ".html\" class=\"title\">" + news[i] + "</a><span class=\"date\">12月" + std::to_string(8 - i / 5) +
         "日</span></li>\n";
  }
  p += "</ul><h2>よく読まれている記事</h2><ol class=\"ranking\">\n";
  for (int i = 0; i < 3; ++i)
    p += "<li><a href=\"/articles/20261207/k" + std::to_string(id - 40 + i) + ".html?ref=rank\">" +
         std::string(i == 0 ? "冬の電力需給、今年も綱渡り" : i == 1 ? "私鉄２社が運賃値上げを申請" : "年末の渋滞予測、帰省ピークは２９日") +
         "</a></li>\n";
  p += "</ol><aside><a href=\"/special/election2026/\">特集：衆院選２０２６</a>"
       "<a href=\"/photo/gallery/\">写真で見るニュース</a></aside></main>\n"
       "<footer><a href=\"/about/\">会社案内・採用情報</a><a href=\"/privacy/\">個人情報の取り扱い</a>"
       "<a href=\"https://ad.example.jp/click?id=3\">広告：年末キャンペーン実施中</a></footer></body></html>\n";
  return p;
}

class Dialogs : public lstest::ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"既存", "http://old/", "/n/", true}}));
    ASSERT_TRUE(start());
    lstest::program().ui.askHook = [this](const std::string& text) {
      asked_.push_back(text);
      return IDOK;
    };
  }
  static bool isSelected(HWND list, int row) { return ListView_GetItemState(list, row, LVIS_SELECTED) != 0; }

  // Opens the settings and, from them, the wizard; `script` runs inside the
  // wizard's loop and closes it. The settings close with `closeWith`. True
  // when the script ran.
  bool inWizard(const std::function<void(HWND)>& script, int closeWith = IDC_SET_CANCEL) {
    bool ran = false;
    later<0>([&] {
      HWND settings = lstest::dialogWith(IDC_SET_TAB);
      ASSERT_NE(settings, nullptr);
      later<1>([&] {
        HWND w = lstest::dialogWith(IDC_WIZ_LIST);
        ASSERT_NE(w, nullptr);
        ran = true;
        script(w);
      });
      press(settings, IDC_SITE_WIZARD);
      press(settings, closeWith);
    });
    command(IDM_SETTINGS);
    return ran;
  }

  Strings asked_;
};

TEST_F(Dialogs, WizardFetchesListsSuggestsChecksAndAdds) {
  lstest::TestHttpServer server;
  server.route("/top", lstest::Reply{lstest::httpResponse(
                           200, "OK",
                           "<a href=/news/2002/1.html>first headline</a>\n<a href=/ad/2.html>an advertisement</a>\n"
                           "<a href = ../news/2002/3.html>Alpha Beta gamma</a>\n")});
  bool ranWizard = false;
  later<0>([&] {
    HWND settings = lstest::dialogWith(IDC_SET_TAB);
    ASSERT_NE(settings, nullptr);
    later<1>([&] {
      HWND w = lstest::dialogWith(IDC_WIZ_LIST);
      ASSERT_NE(w, nullptr);
      ranWizard = true;
      HWND list = GetDlgItem(w, IDC_WIZ_LIST);
      press(w, IDC_WIZ_SUGGEST);
      EXPECT_EQ(asked_.back(), "URLを入力して[取得]ボタンを押下してください。");
      press(w, IDC_WIZ_CHECK);
      EXPECT_EQ(asked_.back(), "抽出文字列を入力してください。");
      set(w, IDC_WIZ_URL, server.url("/top"));
      press(w, IDC_WIZ_FETCH);
      ASSERT_TRUE(lstest::pumpUntil([&] { return ListView_GetItemCount(list) == 3; }, 10000));
      // The last link of the page on top, blanks gone, relative links kept.
      EXPECT_EQ(cell(list, 0, 0), "AlphaBetagamma");
      EXPECT_EQ(cell(list, 0, 1), "news/2002/3.html");
      EXPECT_EQ(cell(list, 2, 1), "/news/2002/1.html");
      EXPECT_EQ(lstest::program().news.count(), 0);  // the wizard's page never reaches the scan

      ListView_SetCheckState(list, 2, TRUE);
      press(w, IDC_WIZ_SUGGEST);
      EXPECT_EQ(get(w, IDC_WIZ_EXTRACT), "/news/2002/1.html");
      // Two ticked headlines: the strings they share, and a tick on every
      // link those strings take (the advertisement stays unticked).
      ListView_SetCheckState(list, 0, TRUE);
      std::size_t before = asked_.size();
      press(w, IDC_WIZ_SUGGEST);
      EXPECT_EQ(asked_.size(), before);
      EXPECT_EQ(get(w, IDC_WIZ_EXTRACT), "news/");
      EXPECT_TRUE(ListView_GetCheckState(list, 0));
      EXPECT_FALSE(ListView_GetCheckState(list, 1));
      EXPECT_TRUE(ListView_GetCheckState(list, 2));
      ListView_SetCheckState(list, 1, TRUE);  // all three share only ".html"-like strings
      press(w, IDC_WIZ_SUGGEST);
      for (int r = 0; r < 3; ++r) EXPECT_TRUE(ListView_GetCheckState(list, r)) << r;

      set(w, IDC_WIZ_EXTRACT, "news,2002");
      ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
      press(w, IDC_WIZ_CHECK);
      EXPECT_TRUE(isSelected(list, 0));
      EXPECT_FALSE(isSelected(list, 1));
      EXPECT_TRUE(isSelected(list, 2));

      press(w, IDC_WIZ_ADD);  // no name yet
      EXPECT_EQ(asked_.back(), "入力されてない項目があります。");
      ASSERT_NE(lstest::dialogWith(IDC_WIZ_LIST), nullptr);
      set(w, IDC_WIZ_NAME, "新しいサイト");
      press(w, IDC_WIZ_ADD);
    });
    press(settings, IDC_SITE_WIZARD);
    EXPECT_EQ(lstest::dialogWith(IDC_WIZ_LIST), nullptr);
    HWND sites = GetDlgItem(settings, IDC_SITE_LIST);
    EXPECT_EQ(cell(sites, 0, 0), "新しいサイト");
    EXPECT_FALSE(ListView_GetCheckState(sites, 0));
    press(settings, IDC_SET_OK);
  });
  command(IDM_SETTINGS);
  EXPECT_TRUE(ranWizard);
  ls::SiteList saved = ls::readAllSites(dir_.file("site.ck"), ls::kCheckLimits);
  ASSERT_EQ(saved.sites.size(), 2u);
  EXPECT_EQ(saved.sites[0].name, "新しいサイト");
  EXPECT_EQ(saved.sites[0].url, server.url("/top"));
  EXPECT_EQ(saved.sites[0].extract, "news,2002");
  EXPECT_FALSE(saved.sites[0].checked);
}

TEST_F(Dialogs, SiteListImportsAReadersOpmlAndExportsItsOwn) {
  // A feed reader's export: folders, a feed the list holds already.
  ls::rewriteFile(dir_.file("reader.opml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"1.0\"><head><title>Subscriptions</title>"
                  "</head><body><outline text=\"News\" title=\"News\"><outline text=\"Old\" type=\"rss\" "
                  "xmlUrl=\"http://old/\"/><outline text=\"Tech feed\" title=\"Tech\" type=\"rss\" "
                  "xmlUrl=\"http://tech/rss\" htmlUrl=\"http://tech/\"/></outline><outline text=\"Top\" "
                  "xmlUrl=\"http://top/feed\"/></body></opml>\n");
  ls::rewriteFile(dir_.file("broken.xml"), "<opml><body><outline text=\"x\" xmlUrl=\"http://x/\">");
  std::vector<std::string> picks = {dir_.file("broken.xml"), dir_.file("reader.opml"), dir_.file("out.opml")};
  std::size_t next = 0;
  lstest::program().seams.chooseSitesFile = [&](bool, std::wstring& path) {
    if (next == picks.size()) return false;
    path = ls::toWide(picks[next++]);
    return true;
  };
  later<0>([&] {
    HWND settings = lstest::dialogWith(IDC_SET_TAB);
    ASSERT_NE(settings, nullptr);
    HWND sites = GetDlgItem(settings, IDC_SITE_LIST);
    press(settings, IDC_SITE_IMPORT);  // broken: told, nothing added
    EXPECT_EQ(asked_, Strings{ls::kMsgBadOpml});
    EXPECT_EQ(ListView_GetItemCount(sites), 1);
    press(settings, IDC_SITE_IMPORT);
    ASSERT_EQ(ListView_GetItemCount(sites), 3);
    EXPECT_EQ(cell(sites, 0, 0), "Tech");
    EXPECT_EQ(cell(sites, 0, 1), "http://tech/rss");
    EXPECT_EQ(cell(sites, 0, 2), "http");
    EXPECT_EQ(cell(sites, 1, 0), "Top");
    EXPECT_FALSE(ListView_GetCheckState(sites, 0));
    EXPECT_TRUE(ListView_GetCheckState(sites, 2));  // the site that was there
    press(settings, IDC_SITE_EXPORT);
    press(settings, IDC_SET_CANCEL);
  });
  command(IDM_SETTINGS);
  EXPECT_EQ(next, picks.size());
  ls::OpmlRead back = ls::readOpml(ls::readWholeFile(dir_.file("out.opml")).value_or(""));
  ASSERT_TRUE(back.ok);
  ASSERT_EQ(back.sites.size(), 3u);
  EXPECT_EQ(back.sites[0].name, "Tech");
  EXPECT_EQ(back.sites[2].name, "既存");
  EXPECT_EQ(back.sites[2].extract, "/n/");
  EXPECT_TRUE(back.sites[2].checked);
}

TEST_F(Dialogs, SuggestLearnsTheHeadlineListOfANewsPage) {
  lstest::TestHttpServer server;
  const std::string page = newsFrontPage();
  server.route("/", lstest::Reply{lstest::httpResponse(200, "OK", page)});
  bool ran = inWizard([&](HWND w) {
    HWND list = GetDlgItem(w, IDC_WIZ_LIST);
    const std::vector<ls::ListedLink> rows = ls::listPageLinks(page);
    ASSERT_NO_FATAL_FAILURE(fetchListing(w, server.url("/"), rows.size()));
    // Three headlines of the list, ticked by hand.
    std::vector<std::size_t> ticked;
    for (std::size_t r = 0; r < rows.size() && ticked.size() < 3; ++r)
      if (rows[r].link.find("/k1001450") != std::string::npos && r % 2 == 0) ticked.push_back(r);
    ASSERT_EQ(ticked.size(), 3u);
    for (std::size_t r : ticked) ListView_SetCheckState(list, static_cast<int>(r), TRUE);
    set(w, IDC_WIZ_NAME, "みなと新聞");
    screenshot(w, "wizard_suggest_before.bmp");
    press(w, IDC_WIZ_SUGGEST);
    EXPECT_TRUE(asked_.empty());
    // The strings linkscout-scan --suggest prints, and a tick on every
    // article, the ranking's too, and on nothing else.
    EXPECT_EQ(get(w, IDC_WIZ_EXTRACT), ls::suggestHeadlineStrings(rows, ticked));
    EXPECT_EQ(get(w, IDC_WIZ_EXTRACT), "/articles/");
    int articles = 0;
    for (int r = 0; r < ListView_GetItemCount(list); ++r) {
      const bool article = cell(list, r, 1).rfind("/articles/", 0) == 0;
      articles += article;
      EXPECT_EQ(ListView_GetCheckState(list, r) != 0, article) << cell(list, r, 1);
    }
    EXPECT_EQ(articles, 11);
    screenshot(w, "wizard_suggest_after.bmp");
    press(w, IDCANCEL);
  });
  EXPECT_TRUE(ran);
}

// A real news page (not kept in the repository: scripts/real-pages brings
// it into build/real_pages, or the shared folder holds it): three marked
// headlines ticked by hand, and 判別 ticks the page's headline list.
TEST_F(Dialogs, SuggestTicksTheHeadlineListOfARealPage) {
  const std::string data = LINKSCOUT_TEST_DATA_DIR;
  const std::string name = "www.itmedia.co.jp.html";
  std::string page;
  for (const char* dir : {"/../../build/real_pages/", "/../../../shared/real_pages/"})
    if (page.empty()) page = ls::readWholeFile(data + dir + name).value_or("");
  if (page.empty()) GTEST_SKIP() << "no real pages (scripts/real-pages brings them)";
  std::vector<std::string> marked;
  std::istringstream marks(ls::readWholeFile(data + "/real_pages/headlines.tsv").value_or(""));
  for (std::string line; std::getline(marks, line);)
    if (line.rfind(name + "\t", 0) == 0) marked.push_back(line.substr(name.size() + 1));
  ASSERT_GE(marked.size(), 10u);
  lstest::TestHttpServer server;
  server.route("/", lstest::Reply{lstest::httpResponse(200, "OK", page)});
  inWizard([&](HWND w) {
    HWND list = GetDlgItem(w, IDC_WIZ_LIST);
    const std::vector<ls::ListedLink> rows = ls::listPageLinks(page);
    ASSERT_NO_FATAL_FAILURE(fetchListing(w, server.url("/"), rows.size()));
    std::vector<std::size_t> ticked;
    for (std::size_t m : {std::size_t{1}, marked.size() / 2, marked.size() - 2})
      for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].link == marked[m]) {
          ticked.push_back(r);
          ListView_SetCheckState(list, static_cast<int>(r), TRUE);
          break;
        }
    ASSERT_EQ(ticked.size(), 3u);
    press(w, IDC_WIZ_SUGGEST);
    const std::string strings = get(w, IDC_WIZ_EXTRACT);
    EXPECT_EQ(strings, ls::suggestHeadlineStrings(rows, ticked));
    std::set<std::string> headlines, others;  // a link may be listed twice (picture and text)
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const bool on = ListView_GetCheckState(list, static_cast<int>(r)) != 0;
      EXPECT_EQ(on, ls::rowTaken(rows[r], strings)) << rows[r].link;
      const bool headline = std::find(marked.begin(), marked.end(), rows[r].link) != marked.end();
      if (on) (headline ? headlines : others).insert(rows[r].link);
    }
    std::printf("suggested on %s: %s takes %zu of %zu headlines and %zu other links\n", name.c_str(), strings.c_str(),
                headlines.size(), marked.size(), others.size());
    EXPECT_GE(headlines.size() * 10, marked.size() * 9);
    EXPECT_LE(others.size() * 10, headlines.size());
    screenshot(w, "wizard_suggest_real.bmp");
    press(w, IDCANCEL);
  });
}

TEST_F(Dialogs, WizardFetchesAnHttpsPageThroughARedirect) {
  bool listed = false;
  inWizard([&](HWND w) {
    HWND list = GetDlgItem(w, IDC_WIZ_LIST);
    set(w, IDC_WIZ_URL, lstest::peerUrl("http", "127.0.0.1", "http", "/to-https"));
    press(w, IDC_WIZ_FETCH);
    listed = lstest::pumpUntil([&] { return ListView_GetItemCount(list) == 2; }, 10000);
    if (listed) {
      EXPECT_EQ(cell(list, 0, 0), "secureheadlinenumbertwo");
      EXPECT_EQ(cell(list, 1, 1), "item1.html");
    }
    // An error page is not listed: the wizard says what the server answered.
    set(w, IDC_WIZ_URL, lstest::peerUrl("http", "127.0.0.1", "http", "/missing.html"));
    press(w, IDC_WIZ_FETCH);
    EXPECT_TRUE(lstest::pumpUntil([&] { return !asked_.empty(); }, 10000));
    EXPECT_EQ(asked_, Strings{ls::msgHttpStatus(404)});
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    SendMessageW(w, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_TRUE(listed) << lstest::program().ui.status(1);
}

TEST_F(Dialogs, SearchFromTheTopAndFromTheSelection) {
  for (const char* h : {"東京で雨が降る", "大阪は晴れ", "東京に雪が降る", "名古屋は曇り"}) addRow(h, 0, "http://u/東京");
  command(IDM_SEARCH);
  HWND d = lstest::dialogWith(IDC_SEARCH_TEXT);
  ASSERT_NE(d, nullptr);
  command(IDM_SEARCH);  // already open: the same window
  EXPECT_EQ(lstest::dialogWith(IDC_SEARCH_TEXT), d);
  HWND list = lstest::newsList();
  set(d, IDC_SEARCH_TEXT, "東京");
  press(d, IDC_SEARCH_FIRST);
  EXPECT_TRUE(isSelected(list, 0));
  press(d, IDC_SEARCH_NEXT);
  EXPECT_TRUE(isSelected(list, 2));
  EXPECT_FALSE(isSelected(list, 0));
  press(d, IDC_SEARCH_NEXT);  // no wrap
  EXPECT_EQ(asked_.back(), "指定された文字列は見つかりませんでした。");
  EXPECT_TRUE(isSelected(list, 2));
  set(d, IDC_SEARCH_TEXT, "http");  // URLs are not searched
  std::size_t before = asked_.size();
  press(d, IDC_SEARCH_FIRST);
  EXPECT_EQ(asked_.size(), before + 1);
  set(d, IDC_SEARCH_TEXT, "");
  press(d, IDC_SEARCH_NEXT);
  EXPECT_TRUE(isSelected(list, 3));
  // The dialog keys go through the message loop's dialog handling: Enter
  // in the edit is "最初から検索", Escape closes.
  set(d, IDC_SEARCH_TEXT, "大阪");
  SetFocus(GetDlgItem(d, IDC_SEARCH_TEXT));
  key(GetDlgItem(d, IDC_SEARCH_TEXT), VK_RETURN);
  EXPECT_TRUE(isSelected(list, 1));
  key(d, VK_ESCAPE);
  EXPECT_EQ(lstest::dialogWith(IDC_SEARCH_TEXT), nullptr);
}

TEST_F(Dialogs, WizardFetchWhileACycleFetchIsInFlight) {
  lstest::TestHttpServer server;
  server.route("/stall", lstest::Reply{"", lstest::Behaviour::kStall});
  server.route("/top", lstest::Reply{lstest::httpResponse(200, "OK", "<a href=/n/1.html>a wizard headline</a>")});
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"遅いサイト", server.url("/stall"), "", true}}));
  command(IDM_CHECK);
  ASSERT_TRUE(lstest::pumpUntil([&] { return server.requestCount("/stall") == 1; }, 10000));
  // The check's fetches are its own: the wizard's fetcher stays free.
  ASSERT_FALSE(lstest::program().fetchers.wizard().inFlight());
  ASSERT_TRUE(lstest::program().fetchers.slot(0).inFlight());
  bool ran = inWizard([&](HWND w) {
    set(w, IDC_WIZ_URL, server.url("/top"));
    press(w, IDC_WIZ_FETCH);  // the wizard's own fetch, beside the check's
    HWND list = GetDlgItem(w, IDC_WIZ_LIST);
    EXPECT_TRUE(lstest::pumpUntil([&] { return ListView_GetItemCount(list) == 1; }, 10000));
    EXPECT_EQ(server.requestCount("/top"), 1);
    EXPECT_TRUE(lstest::program().fetchers.slot(0).inFlight());
    press(w, IDCANCEL);
  });
  EXPECT_TRUE(ran);
  EXPECT_FALSE(lstest::program().cycle.idle());  // the check still waits for that site
}

TEST_F(Dialogs, AboutBoxOpensTheHomePageAndClosesOnlyWithOk) {
  bool ran = false;
  later<0>([&] {
    HWND d = lstest::dialogWith(IDC_ABOUT_OK);
    ASSERT_NE(d, nullptr);
    ran = true;
    EXPECT_EQ(GetWindowLongW(d, GWL_STYLE) & WS_CAPTION, WS_BORDER);  // no title bar
    press(d, IDC_ABOUT_HOME);
    press(d, IDC_ABOUT_HOME);
    press(d, IDCANCEL);  // Escape does nothing
    EXPECT_NE(lstest::dialogWith(IDC_ABOUT_OK), nullptr);
    press(d, IDC_ABOUT_OK);
  });
  command(IDM_ABOUT);
  EXPECT_TRUE(ran);
  EXPECT_EQ(lstest::dialogWith(IDC_ABOUT_OK), nullptr);
  EXPECT_EQ(opened_, (Strings{"http://linkscout.example/", "http://linkscout.example/"}));
  HBITMAP picture =
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"LINKSCOUT", IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(picture, nullptr);
  BITMAP info{};
  GetObjectW(picture, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 243);
  EXPECT_EQ(info.bmHeight, 231);
  DeleteObject(picture);
}

TEST_F(Dialogs, WizardOffersAPagesFeedsAndSwitchesToOneInOneStep) {
  lstest::TestHttpServer server;
  const std::string feedUrl = server.url("/feed.xml");
  server.route("/top", lstest::Reply{lstest::httpResponse(
                           200, "OK",
                           "<html><head><title>ひかり通信</title>\n"
                           "<link rel=\"alternate\" type=\"application/rss+xml\" title=\"ひかり通信 最新記事\" "
                           "href=\"/feed.xml\">\n"
                           "<link rel=\"alternate\" type=\"application/atom+xml\" title=\"ひかり通信 コラム\" "
                           "href=\"/atom.xml\"></head><body>\n"
                           "<a href=/news/1.html>新型バスの運行が始まる</a>\n<a href=/news/2.html>駅前の再開発が決定</a>\n"
                           "<a href=/about.html>ひかり通信について</a></body></html>\n",
                           "Content-Type: text/html; charset=Shift_JIS\r\n")});
  server.route("/feed.xml", lstest::Reply{lstest::httpResponse(
                                200, "OK",
                                "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<rss version=\"2.0\"><channel>\n"
                                "<item><title>路線バスの時刻が改正</title><link>/news/3.html</link></item>\n"
                                "<item><title>新型バスの運行が始まる</title><link>/news/1.html</link></item>\n"
                                "<item><title>&lt;b&gt;PR&lt;/b&gt; 夏の旅行特集です</title>"
                                "<link>http://ad.example/x</link></item>\n"
                                "</channel></rss>\n",
                                "Content-Type: application/rss+xml\r\n")});
  bool ranWizard = inWizard([&](HWND w) {
    HWND list = GetDlgItem(w, IDC_WIZ_LIST);
    set(w, IDC_WIZ_URL, server.url("/top"));
    press(w, IDC_WIZ_FETCH);
    ASSERT_TRUE(lstest::pumpUntil([&] { return ListView_GetItemCount(list) == 5; }, 10000));
    // The announced feeds first, then the page's links, the last on top.
    EXPECT_EQ(cell(list, 0, 0), "［フィードに切替］ひかり通信 最新記事");
    EXPECT_EQ(cell(list, 0, 1), feedUrl);
    EXPECT_EQ(cell(list, 1, 1), server.url("/atom.xml"));
    EXPECT_EQ(cell(list, 2, 1), "/about.html");
    screenshot(w, "wizard_feeds.bmp");

    // Choosing the first feed switches the new site to it.
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = list;
    activate.hdr.idFrom = IDC_WIZ_LIST;
    activate.hdr.code = LVN_ITEMACTIVATE;
    activate.iItem = 0;
    SendMessageW(w, WM_NOTIFY, IDC_WIZ_LIST, reinterpret_cast<LPARAM>(&activate));
    EXPECT_EQ(get(w, IDC_WIZ_URL), feedUrl);
    ASSERT_TRUE(lstest::pumpUntil([&] { return ListView_GetItemCount(list) == 3; }, 10000));
    EXPECT_EQ(cell(list, 0, 0), "PR 夏の旅行特集です");
    EXPECT_EQ(cell(list, 2, 0), "路線バスの時刻が改正");
    EXPECT_EQ(cell(list, 2, 1), server.url("/news/3.html"));
    EXPECT_EQ(get(w, IDC_WIZ_EXTRACT), "http");  // every item, unless narrowed
    // 確認 selects the items the check would take: each string in the
    // link or the headline.
    set(w, IDC_WIZ_EXTRACT, "/news/,バス");
    press(w, IDC_WIZ_CHECK);
    EXPECT_FALSE(isSelected(list, 0));
    EXPECT_TRUE(isSelected(list, 1));
    EXPECT_TRUE(isSelected(list, 2));
    screenshot(w, "wizard_feed_items.bmp");
    set(w, IDC_WIZ_NAME, "ひかり通信");
    press(w, IDC_WIZ_ADD);
  }, IDC_SET_OK);
  EXPECT_TRUE(ranWizard);
  ls::SiteList saved = ls::readAllSites(dir_.file("site.ck"), ls::kCheckLimits);
  ASSERT_EQ(saved.sites.size(), 2u);
  EXPECT_EQ(saved.sites[0].url, feedUrl);
  EXPECT_EQ(saved.sites[0].extract, "/news/,バス");
}

}  // namespace
