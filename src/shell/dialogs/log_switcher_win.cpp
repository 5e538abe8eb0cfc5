#include "shell/dialogs/log_switcher_win.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "shell/app_win.h"
#include "win/controls_win.h"
#include "settings/window_layout.h"
#include "shell/window_dpi_win.h"
#include "win/window_object_win.h"
#include "logs/log_switcher.h"
#include "shell/resources/resource_ids.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"

namespace ls {

class LogSwitcherDialog : public Dialog {
 public:
  explicit LogSwitcherDialog(App& app) : Dialog(app.ui), app_(app) {}
  HWND list() const { return GetDlgItem(dialog_, IDC_LOGLIST); }
  void fillList();

 private:
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool onNotify(const NMHDR* header);
  void place();
  void savePlacement();
  void showChosen() { showLog(app_.ctx, app_.shown, rows_, selectedListRow(list()), app_.cycle->idle()); }
  void deleteChosen();
  void contextMenu();

  App& app_;
  std::vector<std::string> rows_;  // the rows list 1250 shows, as the rules know them
};

void LogSwitcherDialog::fillList() {
  ListView_DeleteAllItems(list());
  std::optional<std::vector<std::string>> rows = buildLogList(app_.ctx);
  if (!rows) {
    app_.ui.message(kMsgLogListFailed);
    rows_.clear();
    PostMessageW(dialog_, WM_CLOSE, 0, 0);
    return;
  }
  rows_ = std::move(*rows);
  for (std::size_t i = 0; i < rows_.size(); ++i) insertListRow(list(), static_cast<int>(i), rows_[i]);
}

void LogSwitcherDialog::place() {
  const std::string& ini = app_.ctx.settingsPath;
  // Kept in 96-DPI units, like the main window's rectangle.
  WindowRect r = rectToDpi({readProfileInt(ini, kLOGWINDOW, kLeft, 0), readProfileInt(ini, kLOGWINDOW, kTop, 0),
                            readProfileInt(ini, kLOGWINDOW, kRight, 100), readProfileInt(ini, kLOGWINDOW, kBottom, 200)},
                           windowDpi(dialog_));
  SetWindowPos(dialog_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void LogSwitcherDialog::savePlacement() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(dialog_, &wp)) return;
  const std::string& ini = app_.ctx.settingsPath;
  const RECT& shown = wp.rcNormalPosition;
  WindowRect r = rectFromDpi({shown.left, shown.top, shown.right, shown.bottom}, windowDpi(dialog_));
  writeProfileString(ini, kLOGWINDOW, kLeft, std::to_string(r.left));
  writeProfileString(ini, kLOGWINDOW, kTop, std::to_string(r.top));
  writeProfileString(ini, kLOGWINDOW, kRight, std::to_string(r.right));
  writeProfileString(ini, kLOGWINDOW, kBottom, std::to_string(r.bottom));
}

void LogSwitcherDialog::deleteChosen() {
  if (deleteLog(app_.ctx, app_.shown, rows_, selectedListRow(list())) == DeleteResult::kDeleted) fillList();
}

void LogSwitcherDialog::contextMenu() {
  if (selectedListRow(list()) < 0) return;
  showPopupMenu(app_.trayMenu.get(), 2, dialog_);
}

bool LogSwitcherDialog::onNotify(const NMHDR* header) {
  if (header->idFrom != IDC_LOGLIST) return false;
  // Only a click shows a log: moving the selection with the keys does not.
  if (header->code == NM_CLICK) showChosen();
  if (header->code == NM_RCLICK) contextMenu();
  return true;
}

INT_PTR LogSwitcherDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      place();
      fillList();
      return TRUE;
    case WM_SIZE:
      MoveWindow(list(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return TRUE;
    case WM_NOTIFY:
      return onNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDM_LOG_OPEN) showChosen();
      if (LOWORD(wParam) == IDM_LOG_DELETE) deleteChosen();
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(dialog_);
      return TRUE;
    case WM_DESTROY:
      savePlacement();
      rows_.clear();
      return TRUE;
    default:
      return FALSE;
  }
}

WindowLogSwitcher::WindowLogSwitcher(App& app) : app_(app) {}

WindowLogSwitcher::~WindowLogSwitcher() {
  if (HWND w = window()) DestroyWindow(w);
}

void WindowLogSwitcher::open() {
  if (isOpen()) return;
  dialog_ = std::make_unique<LogSwitcherDialog>(app_);
  dialog_->createModeless(app_.instance, L"LOGCHANGE", app_.main);
}

HWND WindowLogSwitcher::window() const { return dialog_ ? dialog_->handle() : nullptr; }

bool WindowLogSwitcher::isOpen() const { return window() != nullptr; }

void WindowLogSwitcher::selectNewListRow() {
  if (isOpen()) selectListRow(dialog_->list(), 0);
}

void WindowLogSwitcher::rebuild() {
  if (isOpen()) dialog_->fillList();
}

}  // namespace ls
