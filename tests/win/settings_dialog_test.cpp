// The settings dialog of the real program under Wine, driven from inside its
// own modal loop: values shown and written back, the site list editing, the
// colours, the tray question, Cancel and Escape.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "common/file_io.h"
#include "program_fixture.h"
#include "shell/executable_win.h"
#include "shell/resources/resource_ids.h"
#include "shell/startup_shortcut_win.h"
#include "sites/site_file.h"
#include "win/wide_win.h"

namespace {

using Strings = std::vector<std::string>;

std::function<void(HWND)> g_script;

void CALLBACK runScript(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND dialog = lstest::dialogWith(IDC_SET_TAB);
  if (!dialog) return;
  g_script(dialog);
  // A script that forgot to close the dialog must not hang the suite.
  if (lstest::dialogWith(IDC_SET_TAB)) SendMessageW(dialog, WM_COMMAND, IDC_SET_CANCEL, 0);
}

class SettingsDialog : public lstest::ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"),
                                  {{"一番目", "http://one/", "/n/", false}, {"二番目", "http://two/", "/m/", true}}));
    ASSERT_TRUE(start());
    lstest::program().ui.askHook = [this](const std::string& text) {
      asked_.push_back(text);
      return answer_;
    };
  }
  // Opens the dialog; `script` runs inside its modal loop.
  void run(std::function<void(HWND)> script) {
    g_script = std::move(script);
    SetTimer(nullptr, 0, 30, runScript);
    command(IDM_SETTINGS);
  }
  static HWND sites(HWND d) { return GetDlgItem(d, IDC_SITE_LIST); }
  static void clickRow(HWND d, int row) {
    selectRow(sites(d), row);
    NMHDR h{sites(d), IDC_SITE_LIST, static_cast<UINT>(NM_CLICK)};
    SendMessageW(d, WM_NOTIFY, IDC_SITE_LIST, reinterpret_cast<LPARAM>(&h));
  }

  Strings asked_;
  int answer_ = IDOK;
};

TEST_F(SettingsDialog, ShowsTheValuesAndOkWritesThemCorrected) {
  ls::writeProfileString(ini(), "SETTING", "SOUND", "10");
  bool seen = false;
  run([&](HWND d) {
    seen = true;
    wchar_t caption[64];
    GetWindowTextW(d, caption, 64);
    EXPECT_EQ(ls::fromWide(caption), "LINKSCOUT設定");
    EXPECT_EQ(get(d, IDC_SET_INTERVAL), "10");
    EXPECT_EQ(IsDlgButtonChecked(d, IDC_SET_SOUND), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_SET_PROXY_NAME)));
    // Page 0 is shown, the other pages' controls hidden.
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(d, IDC_SET_INTERVAL), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(GetDlgItem(d, IDC_SITE_LIST), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(GetDlgItem(d, IDC_SET_KEYWORD), GWL_STYLE) & WS_VISIBLE);
    set(d, IDC_SET_INTERVAL, "0");
    set(d, IDC_SET_LIST, "10");
    set(d, IDC_SET_KEYWORD, "台風,地震");
    SendDlgItemMessageW(d, IDC_SET_FONTCOLOR, CB_SETCURSEL, 2, 0);  // 青
    press(d, IDC_SET_OK);
  });
  ASSERT_TRUE(seen);
  EXPECT_EQ(lstest::dialogWith(IDC_SET_TAB), nullptr);
  EXPECT_EQ(setting("SETTING", "INTERVAL"), "1");
  EXPECT_EQ(setting("SETTING", "LIST"), "50");
  EXPECT_EQ(setting("SETTING", "SOUND"), "1");
  EXPECT_EQ(setting("SETTING", "KEYWORD"), "台風,地震");
  EXPECT_EQ(setting("LIST_FONT", "fontcolor"), "2");
  EXPECT_EQ(lstest::program().cycle.intervalText(), "1");
  EXPECT_EQ(ListView_GetTextColor(lstest::newsList()), RGB(0, 0, 255));
  EXPECT_TRUE(asked_.empty());
}

// Every control of the dialog, except the tab strip and the two buttons
// below it, is on exactly one page: none is left showing on every page and
// none is lost from all of them.
TEST_F(SettingsDialog, EachControlBelongsToExactlyOnePage) {
  std::map<HWND, int> pagesShowing;
  run([&](HWND d) {
    HWND tab = GetDlgItem(d, IDC_SET_TAB);
    for (int page = 0; page < TabCtrl_GetItemCount(tab); ++page) {
      TabCtrl_SetCurSel(tab, page);
      NMHDR h{tab, IDC_SET_TAB, static_cast<UINT>(TCN_SELCHANGE)};
      SendMessageW(d, WM_NOTIFY, IDC_SET_TAB, reinterpret_cast<LPARAM>(&h));
      for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(c);
        if (id == IDC_SET_TAB || id == IDC_SET_OK || id == IDC_SET_CANCEL) continue;
        pagesShowing[c] += (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
      }
    }
    press(d, IDC_SET_CANCEL);
  });
  ASSERT_GT(pagesShowing.size(), 40u);
  for (const auto& [control, pages] : pagesShowing) EXPECT_EQ(pages, 1) << GetDlgCtrlID(control);
}

