// The log switcher window and the tray icon of the real program under Wine.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "engine/new_list.h"
#include "engine/site_log.h"
#include "program_fixture.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "win/wide_win.h"

namespace {

using Strings = std::vector<std::string>;

class LogWindow : public lstest::ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"),
                                  {{"朝刊", "http://a/", "", false}, {"a/b", "http://b/", "", false}}));
    lstest::putFile(dir_.file("LINKSCOUT.ini"), "[SETTING]\r\nLIST=50\r\n");
  }
  void writeLog(const std::string& site, const std::string& bytes) {
    ls::makeDirectory(dir_.file("LOG"));
    lstest::putFile(dir_.file("LOG\\" + site + ".all.log"), bytes);
  }
  HWND list() { return GetDlgItem(lstest::program().logs.window(), IDC_LOGLIST); }
  Strings rows() {
    Strings out;
    for (int i = 0; i < ListView_GetItemCount(list()); ++i) {
      wchar_t text[256] = {};
      ListView_GetItemText(list(), i, 0, text, 256);
      out.push_back(ls::fromWide(text));
    }
    return out;
  }
  void click(int row) {
    selectRow(list(), row);
    NMITEMACTIVATE n{};
    n.hdr.hwndFrom = list();
    n.hdr.idFrom = IDC_LOGLIST;
    n.hdr.code = NM_CLICK;
    n.iItem = row;
    SendMessageW(lstest::program().logs.window(), WM_NOTIFY, IDC_LOGLIST, reinterpret_cast<LPARAM>(&n));
  }
  void logCommand(int id) { SendMessageW(lstest::program().logs.window(), WM_COMMAND, id, 0); }
};

TEST_F(LogWindow, ChooseAndComeBack) {
  writeLog("朝刊", "h1 朝の見出し\r\nhttp://a/1\r\nh2 昼の見出し\r\nhttp://a/2\r\n");
  ASSERT_TRUE(start());
  addRow("新しい見出しです", 0, "http://n/1");
  command(IDM_LOGS);
  ASSERT_NE(lstest::program().logs.window(), nullptr);
  wchar_t caption[32];
  GetWindowTextW(lstest::program().logs.window(), caption, 32);
  EXPECT_EQ(ls::fromWide(caption), "ログ切り替え");
  EXPECT_EQ(rows(), (Strings{"新着リスト", "朝刊"}));

  click(1);
  EXPECT_EQ(headlines(), (Strings{"h2 昼の見出し", "h1 朝の見出し"}));
  EXPECT_EQ(lstest::program().news.icon(0), 5);
  selectRow(list(), 0);
  logCommand(IDM_LOG_OPEN);
  EXPECT_EQ(headlines(), Strings{"新しい見出しです"});
  EXPECT_EQ(lstest::fileBytes(dir_.file("LOG\\朝刊.all.log")),
            "h1 朝の見出し\r\nhttp://a/1\r\nh2 昼の見出し\r\nhttp://a/2\r\n");

  // Deleting: the new-list is refused, a site's logs go.
  selectRow(list(), 0);
  logCommand(IDM_LOG_DELETE);
  EXPECT_EQ(messages_.back(), "新着リストは削除できません。");
  selectRow(list(), 1);
  logCommand(IDM_LOG_DELETE);
  EXPECT_FALSE(ls::isPlainFile(dir_.file("LOG\\朝刊.all.log")));
  EXPECT_EQ(rows(), Strings{"新着リスト"});
}

TEST_F(LogWindow, ANameWithASlashIsListedByItsName) {
  writeLog("a-b", "headline of a-b\r\nu\r\n");
  ASSERT_TRUE(start());
  command(IDM_LOGS);
  EXPECT_EQ(rows(), (Strings{"新着リスト", "a/b"}));
}

TEST_F(LogWindow, ClicksDuringACycleChangeNothing) {
  writeLog("朝刊", "h1 朝の見出し\r\nhttp://a/1\r\n");
  ls::writeAllSites(dir_.file("site.ck"), {{"朝刊", "http://127.0.0.1:1/", "", true}});
  ASSERT_TRUE(start());
  addRow("新しい見出しです", 0, "http://n/1");
  command(IDM_LOGS);
  // A check whose fetch is still in flight keeps the cycle running.
  command(IDM_CHECK);
  ASSERT_FALSE(lstest::program().cycle.idle());
  click(1);
  EXPECT_EQ(headlines(), Strings{"新しい見出しです"});
}

TEST_F(LogWindow, ReopensWhereItWasAtTheNextStart) {
  ASSERT_TRUE(start());
  command(IDM_LOGS);
  SetWindowPos(lstest::program().logs.window(), nullptr, 60, 70, 150, 260, SWP_NOZORDER);
  stop();  // closing with the window open
  EXPECT_EQ(setting("LOGWINDOW", "SHOW"), "1");
  EXPECT_EQ(setting("LOGWINDOW", "left"), "60");
  EXPECT_EQ(setting("LOGWINDOW", "bottom"), "330");
  ASSERT_TRUE(start());
  HWND w = lstest::program().logs.window();
  ASSERT_NE(w, nullptr);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 60);
  EXPECT_EQ(r.top, 70);
  EXPECT_EQ(r.right - r.left, 150);
  // Closed with its close box: the handle goes, the program records it closed.
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(lstest::program().logs.window(), nullptr);
  stop();
  EXPECT_EQ(setting("LOGWINDOW", "SHOW"), "0");
}

class Tray : public lstest::ProgramFixture {
 protected:
  bool iconExists() { return lstest::trayIconExists(lstest::program().mainWindow()); }
};

TEST_F(Tray, TrayModeHidesOnMinimiseAndComesBack) {
  lstest::putFile(dir_.file("LINKSCOUT.ini"), "[SETTING]\r\nTASKTRAY=1\r\n");
  ASSERT_TRUE(start());
  HWND main = lstest::program().mainWindow();
  EXPECT_TRUE(iconExists());
  EXPECT_EQ(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  EXPECT_TRUE(IsWindowVisible(main));  // shown at start-up all the same
  RECT before;
  GetWindowRect(main, &before);

  SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_FALSE(IsIconic(main));
  SendMessageW(main, WM_TRAYNOTIFY, 1, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(main));
  SendMessageW(main, WM_TRAYNOTIFY, 1, WM_LBUTTONDOWN);  // no toggle
  EXPECT_TRUE(IsWindowVisible(main));
  RECT after;
  GetWindowRect(main, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.right, before.right);

  // The shell restarted and lost the icon: the program adds it again.
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = main;
  nid.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
  EXPECT_FALSE(iconExists());
  SendMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(iconExists());

  // "LINKSCOUT終了" from the tray menu closes the program and removes the icon.
  command(IDM_TRAY_EXIT);
  EXPECT_EQ(lstest::program().mainWindow(), nullptr);
  nid.hWnd = main;
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &nid));
}

TEST_F(Tray, NormalModeMinimisesAndLeavesNoIcon) {
  ASSERT_TRUE(start());
  HWND main = lstest::program().mainWindow();
  EXPECT_FALSE(iconExists());
  EXPECT_NE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  // Even with the key switched on behind the program's back, a window with
  // no icon is never hidden.
  ls::writeProfileString(ini(), "SETTING", "TASKTRAY", "1");
  SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(main));
  command(IDM_TRAY_SHOW);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_TRUE(IsWindowVisible(main));
}

}  // namespace
