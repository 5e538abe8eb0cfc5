#include "shell/dialogs/log_switcher_win.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "logs/log_switcher.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/window_layout.h"
#include "shell/resources/resource_ids.h"
#include "win/controls_win.h"
#include "win/dialog_win.h"
#include "win/dpi_win.h"

namespace ls {

class LogSwitcherDialog : public Dialog {
 public:
  LogSwitcherDialog(const EngineContext& ctx, ShownLog& shown, UserInterface& ui, std::function<bool()> checkIdle,
                    HMENU menu)
      : Dialog(ui), ctx_(ctx), shown_(shown), checkIdle_(std::move(checkIdle)), menu_(menu) {}
  HWND list() const { return GetDlgItem(dialog_, IDC_LOGLIST); }
  void fillList();

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onNotify(const NMHDR& header) override;
  // Enter shows the chosen log, as a click does.
  void onOk() override { showChosen(); }
  void onDestroy() override;
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void place();
  void savePlacement();
  void showChosen() { showLog(ctx_, shown_, rows_, selectedListRow(list()), checkIdle_()); }
  void deleteChosen();
  void contextMenu();

  const EngineContext& ctx_;
  ShownLog& shown_;
  std::function<bool()> checkIdle_;
  HMENU menu_;  // TASKTRAYMENU, whose popup LOG is the list's context menu
  std::vector<std::string> rows_;  // the rows list 1250 shows, as the rules know them
};

void LogSwitcherDialog::fillList() {
  ListView_DeleteAllItems(list());
  std::optional<std::vector<std::string>> rows = buildLogList(ctx_);
  if (!rows) {
    ui().message(kMsgLogListFailed);
    rows_.clear();
    PostMessageW(dialog_, WM_CLOSE, 0, 0);
    return;
  }
  rows_ = std::move(*rows);
  for (std::size_t i = 0; i < rows_.size(); ++i) insertListRow(list(), static_cast<int>(i), rows_[i]);
}

void LogSwitcherDialog::place() {
  const std::string& ini = ctx_.settingsPath;
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
  const std::string& ini = ctx_.settingsPath;
  const RECT& shown = wp.rcNormalPosition;
  WindowRect r = rectFromDpi({shown.left, shown.top, shown.right, shown.bottom}, windowDpi(dialog_));
  writeProfileString(ini, kLOGWINDOW, kLeft, std::to_string(r.left));
  writeProfileString(ini, kLOGWINDOW, kTop, std::to_string(r.top));
  writeProfileString(ini, kLOGWINDOW, kRight, std::to_string(r.right));
  writeProfileString(ini, kLOGWINDOW, kBottom, std::to_string(r.bottom));
}

void LogSwitcherDialog::deleteChosen() {
  if (deleteLog(ctx_, shown_, rows_, selectedListRow(list())) == DeleteResult::kDeleted) fillList();
}

void LogSwitcherDialog::contextMenu() {
  if (selectedListRow(list()) < 0) return;
  showPopupMenu(menu_, 2, dialog_);
}

bool LogSwitcherDialog::onInit() {
  place();
  fillList();
  return true;
}

bool LogSwitcherDialog::onNotify(const NMHDR& header) {
  if (header.idFrom != IDC_LOGLIST) return false;
  // Only a click shows a log: moving the selection with the keys does not.
  if (header.code == NM_CLICK) showChosen();
  if (header.code == NM_RCLICK) contextMenu();
  return true;
}

bool LogSwitcherDialog::onCommand(int id, int code) {
  if (id == IDM_LOG_OPEN) showChosen();
  if (id == IDM_LOG_DELETE) deleteChosen();
  return id == IDM_LOG_OPEN || id == IDM_LOG_DELETE || Dialog::onCommand(id, code);
}

void LogSwitcherDialog::onDestroy() {
  savePlacement();
  rows_.clear();
}

INT_PTR LogSwitcherDialog::onMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_SIZE) return FALSE;
  MoveWindow(list(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  return TRUE;
}

WindowLogSwitcher::WindowLogSwitcher(HINSTANCE instance, const EngineContext& ctx, ShownLog& shown,
                                     UserInterface& ui, std::function<bool()> checkIdle)
    : instance_(instance), ctx_(ctx), shown_(shown), ui_(ui), checkIdle_(std::move(checkIdle)) {}

// Closed as the user would close it, so its place is kept.
WindowLogSwitcher::~WindowLogSwitcher() {
  if (HWND w = window()) DestroyWindow(w);
}

void WindowLogSwitcher::open(HWND owner, HMENU menu) {
  if (isOpen()) return;
  dialog_ = std::make_unique<LogSwitcherDialog>(ctx_, shown_, ui_, checkIdle_, menu);
  dialog_->createModeless(instance_, L"LOGCHANGE", owner);
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
