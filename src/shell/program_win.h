// The composition root: the program's parts, made once in the entry point
// and wired together, then the windows, the message loop and the end.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "engine/check_cycle.h"
#include "engine/engine_context.h"
#include "engine/shown_log.h"
#include "shell/dialogs/log_switcher_win.h"
#include "shell/fetch/fetchers_win.h"
#include "shell/main_window_win.h"
#include "shell/news_balloon_win.h"
#include "shell/news_list_win.h"
#include "shell/platform_ports_win.h"
#include "shell/resources/resource_ids.h"
#include "shell/user_interface_win.h"
#include "win/handles_win.h"
#include "win/message_loop_win.h"

namespace ls {

class Program {
 public:
  Program(HINSTANCE instance, const std::string& appDir);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The owner window (which prepares the application directory), the main
  // window and the interval timer. False when the program cannot start;
  // startFailureCode() is then its exit code.
  bool start();
  // The message loop, until the quit message; returns its exit code.
  int run();

  int startFailureCode() const { return startFailureCode_; }
  // The main window while it exists, else null.
  HWND mainWindow() const { return IsWindow(main_) ? main_ : nullptr; }
  // The main window's keys (MAINACCEL) for the message loop.
  KeyTable keys() const { return KeyTable{mainWindow(), accelerators_}; }

  ComScope com;  // first in, last out
  const HINSTANCE instance;
  EngineContext ctx;
  ShownLog shown;
  ListViewNewsList news;
  WindowUserInterface ui;
  Fetchers fetchers;
  WindowTimer timer{IDT_INTERVAL};
  WindowTimer saveTimer{IDT_NEWLIST_SAVE};
  WaveSoundPlayer sound;
  BalloonNotifier notifier;
  WindowLogSwitcher logs;
  CheckCycle cycle;
  ShellSeams seams;

 private:
  static LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  MainWindowParts mainWindowParts();

  int startFailureCode_ = 0;
  Window owner_;
  HWND main_ = nullptr;
  HACCEL accelerators_ = nullptr;  // a resource: freed with the program
};

// The whole program: sockets, start-up, loop, end.
int runProgram(HINSTANCE instance);

}  // namespace ls
