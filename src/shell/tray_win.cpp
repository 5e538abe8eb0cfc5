#include "shell/tray_win.h"

#include <shellapi.h>

#include "common/program.h"
#include "shell/resources/resource_ids.h"
#include "win/handles_win.h"
#include "win/wide_win.h"

namespace ls {

void TrayIcon::add() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = window_;
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = WM_TRAYNOTIFY;
  Icon icon(static_cast<HICON>(LoadImageW(instance_, L"ICON_LV", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  nid.hIcon = icon.get();
  lstrcpynW(nid.szTip, toWide(kProgramTitle).c_str(), ARRAYSIZE(nid.szTip));
  shown_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void TrayIcon::addForSetting() {
  wanted_ = true;
  add();
  // Owned by the hidden tool window, the main window then has no taskbar button.
  SetWindowLongPtrW(window_, GWL_EXSTYLE, 0);
  UpdateWindow(window_);
}

void TrayIcon::remove() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = window_;
  nid.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &nid);
  wanted_ = shown_ = forNotice_ = false;
}

void TrayIcon::addForNotice() {
  add();
  forNotice_ = shown_;
}

void TrayIcon::removeNoticeIcon() {
  if (forNotice_) remove();
}

void TrayIcon::onTaskbarCreated() {
  if (wanted_) add();
}

UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void showMainWindow(HWND window) {
  SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  ShowWindow(window, SW_SHOW);
}

}  // namespace ls
