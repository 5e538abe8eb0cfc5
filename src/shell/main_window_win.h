// The main window "wndmain" with the news list and the status bar, and the
// hidden owner window "wnddummy", each with its own procedure and both with
// the program's parts as their creation parameter.
#pragma once

#include <windows.h>

#include <string>

namespace ls {

struct App;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ownerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers "wnddummy" and creates the owner window, whose creation prepares
// the application directory. False when either fails or the site file
// cannot be made (the user has been told).
bool createOwnerWindow(App& app);

// Registers "wndmain" and builds the main window with its children, loads
// the new-list and restores or writes the settings, in the start-up order.
// False when the window cannot be made.
bool createMainWindow(App& app);

// The news list's icons: 0 and 4 become 1, 2 becomes 3 (the ageing happens
// in the core).
void openSelectedEntry(App& app);
// Hands an http:// or https:// address to the user's browser; anything else
// is never opened.
void openWebAddress(const App& app, const std::string& url);
void copySelectedColumn(App& app, int column);
void showNewsContextMenu(App& app);

// Window rectangle, column widths and list font from the settings file.
void restoreLayout(App& app);
// What closing keeps: the restored rectangle and the column widths.
void saveLayout(const App& app);

}  // namespace ls
