#include "shell/main_window_win.h"

#include <commctrl.h>

#include "common/dpi_scale.h"
#include "common/file_io.h"
#include "common/program.h"
#include "engine/new_list.h"
#include "engine/news_entry.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/window_layout.h"
#include "shell/dialogs/search_win.h"
#include "shell/resources/resource_ids.h"
#include "sites/first_run.h"
#include "win/controls_win.h"
#include "win/dpi_win.h"
#include "win/wide_win.h"
#include "win/window_object_win.h"

// The status bar's "no highlight" style, missing from MinGW's headers.
#ifndef CCS_NOHILITE
#define CCS_NOHILITE 0x00000010L
#endif

namespace ls {

namespace {

constexpr wchar_t kMainClass[] = L"wndmain";

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

bool registerMainClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"ICON_NEWS");
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, L"ICON_NEWS", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszMenuName = L"MAINMENU";
  wc.lpszClassName = kMainClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

MainWindow::MainWindow(const MainWindowParts& parts) : parts_(parts) {}

// What the program lent the window is given back with it.
MainWindow::~MainWindow() {
  parts_.news.attach(nullptr);
  parts_.ui.attach(nullptr, nullptr);
  parts_.notifier.attach(nullptr);
}

HWND MainWindow::create(const MainWindowParts& parts, HWND owner) {
  if (!registerMainClass(parts.instance, &MainWindow::procedure)) return nullptr;
  MainWindow* self = new MainWindow(parts);
  // From WM_NCCREATE on the window owns its object and deletes it at
  // WM_NCDESTROY, even when creation then fails.
  bool adopted = false;
  self->adopted_ = &adopted;
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, kMainClass, toWide(kProgramTitle).c_str(), WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 400, 200, owner, nullptr, parts.instance, self);
  if (!adopted) delete self;
  if (!window) return nullptr;
  self->adopted_ = nullptr;
  self->build();
  return window;
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = windowObject<MainWindow>(window, message, lParam);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE) {
    self->window_ = window;
    *self->adopted_ = true;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete self;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return guarded(self->parts_.ui, [&] { return self->onMessage(message, wParam, lParam); });
}

void MainWindow::build() {
  trayMenu_.reset(LoadMenuW(parts_.instance, L"TASKTRAYMENU"));
  dpi_ = windowDpi(window_);
  tray_ = std::make_unique<TrayIcon>(window_, parts_.instance);
  parts_.notifier.attach(tray_.get());
  parts_.timer.attach(window_);
  parts_.saveTimer.attach(window_);
  parts_.ui.attach(window_, nullptr);
  parts_.fetchers.attach(window_, &parts_.ui, parts_.ctx);

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  createNewsList();
  loadNewList(parts_.ctx);
  if (isPlainFile(parts_.ctx.settingsPath)) {
    restoreLayout();
  } else {
    writeFirstRunSettings(parts_.ctx.settingsPath);
  }
  if (readSettingFlag(parts_.ctx.settingsPath, kTASKTRAY) == 1) tray_->addForSetting();
  createStatusBar();
  applyDpi(dpi_);
  if (readProfileInt(parts_.ctx.settingsPath, kLOGWINDOW, kSHOW, 0) == 1) SendMessageW(window_, WM_COMMAND, IDM_LOGS, 0);
  applyListColours();
  ageNewsList(parts_.news);
  showAtStart();
  IntervalAndList texts = readIntervalAndList(parts_.ctx.settingsPath);
  parts_.cycle.setIntervalText(texts.interval);
  settings_.listText = texts.list;
}

// A virtual list: the rows live in the news list port, which answers the
// list's LVN_GETDISPINFOW.
void MainWindow::createNewsList() {
  list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA, 0, 0,
                          396, 134, window_, reinterpret_cast<HMENU>(IDC_NEWSLIST), parts_.instance, nullptr);
  paintTimer_.attach(window_);
  pacer_.attach(&paintTimer_);
  parts_.news.attach(list_, &pacer_);
  ListView_SetExtendedListViewStyle(list_, ListView_GetExtendedListViewStyle(list_) | LVS_EX_FULLROWSELECT);
  addListColumn(list_, 0, "見出し", kCreatedColumnWidths[0]);
  addListColumn(list_, 1, "サイト", kCreatedColumnWidths[1]);
  addListColumn(list_, 2, "URL", kCreatedColumnWidths[2]);
}

void MainWindow::createStatusBar() {
  statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOHILITE, 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(IDC_STATUSBAR), parts_.instance, nullptr);
  int edges[2] = {100, 500};
  SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  parts_.ui.attach(window_, statusBar_, &pacer_);
}

// Started minimised (the Startup folder's shortcut asks for it): hidden
// behind the tray icon when there is one, else minimised on the taskbar.
void MainWindow::showAtStart() {
  STARTUPINFOW start{};
  start.cb = sizeof start;
  GetStartupInfoW(&start);
  const WORD how = start.wShowWindow;
  const bool minimised = (start.dwFlags & STARTF_USESHOWWINDOW) &&
                         (how == SW_SHOWMINNOACTIVE || how == SW_SHOWMINIMIZED || how == SW_MINIMIZE);
  if (!minimised) {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
  } else if (!tray_->shown()) {
    ShowWindow(window_, SW_SHOWMINNOACTIVE);
  }
}

void MainWindow::restoreLayout() {
  WindowRect saved = rectToDpi(readWindowRect(parts_.ctx.settingsPath), dpi_);
  RECT r = onVisibleMonitor(RECT{saved.left, saved.top, saved.right, saved.bottom});
  SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  std::array<int, 3> widths = readColumnWidths(parts_.ctx.settingsPath);
  for (int c = 0; c < 3; ++c) ListView_SetColumnWidth(list_, c, scaleToDpi(widths[c], dpi_));
}

void MainWindow::saveLayout() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(window_, &placement)) {
    const RECT& r = placement.rcNormalPosition;
    writeWindowRect(parts_.ctx.settingsPath, rectFromDpi(WindowRect{r.left, r.top, r.right, r.bottom}, dpi_));
  }
  std::array<int, 3> widths{};
  for (int c = 0; c < 3; ++c) widths[c] = scaleFromDpi(ListView_GetColumnWidth(list_, c), dpi_);
  writeColumnWidths(parts_.ctx.settingsPath, widths);
}

void MainWindow::onClose() {
  if (parts_.shown.isNewList()) saveNewList(parts_.ctx);
  saveLayout();
  writeProfileString(parts_.ctx.settingsPath, kLOGWINDOW, kSHOW, parts_.logs.isOpen() ? "1" : "0");
  DestroyWindow(window_);
}

// The check ends with the window; the icon goes while the window that owns
// it still exists.
void MainWindow::onDestroy() {
  tray_->remove();
  parts_.cycle.stop();
  parts_.fetchers.closeAll();
  PostQuitMessage(0);
}

}  // namespace ls
