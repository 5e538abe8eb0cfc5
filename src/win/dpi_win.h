// The DPI a window is shown at, and the system's fonts at a DPI, with the
// per-monitor calls looked up so the program still starts on systems that
// lack them.
#pragma once

#include <windows.h>

#include "win/handles_win.h"

namespace ls {

// The screen's DPI, as systems without per-monitor DPI report it.
int screenDpi();

// The DPI the window is shown at: its monitor's where the system tells it
// per window, else the screen's.
int windowDpi(HWND window);

// The status bar font of the system settings at `dpi`; empty when the
// system gives none.
Font systemStatusFont(int dpi);

}  // namespace ls
