// The notification-area icon of the tray setting, its menu, and hiding the
// window on minimise.
#pragma once

#include <windows.h>

namespace ls {

// Adds the icon (ICON_LV, tip the program's title) and takes the window's
// taskbar button away. Remembers whether the icon really exists.
void addTrayIcon();
// Removes the icon; harmless when there is none.
void removeTrayIcon();
bool trayIconShown();

// The shell's taskbar was created again (Explorer restarted): the icon it
// lost is added again.
void onTaskbarCreated();
UINT taskbarCreatedMessage();

// WM_TRAYNOTIFY: left button shows the window, right button the TRAY popup.
void onTrayNotify(LPARAM mouseMessage);

// WM_SYSCOMMAND: true when the minimise was turned into hiding the window.
bool hideOnMinimise(WPARAM command);

// Command 40006: restore and show the main window.
void showMainWindow();

}  // namespace ls
