#include "shell/news_balloon_win.h"

#include <shellapi.h>

#include "win/handles_win.h"
#include "win/wide_win.h"

namespace ls {

namespace {

// The user is at the main window or one of its dialogs: the list tells them
// already.
bool programInFront(HWND main) {
  HWND front = GetForegroundWindow();
  if (!front || !IsWindowVisible(main) || IsIconic(main)) return false;
  return front == main || GetAncestor(front, GA_ROOTOWNER) == GetAncestor(main, GA_ROOTOWNER);
}

}  // namespace

void BalloonNotifier::announce(const std::string& title, const std::string& text) {
  if (!tray_ || programInFront(tray_->window())) return;
  if (!tray_->shown()) tray_->addForNotice();
  if (!tray_->shown()) return;
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = tray_->window();
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_INFO;
  lstrcpynW(nid.szInfoTitle, toWide(title).c_str(), ARRAYSIZE(nid.szInfoTitle));
  lstrcpynW(nid.szInfo, toWide(text).c_str(), ARRAYSIZE(nid.szInfo));
  // The program's own sound setting decides whether news makes a sound.
  nid.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON | NIIF_NOSOUND;
  Icon icon(static_cast<HICON>(LoadImageW(tray_->instance(), L"ICON_LV", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                          GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR)));
  nid.hBalloonIcon = icon.get();
  Shell_NotifyIconW(NIM_MODIFY, &nid);
}

}  // namespace ls
