// Finding a top-level window (owned popups and dialogs included) by what it
// is, the way any other program could find it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace ls {

// The first top-level window for which `match` is true, else null.
HWND findTopLevelWindow(const std::function<bool(HWND)>& match);

// The window's class name ("#32770" for a dialog).
std::wstring windowClassName(HWND window);

// The process that owns the window.
DWORD windowProcess(HWND window);

}  // namespace ls