TEST_F(SettingsDialog, StartWithWindowsIsTheStartupFoldersShortcut) {
  const std::wstring exe = ls::executablePath();
  ASSERT_TRUE(ls::setStartsWithWindows(exe, false));
  bool shown = true;
  run([&](HWND d) {
    shown = IsDlgButtonChecked(d, IDC_SET_STARTUP) == BST_CHECKED;
    CheckDlgButton(d, IDC_SET_STARTUP, BST_CHECKED);
    press(d, IDC_SET_OK);
  });
  EXPECT_FALSE(shown);
  EXPECT_TRUE(ls::startsWithWindows(exe));
  run([&](HWND d) {
    shown = IsDlgButtonChecked(d, IDC_SET_STARTUP) == BST_CHECKED;
    CheckDlgButton(d, IDC_SET_STARTUP, BST_UNCHECKED);
    press(d, IDC_SET_OK);
  });
  EXPECT_TRUE(shown);
  EXPECT_FALSE(ls::startsWithWindows(exe));
  EXPECT_TRUE(asked_.empty());
}

TEST_F(SettingsDialog, TheProxyGroupIsEnabledAndItsNameWritten) {
  run([&](HWND d) {
    for (int id : {IDC_SET_PROXY_GROUP, IDC_SET_PROXY_NONE, IDC_SET_PROXY_IE, IDC_SET_PROXY_NAMED})
      EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, id))) << id;
    EXPECT_EQ(IsDlgButtonChecked(d, IDC_SET_PROXY_NONE), BST_CHECKED);
    // The name is typed only for a named proxy.
    SendDlgItemMessageW(d, IDC_SET_PROXY_NAMED, BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_SET_PROXY_NAME)));
    set(d, IDC_SET_PROXY_NAME, "proxy.example:8080");
    SendDlgItemMessageW(d, IDC_SET_PROXY_IE, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_SET_PROXY_NAME)));
    SendDlgItemMessageW(d, IDC_SET_PROXY_NAMED, BM_CLICK, 0, 0);
    press(d, IDC_SET_OK);
  });
  EXPECT_EQ(setting("SETTING", "PROXY"), "2");
  EXPECT_EQ(setting("SETTING", "PROXYNAME"), "proxy.example:8080");
  // Opened again, the named proxy is chosen and its name can be edited.
  run([&](HWND d) {
    EXPECT_EQ(IsDlgButtonChecked(d, IDC_SET_PROXY_NAMED), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_SET_PROXY_NAME)));
    press(d, IDC_SET_CANCEL);
  });
}

TEST_F(SettingsDialog, EditingTheSiteListAndSavingIt) {
  run([&](HWND d) {
    ASSERT_EQ(ListView_GetItemCount(sites(d)), 2);
    EXPECT_TRUE(ListView_GetCheckState(sites(d), 1));
    clickRow(d, 1);
    EXPECT_EQ(get(d, IDC_SITE_NAME), "二番目");
    EXPECT_EQ(get(d, IDC_SITE_URL), "http://two/");
    // Add with an empty field: the message, nothing added, fields kept.
    set(d, IDC_SITE_EXTRACT, "");
    press(d, IDC_SITE_ADD);
    EXPECT_EQ(asked_.back(), "入力されてない項目があります。");
    EXPECT_EQ(ListView_GetItemCount(sites(d)), 2);
    EXPECT_EQ(get(d, IDC_SITE_NAME), "二番目");
    set(d, IDC_SITE_NAME, "三番目");
    set(d, IDC_SITE_URL, "http://three/");
    set(d, IDC_SITE_EXTRACT, "/x/");
    press(d, IDC_SITE_ADD);
    ASSERT_EQ(ListView_GetItemCount(sites(d)), 3);
    EXPECT_FALSE(ListView_GetCheckState(sites(d), 0));
    EXPECT_EQ(get(d, IDC_SITE_NAME), "");
    // Change keeps the row's check box and place.
    clickRow(d, 2);
    set(d, IDC_SITE_URL, "http://two.example/");
    press(d, IDC_SITE_CHANGE);
    EXPECT_EQ(asked_.back(), "変更してもいいですか？");
    EXPECT_TRUE(ListView_GetCheckState(sites(d), 2));
    // Check the new site, delete the first old one.
    ListView_SetCheckState(sites(d), 0, TRUE);
    selectRow(sites(d), 1);
    press(d, IDC_SITE_DELETE);
    EXPECT_EQ(asked_.back(), "削除してよろしいですか？");
    press(d, IDC_SET_OK);
  });
  ls::SiteList saved = ls::readAllSites(dir_.file("site.ck"), ls::kCheckLimits);
  ASSERT_EQ(saved.sites.size(), 2u);
  EXPECT_EQ(saved.sites[0].name, "三番目");
  EXPECT_TRUE(saved.sites[0].checked);
  EXPECT_EQ(saved.sites[1].url, "http://two.example/");
  EXPECT_TRUE(saved.sites[1].checked);
}

