// The program's process-wide state: window handles, paths and the ports
// that connect the core to the real controls. One per process.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "app/news_list_win.h"
#include "app/platform_ports_win.h"
#include "engine/check_cycle.h"
#include "engine/engine_context.h"
#include "engine/shown_log.h"
#include "logs/log_switcher_win.h"
#include "net/fetch_win.h"
#include "resources/resource_ids.h"

namespace ls {

struct App {
  HINSTANCE instance = nullptr;
  HWND owner = nullptr;
  HWND main = nullptr;
  HWND newsList = nullptr;
  HWND statusBar = nullptr;
  HWND searchDialog = nullptr;
  HWND logSwitcher = nullptr;
  HWND settingsDialog = nullptr;  // while the modal settings dialog is open
  HWND wizardDialog = nullptr;
  HWND aboutDialog = nullptr;
  HMENU trayMenu = nullptr;  // TASKTRAYMENU: popups TRAY, RCLICK, LOG
  HIMAGELIST images = nullptr;
  HFONT listFont = nullptr;
  std::string listText = "500";  // SETTING/LIST as read at start-up
  int startFailureCode = 0;       // the exit code of a start that failed
  // Tests see what would be handed to the browser here.
  std::function<void(const std::string&)> openUrlHook;

  EngineContext ctx;
  ShownLog shown;
  ListViewNewsList news;
  WindowUserInterface ui;
  WinsockFetcher fetcher;
  WindowTimer timer{IDT_INTERVAL};
  WindowTimer saveTimer{IDT_NEWLIST_SAVE};
  WaveSoundPlayer sound;
  WindowLogSwitcher logs;
  std::unique_ptr<CheckCycle> cycle;
};

App& app();

// Sets the application directory and the settings-file path and wires the
// ports; the windows are attached as they are created.
void initApp(HINSTANCE instance, const std::string& appDir);

// Forgets every window and the cycle, so a test can start the program again
// in the same process.
void resetApp();

}  // namespace ls
