// The add-site wizard "簡単（？）追加ウィザード", run from the settings dialog.
#pragma once

#include <windows.h>

namespace ls {

struct App;

// Runs the wizard modally over the settings dialog, whose site list gets the
// new row.
void runWizard(App& app, HWND settingsDialog);

}  // namespace ls
