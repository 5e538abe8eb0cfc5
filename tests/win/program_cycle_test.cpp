// The program's main job end to end under Wine: the real main window runs
// check cycles over sites served on 127.0.0.1, one of them failing.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp932.h"
#include "common/file_io.h"
#include "engine/check_cycle.h"
#include "engine/new_list.h"
#include "engine/site_log.h"
#include "net/fetch_texts.h"
#include "net_peers.h"
#include "settings/ini_file.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "test_http_server.h"
#include "test_program.h"
#include "win_test_support.h"

namespace {

using lstest::Reply;

std::string page(const std::vector<std::string>& headlines) {
  std::string body = "<html><body>\n";
  int n = 0;
  for (const std::string& h : headlines) body += "<a href=\"/n/" + std::to_string(++n) + ".html\">" + h + "</a>\n";
  body += "</body></html>\n";
  return lstest::httpResponse(200, "OK", body, "Content-Type: text/html; charset=Shift_JIS\r\n");
}

class ProgramCycle : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    refused_ = "http://127.0.0.1:" + std::to_string(lstest::TestHttpServer::refusedPort()) + "/";
  }

  void TearDown() override {
    if (lstest::programSlot()) {
      if (HWND main = lstest::program().mainWindow()) SendMessageW(main, WM_CLOSE, 0, 0);
      lstest::pumpFor(50);
      lstest::resetProgram();
    }
    WSACleanup();
  }

  void start() {
    ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"速報A", server_.url("/a"), "", true},
                                                        {"故障B", refused_, "", true},
                                                        {"地方C", server_.url("/c"), "/n/", true}}));
    ASSERT_TRUE(startWithHook());
  }

  // Message boxes are answered here, and printed.
  bool startWithHook() {
    ls::Program& p = lstest::makeProgram(dir_.path());
    p.ui.messageHook = [this](const std::string& text) {
      messages_.push_back(text);
      std::fprintf(stderr, "message box: %s\n", ls::cp932ToUtf8(text).c_str());
    };
    return p.start();
  }

  void check() {
    ls::Program& a = lstest::program();
    SendMessageW(a.mainWindow(), WM_COMMAND, IDM_CHECK, 0);
    ASSERT_TRUE(lstest::pumpUntil([&] { return a.cycle.idle(); }, 30000));
  }

  std::vector<std::string> column(int c) {
    std::vector<std::string> out;
    for (int r = 0; r < lstest::program().news.count(); ++r) out.push_back(lstest::program().news.text(r, c));
    return out;
  }
  std::vector<int> icons() {
    std::vector<int> out;
    for (int r = 0; r < lstest::program().news.count(); ++r) out.push_back(lstest::program().news.icon(r));
    return out;
  }

  lstest::WinTempDir dir_;
  lstest::TestHttpServer server_;
  std::string refused_;
  std::vector<std::string> messages_;
};

using Strings = std::vector<std::string>;

