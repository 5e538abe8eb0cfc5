// Bringing the program up in its fixed order, the message loop, and the end.
#pragma once

#include <windows.h>

#include <string>

namespace ls {

struct App;

// The full path of the running executable, as Windows gives it.
std::wstring executablePath();

// The directory of the running executable, ending in a backslash, as a path
// text that keeps every character of its folder names.
std::string executableDirectory();

// Start-up after the sockets: menus, paths, the owner window (which prepares
// the application directory), the main window and the interval timer. False
// when the program cannot start.
bool startProgram(App& app, HINSTANCE instance, const std::string& appDir);

// One message: the search dialog's keys first, then translate and dispatch.
void dispatchMessage(const App& app, MSG& msg);

// Runs until the quit message and returns its exit code.
int runMessageLoop(const App& app);

// The whole program: sockets, start-up, loop, timer stop.
int runProgram(HINSTANCE instance);

}  // namespace ls
