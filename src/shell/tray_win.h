// The icon in the notification area: the tray setting's, or one only for a
// notice. It belongs to the main window and goes with it.
#pragma once

#include <windows.h>

namespace ls {

inline constexpr UINT kTrayIconId = 1;

class TrayIcon {
 public:
  TrayIcon(HWND window, HINSTANCE instance) : window_(window), instance_(instance) {}
  ~TrayIcon() { remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The tray setting's icon (ICON_LV, tip the program's title); the window
  // loses its taskbar button.
  void addForSetting();
  // Removes the icon; harmless when there is none.
  void remove();
  // Without the tray setting, an icon only for a notice: the taskbar button
  // stays. removeNoticeIcon() takes it away again, never the setting's icon.
  void addForNotice();
  void removeNoticeIcon();
  // The shell's taskbar was created again (Explorer restarted): the icon it
  // lost is added again.
  void onTaskbarCreated();

  bool shown() const { return shown_; }
  HWND window() const { return window_; }
  HINSTANCE instance() const { return instance_; }

 private:
  void add();

  HWND window_;
  HINSTANCE instance_;
  bool wanted_ = false;     // the tray setting was on at start-up
  bool shown_ = false;      // the icon exists now
  bool forNotice_ = false;  // added only for a notice, without the tray setting
};

UINT taskbarCreatedMessage();

// Command 40006: restore and show the window.
void showMainWindow(HWND window);

}  // namespace ls
