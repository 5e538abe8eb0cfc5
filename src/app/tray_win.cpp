#include "app/tray_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include "app/app_win.h"
#include "app/controls_win.h"
#include "common/program.h"
#include "common/wide_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"

namespace ls {

namespace {

bool g_wanted = false;  // the tray setting was on at start-up
bool g_shown = false;   // the icon exists now

NOTIFYICONDATAW iconRecord() {
  App& a = app();
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = a.main;
  nid.uID = 1;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = WM_TRAYNOTIFY;
  nid.hIcon = static_cast<HICON>(LoadImageW(a.instance, L"ICON_LV", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  lstrcpynW(nid.szTip, toWide(kProgramTitle).c_str(), ARRAYSIZE(nid.szTip));
  return nid;
}

void addIcon() {
  NOTIFYICONDATAW nid = iconRecord();
  g_shown = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
  if (nid.hIcon) DestroyIcon(nid.hIcon);
}

}  // namespace

void addTrayIcon() {
  App& a = app();
  g_wanted = true;
  addIcon();
  // Owned by the hidden tool window, the main window then has no taskbar button.
  SetWindowLongPtrW(a.main, GWL_EXSTYLE, 0);
  UpdateWindow(a.main);
}

void removeTrayIcon() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = app().main;
  nid.uID = 1;
  Shell_NotifyIconW(NIM_DELETE, &nid);
  g_shown = false;
  g_wanted = false;
}

bool trayIconShown() { return g_shown; }

UINT taskbarCreatedMessage() {
  static UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void onTaskbarCreated() {
  if (g_wanted) addIcon();
}

void showMainWindow() {
  HWND main = app().main;
  SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  ShowWindow(main, SW_SHOW);
}

void onTrayNotify(LPARAM mouseMessage) {
  App& a = app();
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDOWN:
      SetForegroundWindow(a.main);
      showMainWindow();
      break;
    case WM_RBUTTONDOWN:
      showPopupMenu(a.trayMenu, 0, a.main);
      break;
    default:
      break;
  }
}

bool hideOnMinimise(WPARAM command) {
  if ((command & 0xFFF0) != SC_MINIMIZE) return false;
  // Only while the icon really exists, so the window can never vanish
  // without a way back.
  if (!g_shown || readSettingFlag(app().ctx.settingsPath, kTASKTRAY) != 1) return false;
  ShowWindow(app().main, SW_HIDE);
  return true;
}

}  // namespace ls
