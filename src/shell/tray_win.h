// The notification-area icon of the tray setting, its menu, and hiding the
// window on minimise.
#pragma once

#include <windows.h>

namespace ls {

struct App;

inline constexpr UINT kTrayIconId = 1;

// Adds the icon (ICON_LV, tip the program's title) and takes the window's
// taskbar button away. Remembers whether the icon really exists.
void addTrayIcon(App& app);
// Removes the icon; harmless when there is none.
void removeTrayIcon(App& app);

// Without the tray setting, an icon only for a notice: the taskbar button
// stays. Removed again with removeNoticeIcon(); the tray setting's icon never is.
void addNoticeIcon(App& app);
void removeNoticeIcon(App& app);

// The shell's taskbar was created again (Explorer restarted): the icon it
// lost is added again.
void onTaskbarCreated(App& app);
UINT taskbarCreatedMessage();

// WM_TRAYNOTIFY: left button shows the window, right button the TRAY popup;
// the balloon's notifications go to the notice.
void onTrayNotify(App& app, LPARAM mouseMessage);

// WM_SYSCOMMAND: true when the minimise was turned into hiding the window.
bool hideOnMinimise(const App& app, WPARAM command);

// Command 40006: restore and show the main window.
void showMainWindow(const App& app);

}  // namespace ls
