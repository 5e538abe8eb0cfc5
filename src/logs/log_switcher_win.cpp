#include "logs/log_switcher_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/controls_win.h"
#include "common/wide_win.h"
#include "logs/log_switcher.h"
#include "resources/resource_ids.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"

namespace ls {

namespace {

// The rows list 1250 shows, as the rules know them.
std::vector<std::string> g_rows;

HWND logList() { return GetDlgItem(app().logSwitcher, IDC_LOGLIST); }

int selectedLogRow() { return ListView_GetNextItem(logList(), -1, LVNI_SELECTED); }

void fillList(HWND dialog) {
  App& a = app();
  HWND list = GetDlgItem(dialog, IDC_LOGLIST);
  ListView_DeleteAllItems(list);
  std::optional<std::vector<std::string>> rows = buildLogList(a.ctx);
  if (!rows) {
    a.ui.message(kMsgLogListFailed);
    g_rows.clear();
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    return;
  }
  g_rows = std::move(*rows);
  for (std::size_t i = 0; i < g_rows.size(); ++i) {
    std::wstring text = toWide(g_rows[i]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = text.data();
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void place(HWND dialog) {
  const std::string& ini = app().ctx.settingsPath;
  int left = readProfileInt(ini, kLOGWINDOW, kLeft, 0);
  int right = readProfileInt(ini, kLOGWINDOW, kRight, 100);
  int top = readProfileInt(ini, kLOGWINDOW, kTop, 0);
  int bottom = readProfileInt(ini, kLOGWINDOW, kBottom, 200);
  SetWindowPos(dialog, nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void savePlacement(HWND dialog) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(dialog, &wp)) return;
  const std::string& ini = app().ctx.settingsPath;
  const RECT& r = wp.rcNormalPosition;
  writeProfileString(ini, kLOGWINDOW, kLeft, std::to_string(r.left));
  writeProfileString(ini, kLOGWINDOW, kTop, std::to_string(r.top));
  writeProfileString(ini, kLOGWINDOW, kRight, std::to_string(r.right));
  writeProfileString(ini, kLOGWINDOW, kBottom, std::to_string(r.bottom));
}

void showChosen() {
  App& a = app();
  showLog(a.ctx, a.shown, g_rows, selectedLogRow(), a.cycle->idle());
}

void deleteChosen(HWND dialog) {
  App& a = app();
  if (deleteLog(a.ctx, a.shown, g_rows, selectedLogRow()) == DeleteResult::kDeleted) fillList(dialog);
}

void contextMenu(HWND dialog) {
  App& a = app();
  if (selectedLogRow() < 0) return;
  showPopupMenu(a.trayMenu, 2, dialog);
}

INT_PTR CALLBACK logSwitcherProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      app().logSwitcher = dialog;
      place(dialog);
      fillList(dialog);
      return TRUE;
    case WM_SIZE:
      MoveWindow(GetDlgItem(dialog, IDC_LOGLIST), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_LOGLIST) return FALSE;
      // Only a click shows a log: moving the selection with the keys does not.
      if (header->code == NM_CLICK) showChosen();
      if (header->code == NM_RCLICK) contextMenu(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDM_LOG_OPEN) showChosen();
      if (LOWORD(wParam) == IDM_LOG_DELETE) deleteChosen(dialog);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      savePlacement(dialog);
      app().logSwitcher = nullptr;
      g_rows.clear();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void openLogSwitcher() {
  App& a = app();
  if (a.logSwitcher) return;
  CreateDialogW(a.instance, L"LOGCHANGE", a.main, logSwitcherProc);
}

bool WindowLogSwitcher::isOpen() const { return app().logSwitcher != nullptr; }

void WindowLogSwitcher::selectNewListRow() {
  ListView_SetItemState(logList(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void WindowLogSwitcher::rebuild() {
  if (app().logSwitcher) fillList(app().logSwitcher);
}

}  // namespace ls