TEST_F(ProgramCycle, TwoCyclesWithAFailingSiteInBetween) {
  server_.route("/a", Reply{page({"台風3号が接近しています", "新駅の開業日が決まる"})});
  server_.route("/c", Reply{page({"地方の祭りがにぎわう"})});
  start();
  ls::Program& a = lstest::program();
  // The first run made the working directories and the settings file.
  EXPECT_TRUE(ls::isDirectory(dir_.file("LOG")));
  EXPECT_TRUE(ls::isDirectory(dir_.file("TEMPORARY")));
  EXPECT_TRUE(ls::isPlainFile(dir_.file("LINKSCOUT.ini")));

  check();
  EXPECT_EQ(column(0), (Strings{"地方の祭りがにぎわう", "新駅の開業日が決まる", "台風3号が接近しています"}));
  EXPECT_EQ(column(1), (Strings{"地方C", "速報A", "速報A"}));
  EXPECT_EQ(column(2)[0], server_.url("/n/1.html"));
  EXPECT_EQ(icons(), (std::vector<int>{0, 0, 0}));
  // The failing site stays visible; the cycle went on past it.
  EXPECT_EQ(a.ui.status(0), "故障B");
  EXPECT_EQ(a.ui.status(1), ls::kMsgSocketError);
  EXPECT_EQ(server_.requestCount("/c"), 1);
  EXPECT_TRUE(messages_.empty());
  // Paints held back during the check come back on their own.
  lstest::pumpFor(300);
  EXPECT_TRUE(IsWindowVisible(lstest::statusBar()));

  std::string newList = lstest::fileBytes(ls::newListPath(a.ctx));
  EXPECT_EQ(newList.substr(0, newList.find("\r\n")), "地方の祭りがにぎわう");

  // The pages change: one headline more on A, C the same.
  server_.route("/a", Reply{page({"大雨で交通機関が乱れる", "台風3号が接近しています", "新駅の開業日が決まる"})});
  check();
  EXPECT_EQ(column(0), (Strings{"大雨で交通機関が乱れる", "地方の祭りがにぎわう", "新駅の開業日が決まる",
                                "台風3号が接近しています"}));
  EXPECT_EQ(icons(), (std::vector<int>{0, 4, 4, 4}));
  EXPECT_EQ(lstest::fileBytes(ls::siteLogPaths(a.ctx, "速報A").all),
            "台風3号が接近しています\r\n" + server_.url("/n/1.html") + "\r\n新駅の開業日が決まる\r\n" +
                server_.url("/n/2.html") + "\r\n大雨で交通機関が乱れる\r\n" + server_.url("/n/1.html") + "\r\n");
  EXPECT_EQ(lstest::fileBytes(ls::siteLogPaths(a.ctx, "地方C").current),
            "地方の祭りがにぎわう\r\n" + server_.url("/n/1.html") + "\r\n");
  EXPECT_EQ(lstest::fileBytes(ls::siteLogPaths(a.ctx, "地方C").previous),
            "地方の祭りがにぎわう\r\n" + server_.url("/n/1.html") + "\r\n");
  // The failing site never had a log.
  EXPECT_FALSE(ls::isPlainFile(ls::siteLogPaths(a.ctx, "故障B").previous));

  // The timer is armed again with the interval (10 minutes by default):
  // nothing starts by itself in the next second.
  int before = server_.requestCount("/a");
  lstest::pumpFor(1000);
  EXPECT_EQ(server_.requestCount("/a"), before);

  // Closing keeps the list and the layout.
  SendMessageW(a.mainWindow(), WM_CLOSE, 0, 0);
  lstest::pumpFor(50);
  EXPECT_EQ(a.mainWindow(), nullptr);
  std::string saved = lstest::fileBytes(ls::newListPath(a.ctx));
  EXPECT_EQ(saved.substr(0, saved.find("\r\n")), "大雨で交通機関が乱れる");
  EXPECT_NE(ls::readProfileString(a.ctx.settingsPath, "Window", "right", ""), "");
  EXPECT_EQ(ls::readProfileString(a.ctx.settingsPath, "LISTVIEW", "TITLE", ""), "250");
}

