// The settings dialog "LINKSCOUT設定" with its three pages, and the routine
// that gives the news list and the log switcher their colours and picture.
#pragma once

#include <windows.h>

namespace ls {

struct App;

// Commands 40001 and 40008: runs the dialog modally over the main window.
void runSettingsDialog(App& app);

// LIST_FONT's colours and background picture onto the news list and, when
// it is open, the log switcher's list.
void applyListColours(App& app);

}  // namespace ls
