// The main window "wndmain": the news list, the status bar, the tray icon
// and the fonts, images, menus and timers only it uses. Its object is made
// for CreateWindowExW (lpCreateParams) and goes at WM_NCDESTROY; what the
// program lends it is handed over at creation and given back by its
// destructor.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "engine/check_cycle.h"
#include "engine/engine_context.h"
#include "engine/shown_log.h"
#include "shell/dialogs/log_switcher_win.h"
#include "shell/dialogs/settings_dialog_win.h"
#include "shell/fetch/fetchers_win.h"
#include "shell/news_balloon_win.h"
#include "shell/news_list_win.h"
#include "shell/platform_ports_win.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_seams.h"
#include "shell/tray_win.h"
#include "shell/user_interface_win.h"
#include "win/handles_win.h"
#include "win/paint_pacer_win.h"

namespace ls {

class SearchDialog;

// What the main window works with: the program's parts it shows, drives and
// routes messages to.
struct MainWindowParts {
  HINSTANCE instance;
  const EngineContext& ctx;
  CheckCycle& cycle;
  ShownLog& shown;
  ListViewNewsList& news;
  WindowUserInterface& ui;
  WindowLogSwitcher& logs;
  Fetchers& fetchers;
  WindowTimer& timer;
  WindowTimer& saveTimer;
  BalloonNotifier& notifier;
  const ShellSeams& seams;
};

class MainWindow : private ListLook {
 public:
  // Registers "wndmain" and builds the window with its children, loads the
  // new-list and restores or writes the settings, in the start-up order.
  // Null when the window cannot be made.
  static HWND create(const MainWindowParts& parts, HWND owner);

 private:
  explicit MainWindow(const MainWindowParts& parts);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Start-up, after CreateWindowExW.
  void build();
  void createNewsList();
  void createStatusBar();
  void showAtStart();
  void restoreLayout();
  void saveLayout() const;

  void applyDpi(int dpi);
  void setListIcons(int dpi);
  void setStatusFont(int dpi);
  HFONT listFont() const override;
  int dpi() const override { return dpi_; }
  void setListFont(Font font) override;
  void applyListColours() override;
  void removeTrayIcon() override;

  void onSize(int width, int height, WPARAM wParam, LPARAM lParam);
  void onClose();
  void onDestroy();
  void onCommand(int id);
  LRESULT onNotify(const NMHDR& header);
  void onTimer(UINT_PTR id);
  void onTrayNotify(UINT mouseMessage);
  bool hideOnMinimise(WPARAM command);
  void showNewestRows();

  // What the user does with an entry of the news list.
  void openSelectedEntry();
  void openWebAddress(const std::string& url) const;
  void copySelectedColumn(int column);
  void showNewsContextMenu();

  void openSettings();
  void openSearch();

  MainWindowParts parts_;
  bool* adopted_ = nullptr;  // during CreateWindowExW: set once the window owns the object
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND statusBar_ = nullptr;
  Menu trayMenu_;  // TASKTRAYMENU: popups TRAY, RCLICK, LOG
  ImageList images_;
  Font listFont_;
  Font statusFont_;
  int dpi_ = 96;  // the window's, which the list and the status bar follow
  WindowTimer paintTimer_{IDT_PAINT};
  PaintPacer pacer_;  // the list's and the status bar's paints during checks
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<SearchDialog> search_;
  SettingsMemory settings_;  // what the settings dialog remembers between openings
};

}  // namespace ls
