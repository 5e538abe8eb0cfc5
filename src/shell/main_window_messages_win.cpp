// The main window's messages: each goes to one small handler, each timer by
// its id, each command to what it opens or does.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "common/log_name.h"
#include "engine/new_list.h"
#include "logs/log_switcher.h"
#include "settings/settings_file.h"
#include "settings/window_layout.h"
#include "shell/dialogs/about_win.h"
#include "shell/dialogs/search_win.h"
#include "shell/main_window_win.h"
#include "shell/resources/resource_ids.h"
#include "win/controls_win.h"

namespace ls {

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
      onCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
      onTimer(wParam);
      return 0;
    case WM_HOSTLOOKUP:
      parts_.fetchers.onHostLookup(wParam, lParam);
      return 0;
    case WM_CHECKRESUME:
      parts_.cycle.resume();
      return 0;
    case WM_SOCKETEVENT:
      parts_.fetchers.onSocketEvent(wParam, lParam);
      return 0;
    case WM_DPICHANGED: {
      applyDpi(HIWORD(wParam));
      const RECT& r = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_TRAYNOTIFY:
      onTrayNotify(static_cast<UINT>(lParam));
      return 0;
    case WM_SYSCOMMAND:
      if (hideOnMinimise(wParam)) return 0;
      return DefWindowProcW(window_, message, wParam, lParam);
    default:
      if (message == taskbarCreatedMessage()) {
        tray_->onTaskbarCreated();
        return 0;
      }
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void MainWindow::onSize(int width, int height, WPARAM wParam, LPARAM lParam) {
  // The status bar takes the height its font needs; the list the rest.
  int barHeight = 0;
  if (statusBar_) {
    std::array<int, 2> edges = statusPartEdges(width);
    SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges.data()));
    SendMessageW(statusBar_, WM_SIZE, wParam, lParam);
    RECT bar;
    if (GetWindowRect(statusBar_, &bar)) barHeight = bar.bottom - bar.top;
  }
  if (list_) {
    SetWindowPos(list_, nullptr, 0, 0, width, height > barHeight ? height - barHeight : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MainWindow::onCommand(int id) {
  switch (id) {
    case IDM_EXIT:
    case IDM_TRAY_EXIT:
      SendMessageW(window_, WM_CLOSE, 0, 0);
      break;
    case IDM_CHECK:
    case IDM_TRAY_CHECK:
      SendMessageW(window_, WM_TIMER, IDT_INTERVAL, 0);
      break;
    case IDM_TRAY_SHOW:
      showMainWindow(window_);
      break;
    case IDM_LOGS:
      parts_.logs.open(window_, trayMenu_.get());
      break;
    case IDM_SETTINGS:
    case IDM_TRAY_SETTINGS:
      openSettings();
      break;
    case IDM_SEARCH:
      openSearch();
      break;
    case IDM_ABOUT:
      runAboutDialog(parts_.instance, window_, parts_.ui, [this](const std::string& url) { openWebAddress(url); });
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
      parts_.news.clear();
      break;
    default:
      break;
  }
}

void MainWindow::openSettings() {
  SettingsParts parts{WizardParts{parts_.instance, parts_.ctx, parts_.ui, parts_.fetchers.wizard()}, parts_.cycle,
                      parts_.seams, settings_, *this};
  // After a confirmed change of the tray setting the program ends, without
  // the close-time saving.
  if (runSettingsDialog(parts, window_)) PostQuitMessage(0);
}

// Command 40014: opens the dialog unless it is open.
void MainWindow::openSearch() {
  if (search_ && search_->handle()) return;
  search_ = std::make_unique<SearchDialog>(parts_.news, parts_.ui);
  search_->createModeless(parts_.instance, L"SEARCH", window_);
}

LRESULT MainWindow::onNotify(const NMHDR& header) {
  if (header.idFrom != IDC_NEWSLIST) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      parts_.news.fillDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
      return 0;
    case LVN_ODFINDITEMW:
      return parts_.news.findItem(reinterpret_cast<const NMLVFINDITEMW&>(header));
    case NM_DBLCLK:
      openSelectedEntry();
      return 0;
    case NM_RCLICK:
      showNewsContextMenu();
      return 0;
    default:
      return 0;
  }
}

void MainWindow::onTimer(UINT_PTR id) {
  if (id == IDT_INTERVAL) parts_.cycle.start();
  if (id == IDT_NEWLIST_SAVE) parts_.cycle.saveTimerTicked();
  parts_.fetchers.onTimer(id);
  if (id == IDT_PAINT) pacer_.ticked();
}

void MainWindow::onTrayNotify(UINT mouseMessage) {
  switch (mouseMessage) {
    case NIN_BALLOONUSERCLICK:
      tray_->removeNoticeIcon();
      showNewestRows();
      break;
    case NIN_BALLOONTIMEOUT:
    case NIN_BALLOONHIDE:
      tray_->removeNoticeIcon();
      break;
    case WM_LBUTTONDOWN:
      SetForegroundWindow(window_);
      showMainWindow(window_);
      break;
    case WM_RBUTTONDOWN:
      showPopupMenu(trayMenu_.get(), 0, window_);
      break;
    default:
      break;
  }
}

// A click on the notice: the main window with the news list's newest rows
// at the top.
void MainWindow::showNewestRows() {
  // A site log may be shown since the check; the newest rows are the new-list's.
  if (!parts_.shown.isNewList() && parts_.cycle.idle()) {
    showLog(parts_.ctx, parts_.shown, {kNewListName}, 0, true);
    if (parts_.logs.isOpen()) parts_.logs.selectNewListRow();
  }
  SetForegroundWindow(window_);
  showMainWindow(window_);
  if (parts_.news.count() == 0) return;
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(list_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list_, 0, FALSE);
  SetFocus(list_);
}

bool MainWindow::hideOnMinimise(WPARAM command) {
  if ((command & 0xFFF0) != SC_MINIMIZE) return false;
  // Only while the icon really exists, so the window can never vanish
  // without a way back.
  if (!tray_->shown() || readSettingFlag(parts_.ctx.settingsPath, kTASKTRAY) != 1) return false;
  ShowWindow(window_, SW_HIDE);
  return true;
}

}  // namespace ls
