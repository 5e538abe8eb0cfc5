#include "shell/app_win.h"

#include "shell/dialogs/search_win.h"
#include "settings/settings_file.h"

namespace ls {

App::App() : logs(*this) {}

// The fetch goes before the windows it reports to.
App::~App() {
  fetcher.close();
  for (WinsockFetcher& f : slots) f.close();
}

void initApp(App& a, HINSTANCE instance, const std::string& appDir) {
  a.instance = instance;
  a.ctx.appDir = appDir;
  a.ctx.settingsPath = appDir + kSettingsFileName;
  a.ctx.news = &a.news;
  a.ctx.ui = &a.ui;
  std::vector<Fetcher*> more;
  for (WinsockFetcher& f : a.slots) more.push_back(&f);
  a.cycle = std::make_unique<CheckCycle>(
      a.ctx,
      CyclePorts{&a.fetcher, &a.timer, &a.sound, &a.logs, &a.saveTimer, &a.notifier, {}, std::move(more),
                 [&a] { PostMessageW(a.main, WM_CHECKRESUME, 0, 0); }},
      a.shown);
}

}  // namespace ls