TEST_F(SettingsDialog, DeletingTheLastSiteAndChangingWithoutASelectionAreRefused) {
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"唯一", "http://only/", "/n/", false}}));
  run([&](HWND d) {
    press(d, IDC_SITE_DELETE);
    EXPECT_EQ(asked_.back(), "アイテムが選択されていません。");
    selectRow(sites(d), 0);
    press(d, IDC_SITE_DELETE);
    EXPECT_EQ(asked_.back(), "アイテムが１つしかありません。");
    ListView_SetItemState(sites(d), 0, 0, LVIS_SELECTED);
    set(d, IDC_SITE_NAME, "n");
    set(d, IDC_SITE_URL, "u");
    set(d, IDC_SITE_EXTRACT, "e");
    press(d, IDC_SITE_CHANGE);
    EXPECT_EQ(asked_.back(), "アイテムが選択されていません。");
    press(d, IDC_SET_OK);
  });
  EXPECT_EQ(ls::readAllSites(dir_.file("site.ck"), ls::kCheckLimits).sites.size(), 1u);
}

TEST_F(SettingsDialog, CancelAndEscapeKeepEveryFile) {
  std::string sitesBefore = lstest::fileBytes(dir_.file("site.ck"));
  std::string iniBefore = lstest::fileBytes(ini());
  for (int close : {IDC_SET_CANCEL, IDCANCEL}) {
    run([&](HWND d) {
      set(d, IDC_SET_INTERVAL, "77");
      ListView_SetCheckState(sites(d), 0, TRUE);
      selectRow(sites(d), 0);
      press(d, IDC_SITE_DELETE);
      press(d, close);
    });
    EXPECT_EQ(lstest::dialogWith(IDC_SET_TAB), nullptr);
    EXPECT_EQ(lstest::fileBytes(dir_.file("site.ck")), sitesBefore);
    EXPECT_EQ(lstest::fileBytes(ini()), iniBefore);
    EXPECT_EQ(lstest::program().cycle.intervalText(), "10");
  }
}

TEST_F(SettingsDialog, TheTrayQuestion) {
  answer_ = IDCANCEL;
  run([&](HWND d) {
    CheckDlgButton(d, IDC_SET_TASKTRAY, BST_CHECKED);
    press(d, IDC_SET_OK);
  });
  ASSERT_EQ(asked_.size(), 1u);
  EXPECT_EQ(asked_[0].rfind("タスクトレイの設定はLINKSCOUT再起動後に有効になります。", 0), 0u);
  EXPECT_EQ(setting("SETTING", "TASKTRAY"), "0");
  EXPECT_NE(lstest::program().mainWindow(), nullptr);

  answer_ = IDOK;
  run([&](HWND d) {
    CheckDlgButton(d, IDC_SET_TASKTRAY, BST_CHECKED);
    set(d, IDC_SET_INTERVAL, "30");
    press(d, IDC_SET_OK);
  });
  EXPECT_EQ(setting("SETTING", "TASKTRAY"), "1");
  EXPECT_EQ(setting("SETTING", "INTERVAL"), "30");
  // The program ends: the quit message is waiting in the queue.
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(SettingsDialog, ASiteFileThatFailedToLoadIsNeverOverwritten) {
  ASSERT_TRUE(DeleteFileW(ls::toWide(dir_.file("site.ck")).c_str()));
  ASSERT_TRUE(CreateDirectoryW(ls::toWide(dir_.file("site.ck")).c_str(), nullptr));
  run([&](HWND d) {
    EXPECT_EQ(ListView_GetItemCount(sites(d)), 0);
    set(d, IDC_SET_INTERVAL, "33");
    press(d, IDC_SET_OK);
  });
  ASSERT_FALSE(asked_.empty());
  EXPECT_EQ(asked_[0], "ファイルが開けません。");
  EXPECT_TRUE(ls::isDirectory(dir_.file("site.ck")));
  EXPECT_EQ(setting("SETTING", "INTERVAL"), "33");  // the other settings were written
}

}  // namespace
