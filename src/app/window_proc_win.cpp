// The main window procedure: each message goes to one small handler.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_win.h"
#include "app/layout.h"
#include "app/main_window_win.h"
#include "app/tray_win.h"
#include "logs/log_switcher_win.h"
#include "dialogs/about_win.h"
#include "dialogs/search_win.h"
#include "settings/settings_dialog_win.h"
#include "common/file_io.h"
#include "engine/engine_context.h"
#include "engine/new_list.h"
#include "resources/resource_ids.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "sites/first_run.h"

namespace ls {

namespace {

// Runs for the owner window first, which prepares the directory; the main
// window finds everything in place.
constexpr const char* kMsgCannotCreateFile = "ファイルの作成に失敗しました。";

LRESULT onCreate(HWND) {
  CoInitialize(nullptr);
  App& a = app();
  if (!siteFileReady(prepareApplicationDirectory(a.ctx.appDir))) {
    // Before the main window exists: no owner, and the program ends with -1.
    if (a.ui.messageHook) {
      a.ui.messageHook(kMsgCannotCreateFile);
    } else {
      showMessage(nullptr, kMsgCannotCreateFile);
    }
    a.startFailureCode = -1;
    return -1;  // creation fails and the start ends
  }
  return 0;
}

void onSize(int width, int height, WPARAM wParam, LPARAM lParam) {
  App& a = app();
  if (a.newsList) {
    SetWindowPos(a.newsList, nullptr, 0, 0, width, height > 20 ? height - 20 : 0, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (a.statusBar) {
    std::array<int, 2> edges = statusPartEdges(width);
    SendMessageW(a.statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges.data()));
    SendMessageW(a.statusBar, WM_SIZE, wParam, lParam);
  }
}

void onClose() {
  App& a = app();
  CoUninitialize();
  if (a.shown.isNewList()) saveNewList(a.ctx);
  saveLayout();
  writeProfileString(a.ctx.settingsPath, kLOGWINDOW, kSHOW, a.logSwitcher ? "1" : "0");
  DestroyWindow(a.main);
}

void onDestroy() {
  App& a = app();
  removeTrayIcon();
  a.fetcher.close();
  KillTimer(a.main, IDT_INTERVAL);
  KillTimer(a.main, IDT_NEWLIST_SAVE);
  if (a.images) ImageList_Destroy(a.images);
  a.images = nullptr;
  if (a.listFont) DeleteObject(a.listFont);
  a.listFont = nullptr;
  if (a.newsList) DestroyWindow(a.newsList);
  a.newsList = nullptr;
  a.news.attach(nullptr);
  a.statusBar = nullptr;
  a.ui.attach(nullptr, nullptr);
  CoUninitialize();
  a.main = nullptr;
  PostQuitMessage(0);
}

void onCommand(HWND window, int id) {
  App& a = app();
  switch (id) {
    case IDM_EXIT:
    case IDM_TRAY_EXIT:
      SendMessageW(window, WM_CLOSE, 0, 0);
      break;
    case IDM_CHECK:
    case IDM_TRAY_CHECK:
      SendMessageW(window, WM_TIMER, IDT_INTERVAL, 0);
      break;
    case IDM_TRAY_SHOW:
      showMainWindow();
      break;
    case IDM_LOGS:
      openLogSwitcher();
      break;
    case IDM_SETTINGS:
    case IDM_TRAY_SETTINGS:
      runSettingsDialog();
      break;
    case IDM_SEARCH:
      openSearchDialog();
      break;
    case IDM_ABOUT:
      runAboutDialog();
      break;
    case IDM_COPY_URL:
      copySelectedColumn(2);
      break;
    case IDM_COPY_HEADLINE:
      copySelectedColumn(0);
      break;
    case IDM_OPEN:
      openSelectedEntry();
      break;
    case IDM_CLEAR:
      a.news.clear();
      break;
    default:
      break;
  }
}

void onNotify(const NMHDR* header) {
  if (header->idFrom != IDC_NEWSLIST) return;
  if (header->code == NM_DBLCLK) openSelectedEntry();
  if (header->code == NM_RCLICK) showNewsContextMenu();
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  App& a = app();
  if (message == WM_CREATE) return onCreate(window);
  // The owner window shares this procedure but is never more than an owner.
  if (window != a.main) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      onSize(LOWORD(lParam), HIWORD(lParam), wParam, lParam);
      return 0;
    case WM_CLOSE:
      onClose();
      return 0;
    case WM_DESTROY:
      onDestroy();
      return 0;
    case WM_COMMAND:
      onCommand(window, LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      onNotify(reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_TIMER:
      // The fetch's own timer has a callback and never gets here.
      if (wParam == IDT_INTERVAL) a.cycle->start();
      if (wParam == IDT_NEWLIST_SAVE) a.cycle->saveTimerTicked();
      return 0;
    case WM_HOSTLOOKUP:
      a.fetcher.onHostLookup(wParam, lParam);
      return 0;
    case WM_SOCKETEVENT:
      a.fetcher.onSocketEvent(wParam, lParam);
      return 0;
    case WM_TRAYNOTIFY:
      onTrayNotify(lParam);
      return 0;
    case WM_SYSCOMMAND:
      if (hideOnMinimise(wParam)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      if (message == taskbarCreatedMessage()) {
        onTaskbarCreated();
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace ls
