// The program's parts, put together once at start-up and handed to each
// window as its creation parameter: window handles, paths, the owned GDI
// and menu handles, and the ports that connect the core to the controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "win/handles_win.h"
#include "shell/news_balloon_win.h"
#include "shell/news_list_win.h"
#include "win/paint_pacer_win.h"
#include "shell/platform_ports_win.h"
#include "shell/user_interface_win.h"
#include "engine/check_cycle.h"
#include "engine/engine_context.h"
#include "engine/shown_log.h"
#include "shell/dialogs/log_switcher_win.h"
#include "shell/fetch/fetch_win.h"
#include "shell/resources/resource_ids.h"

namespace ls {

class SearchDialog;

// Whether the notification-area icon was asked for and whether it exists.
struct TrayState {
  bool wanted = false;  // the tray setting was on at start-up
  bool shown = false;   // the icon exists now
  bool forNotice = false;  // added only for a notice, without the tray setting
};

struct App {
  App();
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  ComScope com;  // first in, last out
  HINSTANCE instance = nullptr;
  HWND owner = nullptr;
  HWND main = nullptr;
  HWND newsList = nullptr;
  HWND statusBar = nullptr;
  // The dialogs while they are open.
  HWND searchDialog = nullptr;
  HWND settingsDialog = nullptr;
  HWND wizardDialog = nullptr;
  HWND aboutDialog = nullptr;
  std::string listText = "500";  // SETTING/LIST as read at start-up
  int startFailureCode = 0;       // the exit code of a start that failed
  // Tests see what would be handed to the browser here.
  std::function<void(const std::string&)> openUrlHook;
  // The open-file dialogs offer the file chosen last.
  std::wstring lastImport, lastPicture, lastExport;
  // Tests choose the site list's import and export files here (save: the
  // export); true when a file was chosen into `path`.
  std::function<bool(bool save, std::wstring& path)> chooseSitesFileHook;
  TrayState tray;

  Menu trayMenu;  // TASKTRAYMENU: popups TRAY, RCLICK, LOG
  HACCEL keys = nullptr;  // MAINACCEL, a resource: freed with the program
  ImageList images;
  Font listFont;
  Font statusFont;
  int dpi = 96;  // the main window's, which the list and the status bar follow
  EngineContext ctx;
  ShownLog shown;
  ListViewNewsList news;
  WindowUserInterface ui;
  WinsockFetcher fetcher;  // the wizard's, and slot 0 of a check
  std::array<WinsockFetcher, kParallelMax> slots;  // the check's fetches
  WindowTimer timer{IDT_INTERVAL};
  WindowTimer saveTimer{IDT_NEWLIST_SAVE};
  WindowTimer paintTimer{IDT_PAINT};
  PaintPacer pacer;  // the list's and the status bar's paints during checks
  WaveSoundPlayer sound;
  BalloonNotifier notifier{*this};
  WindowLogSwitcher logs;
  std::unique_ptr<CheckCycle> cycle;
  std::unique_ptr<SearchDialog> search;  // the modeless search dialog, once opened
};

// Sets the application directory and the settings-file path and wires the
// ports; the windows are attached as they are created.
void initApp(App& app, HINSTANCE instance, const std::string& appDir);

}  // namespace ls
