// The real main window under Wine: first run and second run, closing, the
// status-bar layout, opening, copying and clearing entries.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp932.h"
#include "common/file_io.h"
#include "engine/news_entry.h"
#include "program_fixture.h"
#include "settings/ini_file.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "win/dpi_win.h"
#include "win/wide_win.h"
#include "win_test_support.h"

namespace {

class MainWindow : public lstest::ProgramFixture {
 protected:
  // What an earlier run stored: the window at 40,30-640,430, the headline
  // column 321 wide and the list font `fontHeight` high.
  void storeLayout(const char* fontHeight) {
    ls::writeProfileString(ini(), "Window", "left", "40");
    ls::writeProfileString(ini(), "Window", "top", "30");
    ls::writeProfileString(ini(), "Window", "right", "640");
    ls::writeProfileString(ini(), "Window", "bottom", "430");
    ls::writeProfileString(ini(), "LISTVIEW", "TITLE", "321");
    ls::writeProfileString(ini(), "LIST_FONT", "height", fontHeight);
  }
};

TEST_F(MainWindow, FirstRunInAnEmptyDirectory) {
  ASSERT_TRUE(start());
  ls::Program& a = lstest::program();
  EXPECT_TRUE(ls::isDirectory(dir_.file("TEMPORARY")));
  EXPECT_TRUE(ls::isDirectory(dir_.file("LOG")));
  std::string sites = lstest::fileBytes(dir_.file("site.ck"));
  std::size_t lines = 0;
  for (char c : sites) lines += c == '\n';
  EXPECT_EQ(lines, 252u);
  ls::SiteList list = ls::readAllSites(dir_.file("site.ck"), ls::kCheckLimits);
  EXPECT_EQ(list.sites.size(), 63u);
  // The first-run settings, in their order.
  std::string text = lstest::fileBytes(ini());
  std::size_t window = text.find("[Window]"), listview = text.find("[LISTVIEW]"), setting = text.find("[SETTING]"),
              font = text.find("[LIST_FONT]");
  ASSERT_NE(font, std::string::npos);
  EXPECT_LT(window, listview);
  EXPECT_LT(listview, setting);
  EXPECT_LT(setting, font);
  // Nothing was restored: the created size and column widths stay.
  RECT r;
  GetWindowRect(a.mainWindow(), &r);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_EQ(ListView_GetColumnWidth(lstest::newsList(), 0), 250);
  EXPECT_EQ(ListView_GetColumnWidth(lstest::newsList(), 2), 200);
  wchar_t cls[32];
  GetClassNameW(a.mainWindow(), cls, 32);
  EXPECT_STREQ(cls, L"wndmain");
  GetClassNameW(GetWindow(a.mainWindow(), GW_OWNER), cls, 32);
  EXPECT_STREQ(cls, L"wnddummy");
  EXPECT_EQ(GetDlgCtrlID(lstest::newsList()), IDC_NEWSLIST);
  EXPECT_EQ(GetDlgCtrlID(lstest::statusBar()), IDC_STATUSBAR);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindow, SecondRunRestoresAndClosingWritesTheLayout) {
  storeLayout("-20");
  ls::writeProfileString(ini(), "LISTVIEW", "SITE", "77");
  ls::writeProfileString(ini(), "LISTVIEW", "URL", "150");
  ASSERT_TRUE(start());
  ls::Program& a = lstest::program();
  RECT r;
  GetWindowRect(a.mainWindow(), &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 400);
  EXPECT_EQ(ListView_GetColumnWidth(lstest::newsList(), 0), 321);
  EXPECT_EQ(ListView_GetColumnWidth(lstest::newsList(), 1), 77);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(lstest::newsList(), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -20);

  // The user drags a column and moves the window; closing keeps both.
  ListView_SetColumnWidth(lstest::newsList(), 2, 222);
  SetWindowPos(a.mainWindow(), nullptr, 100, 120, 500, 300, SWP_NOZORDER);
  SendMessageW(a.mainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(setting("LISTVIEW", "URL"), "222");
  EXPECT_EQ(setting("LISTVIEW", "TITLE"), "321");
  EXPECT_EQ(setting("Window", "left"), "100");
  EXPECT_EQ(setting("Window", "right"), "600");
  EXPECT_EQ(setting("Window", "bottom"), "420");
  EXPECT_EQ(setting("LOGWINDOW", "SHOW"), "0");
}

TEST_F(MainWindow, OnAMonitorOfTwiceTheDpiTheListScalesAndTheFileKeeps96DpiUnits) {
  storeLayout("-12");
  ASSERT_TRUE(start());
  ls::Program& a = lstest::program();
  ASSERT_EQ(ls::windowDpi(a.mainWindow()), 96);  // the test prefix's screen
  auto fontHeight = [&] {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(lstest::newsList(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
  };
  auto iconSize = [&] {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(ListView_GetImageList(lstest::newsList(), LVSIL_SMALL), &cx, &cy);
    return cx;
  };
  auto height = [](HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return static_cast<int>(r.bottom - r.top);
  };
  EXPECT_EQ(iconSize(), 16);
  int barAt96 = height(lstest::statusBar());

  RECT suggested{80, 60, 1280, 860};
  SendMessageW(a.mainWindow(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(fontHeight(), -24);
  EXPECT_EQ(iconSize(), 32);
  EXPECT_EQ(ListView_GetColumnWidth(lstest::newsList(), 0), 642);
  // Room for text twice as high as at 96 DPI, where the bar is 20 pixels.
  EXPECT_EQ(barAt96, 20);
  EXPECT_GE(height(lstest::statusBar()), 32);
  RECT client, window;
  GetClientRect(a.mainWindow(), &client);
  GetWindowRect(a.mainWindow(), &window);
  EXPECT_EQ(window.left, 80);
  EXPECT_EQ(window.right, 1280);
  // The list ends where the status bar begins.
  EXPECT_EQ(height(lstest::newsList()), client.bottom - height(lstest::statusBar()));

  SendMessageW(a.mainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(setting("LISTVIEW", "TITLE"), "321");
  EXPECT_EQ(setting("LIST_FONT", "height"), "-12");
  EXPECT_EQ(setting("Window", "left"), "40");
  EXPECT_EQ(setting("Window", "right"), "640");
  EXPECT_EQ(setting("Window", "bottom"), "430");
}

TEST_F(MainWindow, APlacementOffEveryScreenComesBackOnOne) {
  ls::writeProfileString(ini(), "Window", "left", "30000");
  ls::writeProfileString(ini(), "Window", "top", "30000");
  ls::writeProfileString(ini(), "Window", "right", "30500");
  ls::writeProfileString(ini(), "Window", "bottom", "30300");
  ASSERT_TRUE(start());
  RECT r;
  GetWindowRect(lstest::program().mainWindow(), &r);
  EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(r.right - r.left, 500);
}

TEST_F(MainWindow, ADirectoryNamedLikeTheSiteFileEndsTheStart) {
  ASSERT_TRUE(CreateDirectoryW(ls::toWide(dir_.file("site.ck")).c_str(), nullptr));
  EXPECT_FALSE(start());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "ファイルの作成に失敗しました。");
  EXPECT_EQ(lstest::program().mainWindow(), nullptr);
  EXPECT_EQ(lstest::program().startFailureCode(), -1);
}

TEST_F(MainWindow, StatusBarPartsFollowTheWidth) {
  ASSERT_TRUE(start());
  ls::Program& a = lstest::program();
  for (int width : {1000, 105}) {
    SendMessageW(a.mainWindow(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, 300));
    int edges[2] = {};
    ASSERT_EQ(SendMessageW(lstest::statusBar(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], width / 10 * 3);
    EXPECT_EQ(edges[1], width);
  }
}

TEST_F(MainWindow, OpeningAnEntryChangesItsIconAndOpensOnlyWebAddresses) {
  ASSERT_TRUE(start());
  ls::Program& a = lstest::program();
  std::string longHeadline = std::string(700, 'h');
  addRow(longHeadline, 4, "http://a.example/1");
  addRow("keyword headline", 2, "HTTPS://b.example/2");
  addRow("script link", 0, "javascript:alert(1)");
  addRow("local file", 0, "file:///C:/Windows/notepad.exe");
  addRow("a site log row", 5, "http://c.example/3");

  command(IDM_OPEN);  // nothing selected: nothing happens
  EXPECT_TRUE(opened_.empty());
  EXPECT_EQ(a.news.icon(0), 4);

  const int after[] = {1, 3, 1, 1, 5};
  for (int row = 0; row < 5; ++row) {
    select(row);
    command(IDM_OPEN);
    EXPECT_EQ(a.news.icon(row), after[row]) << row;
  }
  EXPECT_EQ(opened_, (std::vector<std::string>{"http://a.example/1", "HTTPS://b.example/2", "http://c.example/3"}));
  // Opening again changes nothing more, and the long headline stays whole.
  select(0);
  command(IDM_OPEN);
  EXPECT_EQ(a.news.icon(0), 1);
  EXPECT_EQ(a.news.text(0, 0), longHeadline);
}

TEST_F(MainWindow, CopyingPutsBothTextFormsOnTheClipboard) {
  ASSERT_TRUE(start());
  addRow("台風3号が接近", 0, "http://a.example/ソ");
  select(0);
  for (int id : {IDM_COPY_HEADLINE, IDM_COPY_URL}) {
    command(id);
    std::string expected = id == IDM_COPY_HEADLINE ? "台風3号が接近" : "http://a.example/ソ";
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE wide = GetClipboardData(CF_UNICODETEXT);
    HANDLE narrow = GetClipboardData(CF_TEXT);
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(narrow, nullptr);
    std::wstring w(static_cast<const wchar_t*>(GlobalLock(wide)));
    GlobalUnlock(wide);
    std::string n(static_cast<const char*>(GlobalLock(narrow)));
    GlobalUnlock(narrow);
    CloseClipboard();
    EXPECT_EQ(ls::fromWide(w), expected);
    // The narrow form is the system's own, in its code page (Shift_JIS only
    // on a Japanese system), made by Windows from the Unicode text.
    std::wstring ww = ls::toWide(expected);
    int bytes = WideCharToMultiByte(CP_ACP, 0, ww.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, ww.c_str(), -1, ansi.data(), bytes, nullptr, nullptr);
    EXPECT_EQ(n, ansi.c_str());
  }
}

TEST_F(MainWindow, KeysOfTheMainWindowGoThroughTheLoop) {
  ASSERT_TRUE(start());
  ls::Program& a = lstest::program();
  addRow("キーで開く見出し", 0, "http://k.example/1");
  select(0);
  auto press = [&](UINT key, bool control, bool shift = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    MSG msg{};
    msg.hwnd = lstest::newsList();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    ls::dispatchMessage(msg, a.keys());
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    SetKeyboardState(state);
    lstest::pumpFor(20);
  };
  auto clipboard = [] {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return std::string("<closed>");
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(GlobalLock(h));
      GlobalUnlock(h);
    }
    CloseClipboard();
    return ls::fromWide(text);
  };
  press(VK_RETURN, false);
  EXPECT_EQ(opened_, std::vector<std::string>{"http://k.example/1"});
  press('C', true);
  EXPECT_EQ(clipboard(), "キーで開く見出し");
  press('C', true, true);
  EXPECT_EQ(clipboard(), "http://k.example/1");
  press('L', true);
  EXPECT_TRUE(a.logs.isOpen());
  press('F', true);
  EXPECT_NE(lstest::dialogWith(IDC_SEARCH_TEXT), nullptr);
  press(VK_F5, false);  // the 63 presets are unchecked: the cycle runs through at once
  EXPECT_TRUE(ls::isPlainFile(a.ctx.logDir() + "新着リスト.all.log"));
  EXPECT_EQ(a.news.count(), 1);  // no key deletes anything
}

TEST_F(MainWindow, ClearEmptiesTheListAndCheckRunsACycle) {
  ASSERT_TRUE(start());
  ls::Program& a = lstest::program();
  addRow("one headline here", 0, "http://a/");
  addRow("two headline here", 1, "http://b/");
  command(IDM_CLEAR);
  EXPECT_EQ(a.news.count(), 0);
  // The 63 presets are all unchecked: a check runs through them at once.
  command(IDM_CHECK);
  EXPECT_TRUE(a.cycle.idle());
  EXPECT_EQ(a.cycle.siteCursor(), 0);
  EXPECT_TRUE(ls::isPlainFile(a.ctx.logDir() + "新着リスト.all.log"));
}

// The list control holds no rows: it shows the program's, and keeps its
// selection by row number, which must follow the row as rows come in at the
// top and leave at the bottom.
TEST_F(MainWindow, TheListShowsTheProgramsRowsAndTheSelectionFollowsItsRowAtTheCap) {
  lstest::putFile(ini(), "[SETTING]\r\nLIST=4\r\n");
  ASSERT_TRUE(start());
  ls::Program& a = lstest::program();
  auto add = [&](ls::NewsBatch& batch, int n) {
    std::string url = "http://h/" + std::to_string(n);
    batch.add("見出し" + std::to_string(n), url, "サイト", ls::kIconNew);
  };
  {
    ls::NewsBatch batch(a.ctx);
    for (int n = 1; n <= 4; ++n) add(batch, n);
  }
  select(1);
  EXPECT_EQ(cell(lstest::newsList(), 1, 0), "見出し3");
  {
    ls::NewsBatch batch(a.ctx);
    add(batch, 5);
    add(batch, 6);
  }
  ASSERT_EQ(ListView_GetItemCount(lstest::newsList()), 4);
  const char* shown[] = {"見出し6", "見出し5", "見出し4", "見出し3"};
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(cell(lstest::newsList(), row, 0), shown[row]);
    EXPECT_EQ(cell(lstest::newsList(), row, 1), "サイト");
  }
  EXPECT_EQ(cell(lstest::newsList(), 3, 2), "http://h/3");
  EXPECT_EQ(a.news.selectedRow(), 3);
  EXPECT_EQ(ListView_GetNextItem(lstest::newsList(), -1, LVNI_FOCUSED), 3);
  // The selected row leaves at the bottom: nothing stays selected.
  {
    ls::NewsBatch batch(a.ctx);
    add(batch, 7);
  }
  EXPECT_EQ(a.news.selectedRow(), -1);
  EXPECT_EQ(cell(lstest::newsList(), 0, 0), "見出し7");
  command(IDM_CLEAR);
  EXPECT_EQ(ListView_GetItemCount(lstest::newsList()), 0);
}

}  // namespace
