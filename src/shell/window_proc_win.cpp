// The main window's and the owner window's procedures: each message goes to
// one small handler, each timer by its id.
#include <windows.h>
#include <commctrl.h>

#include "shell/app_win.h"
#include "settings/window_layout.h"
#include "shell/main_window_win.h"
#include "shell/tray_win.h"
#include "shell/window_dpi_win.h"
#include "win/window_object_win.h"
#include "shell/dialogs/log_switcher_win.h"
#include "shell/dialogs/about_win.h"
#include "shell/dialogs/search_win.h"
#include "shell/dialogs/settings_dialog_win.h"
#include "common/file_io.h"
#include "engine/engine_context.h"
#include "engine/new_list.h"
#include "shell/resources/resource_ids.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "sites/first_run.h"

namespace ls {

namespace {

constexpr const char* kMsgCannotCreateFile = "ファイルの作成に失敗しました。";

// The owner window is created first and prepares the directory; the main
// window finds everything in place.
LRESULT onOwnerCreate(App& a) {
  if (!siteFileReady(prepareApplicationDirectory(a.ctx.appDir))) {
    // Before the main window exists: no owner, and the program ends with -1.
    a.ui.message(kMsgCannotCreateFile);
    a.startFailureCode = -1;
    return -1;  // creation fails and the start ends
  }
  return 0;
}

void onSize(App& a, int width, int height, WPARAM wParam, LPARAM lParam) {
  // The status bar takes the height its font needs; the list the rest.
  int barHeight = 0;
  if (a.statusBar) {
    std::array<int, 2> edges = statusPartEdges(width);
    SendMessageW(a.statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges.data()));
    SendMessageW(a.statusBar, WM_SIZE, wParam, lParam);
    RECT bar;
    if (GetWindowRect(a.statusBar, &bar)) barHeight = bar.bottom - bar.top;
  }
  if (a.newsList) {
    SetWindowPos(a.newsList, nullptr, 0, 0, width, height > barHeight ? height - barHeight : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void onClose(App& a) {
  if (a.shown.isNewList()) saveNewList(a.ctx);
  saveLayout(a);
  writeProfileString(a.ctx.settingsPath, kLOGWINDOW, kSHOW, a.logs.isOpen() ? "1" : "0");
  DestroyWindow(a.main);
}

void onDestroy(App& a) {
  removeTrayIcon(a);
  a.cycle->stop();
  a.fetcher.close();
  KillTimer(a.main, IDT_INTERVAL);
  KillTimer(a.main, IDT_NEWLIST_SAVE);
  a.pacer.attach(nullptr);
  // The list goes before the font and the images it uses.
  if (a.newsList) DestroyWindow(a.newsList);
  a.newsList = nullptr;
  a.images.reset();
  a.listFont.reset();
  a.news.attach(nullptr);
  a.statusBar = nullptr;
  a.ui.attach(nullptr, nullptr);
  a.main = nullptr;
  PostQuitMessage(0);
}

void onCommand(App& a, HWND window, int id) {
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
      showMainWindow(a);
      break;
    case IDM_LOGS:
      a.logs.open();
      break;
    case IDM_SETTINGS:
    case IDM_TRAY_SETTINGS:
      runSettingsDialog(a);
      break;
    case IDM_SEARCH:
      openSearchDialog(a);
      break;
    case IDM_ABOUT:
      runAboutDialog(a);
      break;
    case IDM_COPY_URL:
      copySelectedColumn(a, 2);
      break;
    case IDM_COPY_HEADLINE:
      copySelectedColumn(a, 0);
      break;
    case IDM_OPEN:
      openSelectedEntry(a);
      break;
    case IDM_CLEAR:
      a.news.clear();
      break;
    default:
      break;
  }
}

LRESULT onNotify(App& a, NMHDR* header) {
  if (header->idFrom != IDC_NEWSLIST) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW:
      a.news.fillDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(header));
      return 0;
    case LVN_ODFINDITEMW:
      return a.news.findItem(*reinterpret_cast<NMLVFINDITEMW*>(header));
    case NM_DBLCLK:
      openSelectedEntry(a);
      return 0;
    case NM_RCLICK:
      showNewsContextMenu(a);
      return 0;
    default:
      return 0;
  }
}

WinsockFetcher* fetcherOf(App& a, WPARAM handle, bool socket) {
  auto owns = [&](const WinsockFetcher& f) { return socket ? f.ownsSocket(handle) : f.ownsLookup(handle); };
  if (owns(a.fetcher)) return &a.fetcher;
  for (WinsockFetcher& f : a.slots)
    if (owns(f)) return &f;
  return nullptr;
}

void onTimer(App& a, UINT_PTR id) {
  if (id == IDT_INTERVAL) a.cycle->start();
  if (id == IDT_NEWLIST_SAVE) a.cycle->saveTimerTicked();
  if (id == IDT_FETCH_TIMEOUT) a.fetcher.onTimeout();
  for (WinsockFetcher& f : a.slots)
    if (id == f.timerId()) f.onTimeout();
  if (id == IDT_PAINT) a.pacer.ticked();
}

LRESULT mainMessage(App& a, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      onSize(a, LOWORD(lParam), HIWORD(lParam), wParam, lParam);
      return 0;
    case WM_CLOSE:
      onClose(a);
      return 0;
    case WM_DESTROY:
      onDestroy(a);
      return 0;
    case WM_COMMAND:
      onCommand(a, window, LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return onNotify(a, reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
      onTimer(a, wParam);
      return 0;
    case WM_HOSTLOOKUP:
      // Only the fetch the answer is for hears it: one that ends here may
      // start another whose socket or lookup takes the same handle.
      if (WinsockFetcher* f = fetcherOf(a, wParam, false)) f->onHostLookup(wParam, lParam);
      return 0;
    case WM_CHECKRESUME:
      a.cycle->resume();
      return 0;
    case WM_SOCKETEVENT:
      if (WinsockFetcher* f = fetcherOf(a, wParam, true)) f->onSocketEvent(wParam, lParam);
      return 0;
    case WM_DPICHANGED:
      onDpiChanged(a, wParam, *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_TRAYNOTIFY:
      onTrayNotify(a, lParam);
      return 0;
    case WM_SYSCOMMAND:
      if (hideOnMinimise(a, wParam)) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      if (message == taskbarCreatedMessage()) {
        onTaskbarCreated(a);
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  App* a = windowObject<App>(window, message, lParam);
  if (!a) return DefWindowProcW(window, message, wParam, lParam);
  return guarded(a->ui, [&] { return mainMessage(*a, window, message, wParam, lParam); });
}

// The owner window is never more than an owner once it exists.
LRESULT CALLBACK ownerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  App* a = windowObject<App>(window, message, lParam);
  if (a && message == WM_CREATE) return guarded(a->ui, [&] { return onOwnerCreate(*a); });
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ls