TEST_F(ProgramCycle, NewsIsNoticedOutsideTheWindowAndTheNoticeLeadsBackToIt) {
  server_.route("/a", Reply{page({"台風3号が接近しています"})});
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"速報A", server_.url("/a"), "", true}}));
  ASSERT_TRUE(startWithHook());
  ls::Program& a = lstest::program();
  SetForegroundWindow(a.mainWindow());
  check();
  EXPECT_FALSE(lstest::trayIconExists(a.mainWindow()));  // the user is looking at the list
  SendMessageW(a.mainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  server_.route("/a", Reply{page({"新駅の開業日が決まる", "台風3号が接近しています"})});
  check();
  // The tray setting is off: an icon is added for the notice, the taskbar button stays.
  EXPECT_TRUE(lstest::trayIconExists(a.mainWindow()));
  EXPECT_NE(GetWindowLongPtrW(a.mainWindow(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  // The user scrolled away meanwhile; the click shows the newest row, chosen.
  ListView_SetItemState(lstest::newsList(), 1, LVIS_SELECTED, LVIS_SELECTED);
  SendMessageW(a.mainWindow(), WM_TRAYNOTIFY, 1, NIN_BALLOONUSERCLICK);
  EXPECT_FALSE(IsIconic(a.mainWindow()));
  EXPECT_TRUE(IsWindowVisible(a.mainWindow()));
  EXPECT_EQ(ListView_GetNextItem(lstest::newsList(), -1, LVNI_SELECTED), 0);
  EXPECT_EQ(ListView_GetSelectedCount(lstest::newsList()), 1u);
  EXPECT_EQ(a.news.text(0, 0), "新駅の開業日が決まる");
  EXPECT_FALSE(lstest::trayIconExists(a.mainWindow()));
}

TEST_F(ProgramCycle, ACycleOverPlainAndSecureSitesOneOfThemMoved) {
  std::string plain = lstest::peerUrl("http", "127.0.0.1", "http", "/page.html");
  std::string secure = lstest::peerUrl("https", "localhost", "tls_good", "/dir/page.html");
  std::string moved = lstest::peerUrl("http", "127.0.0.1", "http", "/to-https");
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"平文", plain, "headline", true},
                                                      {"暗号", secure, "headline", true},
                                                      {"移転", moved, "headline", true}}));
  ASSERT_TRUE(startWithHook());
  check();
  std::string secureRoot = lstest::peerUrl("https", "localhost", "tls_good", "/");
  std::string plainRoot = lstest::peerUrl("http", "127.0.0.1", "http", "/");
  EXPECT_EQ(column(1), (Strings{"移転", "移転", "暗号", "暗号", "平文", "平文"}));
  EXPECT_EQ(column(0)[0], "secure headline number two");
  // The moved site's links are read against the page that answered.
  EXPECT_EQ(column(2), (Strings{secureRoot + "item2.html", secureRoot + "dir/item1.html", secureRoot + "item2.html",
                                secureRoot + "dir/item1.html", plainRoot + "item2.html", plainRoot + "item1.html"}));
  ls::Program& a = lstest::program();
  EXPECT_EQ(a.ui.status(0), "移転");
  EXPECT_EQ(a.ui.status(1), ls::kMsgSiteMoved + secure);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ProgramCycle, DeviceNamesTheNewsListsNameErrorPagesAndEmptyPagesStopNothing) {
  const char* names[] = {"CON", "aux.news", "Nul ", "COM1", "新着リスト"};
  std::vector<ls::Site> sites;
  for (const char* name : names) {
    std::string path = "/" + std::to_string(sites.size());
    server_.route(path, Reply{page({std::string("headline of ") + name})});
    sites.push_back({name, server_.url(path), "", true});
  }
  server_.route("/empty", Reply{page({})});
  // A 500: a 503 would keep the site out of the next check (its own test).
  server_.route("/busy", Reply{lstest::httpResponse(500, "Busy", "<a href=\"/x\">come back later please</a>")});
  sites.push_back({"空F", server_.url("/empty"), "", true});
  sites.push_back({"混雑E", server_.url("/busy"), "", true});
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), sites));
  ASSERT_TRUE(startWithHook());
  ls::Program& a = lstest::program();
  check();
  EXPECT_EQ(column(1), (Strings{"新着リスト", "COM1", "Nul ", "aux.news", "CON"}));
  EXPECT_TRUE(messages_.empty());
  // The error page is no news and leaves no log; its status stays at the end.
  EXPECT_EQ(a.ui.status(0), "混雑E");
  EXPECT_EQ(a.ui.status(1), ls::msgHttpStatus(500));
  EXPECT_FALSE(ls::isPlainFile(ls::siteLogPaths(a.ctx, "混雑E").current));
  for (const char* file : {"CON_.all.log", "aux_.news.log", "Nul_ .log", "COM1_.all.log", "新着リスト_.all.log"})
    EXPECT_TRUE(ls::isPlainFile(dir_.file("LOG\\" + std::string(file)))) << file;

  // The next cycle finds nothing new, and the page without links is the last word.
  server_.route("/busy", Reply{page({"the busy site is back"})});
  sites.pop_back();
  sites.insert(sites.end() - 1, {"混雑E", server_.url("/busy"), "", true});
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), sites));
  check();
  EXPECT_EQ(column(0).size(), 6u);
  EXPECT_EQ(column(0)[0], "the busy site is back");
  EXPECT_EQ(a.ui.status(0), "空F");
  EXPECT_EQ(a.ui.status(1), ls::kMsgDetectFailed);
  EXPECT_TRUE(messages_.empty());
  // The news list's file holds the list and nothing else.
  SendMessageW(a.mainWindow(), WM_CLOSE, 0, 0);
  lstest::pumpFor(50);
  lstest::resetProgram();
  ASSERT_TRUE(startWithHook());
  EXPECT_EQ(column(0).size(), 6u);
}

