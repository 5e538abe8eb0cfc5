// The add-site wizard "簡単（？）追加ウィザード", run from the settings dialog.
#pragma once

#include <windows.h>

#include <optional>

#include "engine/engine_context.h"
#include "shell/fetch/fetch_win.h"
#include "shell/user_interface_win.h"
#include "sites/site_file.h"

namespace ls {

// What the wizard works with: its own fetcher and the page file it fills.
struct WizardParts {
  HINSTANCE instance;
  const EngineContext& ctx;
  WindowUserInterface& ui;
  WinsockFetcher& fetcher;
};

// Runs the wizard modally over `owner`; the site the user added, if any.
std::optional<Site> runWizard(const WizardParts& parts, HWND owner);

}  // namespace ls
