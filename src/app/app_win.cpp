#include "app/app_win.h"

#include "settings/settings_file.h"

namespace ls {

namespace {
std::unique_ptr<App> g_app;
}  // namespace

App& app() {
  if (!g_app) g_app = std::make_unique<App>();
  return *g_app;
}

void initApp(HINSTANCE instance, const std::string& appDir) {
  App& a = app();
  a.instance = instance;
  a.ctx.appDir = appDir;
  a.ctx.settingsPath = appDir + kSettingsFileName;
  a.ctx.news = &a.news;
  a.ctx.ui = &a.ui;
  a.cycle = std::make_unique<CheckCycle>(a.ctx, CyclePorts{&a.fetcher, &a.timer, &a.sound, &a.logs, &a.saveTimer}, a.shown);
}

void resetApp() {
  if (g_app) g_app->fetcher.close();
  g_app.reset();
}

}  // namespace ls
