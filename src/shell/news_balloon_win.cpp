#include "shell/news_balloon_win.h"

#include <shellapi.h>
#include <commctrl.h>

#include "shell/app_win.h"
#include "shell/tray_win.h"
#include "common/log_name.h"
#include "win/wide_win.h"
#include "logs/log_switcher.h"

namespace ls {

namespace {

// The user is at the main window or one of its dialogs: the list tells them
// already.
bool programInFront(const App& a) {
  HWND front = GetForegroundWindow();
  if (!front || !IsWindowVisible(a.main) || IsIconic(a.main)) return false;
  return front == a.main || GetAncestor(front, GA_ROOTOWNER) == GetAncestor(a.main, GA_ROOTOWNER);
}

void showNewestRows(App& a) {
  // A site log may be shown since the check; the newest rows are the new-list's.
  if (!a.shown.isNewList() && a.cycle->idle()) {
    showLog(a.ctx, a.shown, {kNewListName}, 0, true);
    if (a.logs.isOpen()) a.logs.selectNewListRow();
  }
  SetForegroundWindow(a.main);
  showMainWindow(a);
  if (a.news.count() == 0) return;
  ListView_SetItemState(a.newsList, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(a.newsList, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(a.newsList, 0, FALSE);
  SetFocus(a.newsList);
}

}  // namespace

void BalloonNotifier::announce(const std::string& title, const std::string& text) {
  App& a = app_;
  if (programInFront(a)) return;
  if (!a.tray.shown) addNoticeIcon(a);
  if (!a.tray.shown) return;
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = a.main;
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_INFO;
  lstrcpynW(nid.szInfoTitle, toWide(title).c_str(), ARRAYSIZE(nid.szInfoTitle));
  lstrcpynW(nid.szInfo, toWide(text).c_str(), ARRAYSIZE(nid.szInfo));
  // The program's own sound setting decides whether news makes a sound.
  nid.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON | NIIF_NOSOUND;
  Icon icon(static_cast<HICON>(LoadImageW(a.instance, L"ICON_LV", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                          GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR)));
  nid.hBalloonIcon = icon.get();
  Shell_NotifyIconW(NIM_MODIFY, &nid);
}

bool onBalloonNotify(App& a, UINT notification) {
  switch (notification) {
    case NIN_BALLOONUSERCLICK:
      removeNoticeIcon(a);
      showNewestRows(a);
      return true;
    case NIN_BALLOONTIMEOUT:
    case NIN_BALLOONHIDE:
      removeNoticeIcon(a);
      return true;
    case NIN_BALLOONSHOW:
      return true;
    default:
      return false;
  }
}

}  // namespace ls
