#include "shell/tray_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include "shell/app_win.h"
#include "win/controls_win.h"
#include "shell/news_balloon_win.h"
#include "common/program.h"
#include "win/wide_win.h"
#include "shell/resources/resource_ids.h"
#include "settings/settings_file.h"

namespace ls {

namespace {

NOTIFYICONDATAW iconRecord(const App& a) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = a.main;
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = WM_TRAYNOTIFY;
  nid.hIcon = static_cast<HICON>(LoadImageW(a.instance, L"ICON_LV", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  lstrcpynW(nid.szTip, toWide(kProgramTitle).c_str(), ARRAYSIZE(nid.szTip));
  return nid;
}

void addIcon(App& a) {
  NOTIFYICONDATAW nid = iconRecord(a);
  Icon icon(nid.hIcon);
  a.tray.shown = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

}  // namespace

void addTrayIcon(App& a) {
  a.tray.wanted = true;
  addIcon(a);
  // Owned by the hidden tool window, the main window then has no taskbar button.
  SetWindowLongPtrW(a.main, GWL_EXSTYLE, 0);
  UpdateWindow(a.main);
}

void removeTrayIcon(App& a) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = a.main;
  nid.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &nid);
  a.tray = TrayState{};
}

void addNoticeIcon(App& a) {
  addIcon(a);
  a.tray.forNotice = a.tray.shown;
}

void removeNoticeIcon(App& a) {
  if (a.tray.forNotice) removeTrayIcon(a);
}

UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void onTaskbarCreated(App& a) {
  if (a.tray.wanted) addIcon(a);
}

void showMainWindow(const App& a) {
  SendMessageW(a.main, WM_SYSCOMMAND, SC_RESTORE, 0);
  ShowWindow(a.main, SW_SHOW);
}

void onTrayNotify(App& a, LPARAM mouseMessage) {
  if (onBalloonNotify(a, static_cast<UINT>(mouseMessage))) return;
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDOWN:
      SetForegroundWindow(a.main);
      showMainWindow(a);
      break;
    case WM_RBUTTONDOWN:
      showPopupMenu(a.trayMenu.get(), 0, a.main);
      break;
    default:
      break;
  }
}

bool hideOnMinimise(const App& a, WPARAM command) {
  if ((command & 0xFFF0) != SC_MINIMIZE) return false;
  // Only while the icon really exists, so the window can never vanish
  // without a way back.
  if (!a.tray.shown || readSettingFlag(a.ctx.settingsPath, kTASKTRAY) != 1) return false;
  ShowWindow(a.main, SW_HIDE);
  return true;
}

}  // namespace ls
