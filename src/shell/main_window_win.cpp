#include "shell/main_window_win.h"

#include <commctrl.h>
#include <objbase.h>

#include "shell/app_win.h"
#include "win/controls_win.h"
#include "common/dpi_scale.h"
#include "shell/list_font_win.h"
#include "settings/window_layout.h"
#include "shell/tray_win.h"
#include "shell/window_dpi_win.h"
#include "shell/dialogs/settings_dialog_win.h"
#include "settings/ini_file.h"
#include "common/file_io.h"
#include "common/program.h"
#include "win/wide_win.h"
#include "engine/news_entry.h"
#include "engine/new_list.h"
#include "shell/resources/resource_ids.h"
#include "settings/settings_file.h"
#include "sites/first_run.h"

// The status bar's "no highlight" style, missing from MinGW's headers.
#ifndef CCS_NOHILITE
#define CCS_NOHILITE 0x00000010L
#endif

namespace ls {

namespace {

constexpr wchar_t kOwnerClass[] = L"wnddummy";
constexpr wchar_t kMainClass[] = L"wndmain";

bool registerClass(const WNDCLASSEXW& wc) {
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// A virtual list: the rows live in a.news, which answers the list's
// LVN_GETDISPINFOW.
void createNewsList(App& a) {
  a.newsList = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA, 0, 0,
                               396, 134, a.main, reinterpret_cast<HMENU>(IDC_NEWSLIST), a.instance, nullptr);
  a.paintTimer.attach(a.main);
  a.pacer.attach(&a.paintTimer);
  a.news.attach(a.newsList, &a.pacer);
  ListView_SetExtendedListViewStyle(a.newsList,
                                    ListView_GetExtendedListViewStyle(a.newsList) | LVS_EX_FULLROWSELECT);
  addListColumn(a.newsList, 0, "見出し", kCreatedColumnWidths[0]);
  addListColumn(a.newsList, 1, "サイト", kCreatedColumnWidths[1]);
  addListColumn(a.newsList, 2, "URL", kCreatedColumnWidths[2]);
}

void createStatusBar(App& a) {
  a.statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOHILITE, 0, 0, 0, 0, a.main,
                                reinterpret_cast<HMENU>(IDC_STATUSBAR), a.instance, nullptr);
  int edges[2] = {100, 500};
  SendMessageW(a.statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  a.ui.attach(a.main, a.statusBar, &a.pacer);
}

// A rectangle that lies on no monitor (one was removed since the last run)
// is moved onto the nearest one, keeping its size.
RECT onVisibleMonitor(RECT r) {
  if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return r;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info);
  const RECT& work = info.rcWork;
  LONG width = r.right - r.left, height = r.bottom - r.top;
  r.left = work.left;
  r.top = work.top;
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

bool registerMainClass(const App& a) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = mainWindowProc;
  wc.hInstance = a.instance;
  wc.hIcon = LoadIconW(a.instance, L"ICON_NEWS");
  wc.hIconSm = static_cast<HICON>(LoadImageW(a.instance, L"ICON_NEWS", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszMenuName = L"MAINMENU";
  wc.lpszClassName = kMainClass;
  return registerClass(wc);
}

// Started minimised (the Startup folder's shortcut asks for it): hidden
// behind the tray icon when there is one, else minimised on the taskbar.
void showAtStart(App& a) {
  STARTUPINFOW start{};
  start.cb = sizeof start;
  GetStartupInfoW(&start);
  const WORD how = start.wShowWindow;
  const bool minimised = (start.dwFlags & STARTF_USESHOWWINDOW) &&
                         (how == SW_SHOWMINNOACTIVE || how == SW_SHOWMINIMIZED || how == SW_MINIMIZE);
  if (!minimised) {
    ShowWindow(a.main, SW_SHOW);
    UpdateWindow(a.main);
  } else if (!a.tray.shown) {
    ShowWindow(a.main, SW_SHOWMINNOACTIVE);
  }
}

}  // namespace

bool createOwnerWindow(App& a) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ownerWindowProc;
  wc.hInstance = a.instance;
  wc.lpszClassName = kOwnerClass;
  if (!registerClass(wc)) return false;
  a.owner = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", 0, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr,
                            nullptr, a.instance, &a);
  return a.owner != nullptr;
}

bool createMainWindow(App& a) {
  if (!registerMainClass(a)) return false;
  a.main = CreateWindowExW(WS_EX_APPWINDOW, kMainClass, toWide(kProgramTitle).c_str(), WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 400, 200, a.owner, nullptr, a.instance, &a);
  if (!a.main) return false;
  a.dpi = windowDpi(a.main);
  a.timer.attach(a.main);
  a.saveTimer.attach(a.main);
  a.ui.attach(a.main, nullptr);
  a.fetcher.attach(a.main, &a.ui, a.ctx.pageFile());
  a.fetcher.setSettingsFile(a.ctx.settingsPath);
  for (std::size_t k = 0; k < a.slots.size(); ++k) {
    int slot = static_cast<int>(k) + 1;
    a.slots[k].attach(a.main, &a.ui, slotPageFile(a.ctx, slot), IDT_FETCH_SLOT + slot);
    a.slots[k].setSettingsFile(a.ctx.settingsPath);
  }

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  createNewsList(a);
  loadNewList(a.ctx);
  if (isPlainFile(a.ctx.settingsPath)) {
    restoreLayout(a);
  } else {
    writeFirstRunSettings(a.ctx.settingsPath);
  }
  if (readSettingFlag(a.ctx.settingsPath, kTASKTRAY) == 1) addTrayIcon(a);
  createStatusBar(a);
  applyDpi(a, a.dpi);
  if (readProfileInt(a.ctx.settingsPath, kLOGWINDOW, kSHOW, 0) == 1) SendMessageW(a.main, WM_COMMAND, IDM_LOGS, 0);
  applyListColours(a);
  ageNewsList(a.news);
  showAtStart(a);
  IntervalAndList texts = readIntervalAndList(a.ctx.settingsPath);
  a.cycle->setIntervalText(texts.interval);
  a.listText = texts.list;
  return true;
}

void restoreLayout(App& a) {
  WindowRect saved = rectToDpi(readWindowRect(a.ctx.settingsPath), a.dpi);
  RECT r = onVisibleMonitor(RECT{saved.left, saved.top, saved.right, saved.bottom});
  SetWindowPos(a.main, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  std::array<int, 3> widths = readColumnWidths(a.ctx.settingsPath);
  for (int c = 0; c < 3; ++c) ListView_SetColumnWidth(a.newsList, c, scaleToDpi(widths[c], a.dpi));
}

void saveLayout(const App& a) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(a.main, &placement)) {
    const RECT& r = placement.rcNormalPosition;
    writeWindowRect(a.ctx.settingsPath, rectFromDpi(WindowRect{r.left, r.top, r.right, r.bottom}, a.dpi));
  }
  std::array<int, 3> widths{};
  for (int c = 0; c < 3; ++c) widths[c] = scaleFromDpi(ListView_GetColumnWidth(a.newsList, c), a.dpi);
  writeColumnWidths(a.ctx.settingsPath, widths);
}

}  // namespace ls
