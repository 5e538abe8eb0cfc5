// The main window at its monitor's DPI: the list's icons, font and column
// widths and the status bar follow the DPI at start and when the window
// moves to a monitor with another one (WM_DPICHANGED).
#pragma once

#include <windows.h>

namespace ls {

struct App;

// The DPI the window is shown at: its monitor's where the system tells it
// per window, else the screen's.
int windowDpi(HWND window);

// Icons, font, columns and status bar for `dpi`; the columns keep their
// widths in 96-DPI units across the change.
void applyDpi(App& app, int dpi);

// WM_DPICHANGED: the new DPI, then the rectangle the system suggests.
void onDpiChanged(App& app, WPARAM wParam, const RECT& suggested);

}  // namespace ls