TEST_F(ProgramCycle, TheNewListComesBackAtTheNextStartAndIsAged) {
  server_.route("/a", Reply{page({"最初の見出しです", "二つ目の見出しです"})});
  server_.route("/c", Reply{page({})});
  start();
  check();
  ASSERT_EQ(lstest::program().news.count(), 2);
  SendMessageW(lstest::program().mainWindow(), WM_CLOSE, 0, 0);
  lstest::pumpFor(50);
  lstest::resetProgram();

  ASSERT_TRUE(startWithHook());
  EXPECT_EQ(column(0), (Strings{"二つ目の見出しです", "最初の見出しです"}));
  EXPECT_EQ(icons(), (std::vector<int>{4, 4}));
}

// The fetch's inactivity timer is a timer of the main window like the
// interval timer: its tick ends the stalled fetch, and the cycle goes on with
// the next site instead of starting again.
TEST_F(ProgramCycle, AStalledSiteTimesOutAndTheCycleGoesOn) {
  server_.route("/a", Reply{"", lstest::Behaviour::kStall});
  server_.route("/c", Reply{page({"地方の見出しが届く"})});
  start();
  ls::Program& a = lstest::program();
  for (int k = 0; k < ls::kParallelMax; ++k) a.fetchers.slot(k).setTimeoutMs(300);
  check();
  EXPECT_EQ(server_.requestCount("/a"), 1);
  EXPECT_EQ(server_.requestCount("/c"), 1);
  EXPECT_EQ(column(0), Strings{"地方の見出しが届く"});
  EXPECT_EQ(a.ui.status(0), "故障B");  // the last site that failed
  lstest::pumpFor(500);
  EXPECT_TRUE(a.cycle.idle());
  EXPECT_EQ(server_.requestCount("/a"), 1);  // no tick started another cycle
}

TEST_F(ProgramCycle, CheckDuringAFetchStopsTheCycle) {
  server_.route("/a", Reply{"", lstest::Behaviour::kStall});
  start();
  ls::Program& a = lstest::program();
  SendMessageW(a.mainWindow(), WM_COMMAND, IDM_CHECK, 0);
  ASSERT_TRUE(lstest::pumpUntil([&] { return server_.requestCount("/a") == 1; }, 10000));
  auto fetching = [&] {
    for (int k = 0; k < ls::kParallelMax; ++k)
      if (a.fetchers.slot(k).inFlight()) return true;
    return false;
  };
  EXPECT_TRUE(fetching());
  SendMessageW(a.mainWindow(), WM_COMMAND, IDM_TRAY_CHECK, 0);
  EXPECT_FALSE(fetching());
  EXPECT_FALSE(a.cycle.idle());
  EXPECT_EQ(a.ui.status(0), "");
  EXPECT_EQ(a.ui.status(1), "");
  lstest::pumpFor(300);
  EXPECT_EQ(server_.requestCount("/c"), 0);
}

}  // namespace
