#include "shell/startup_win.h"

#include <vector>

#include "shell/app_win.h"
#include "shell/main_window_win.h"
#include "win/wide_win.h"
#include "shell/fetch/fetch_win.h"
#include "settings/settings_file.h"

namespace ls {

std::wstring executablePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) return std::wstring(path.data(), n);
    path.resize(path.size() * 2);
  }
}

std::string executableDirectory() {
  std::wstring path = executablePath();
  if (path.empty()) return std::string();
  std::optional<AppPaths> paths = computeAppPaths(pathFromWide(path));
  return paths ? paths->directory : std::string();
}

bool startProgram(App& a, HINSTANCE instance, const std::string& appDir) {
  initApp(a, instance, appDir);
  a.trayMenu.reset(LoadMenuW(instance, L"TASKTRAYMENU"));
  a.keys = LoadAcceleratorsW(instance, L"MAINACCEL");
  if (!createOwnerWindow(a)) return false;
  if (!createMainWindow(a)) return false;
  a.cycle->armTimer();
  return true;
}

void dispatchMessage(const App& a, MSG& msg) {
  HWND search = a.searchDialog;
  if (search && IsDialogMessageW(search, &msg)) return;
  // The keys belong to the main window and the news list, never to a dialog
  // or the log switcher.
  bool mainKeys = a.keys && a.main && (msg.hwnd == a.main || IsChild(a.main, msg.hwnd));
  if (mainKeys && TranslateAcceleratorW(a.main, a.keys, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int runMessageLoop(const App& a) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatchMessage(a, msg);
  return static_cast<int>(msg.wParam);
}

// The only places where the program ends of itself: before it has a
// window (no sockets, no application directory, a start refused). Later
// failures (a file that cannot be read or written, memory that runs out,
// any exception in a window procedure) fail their step and are told; the
// program goes on.
int runProgram(HINSTANCE instance) {
  if (!startSockets()) return 0;
  std::string dir = executableDirectory();
  if (dir.empty()) return 0;
  auto app = std::make_unique<App>();
  if (!startProgram(*app, instance, dir)) return app->startFailureCode;
  int code = runMessageLoop(*app);
  app->cycle->stopTimer();
  if (app->owner) DestroyWindow(app->owner);
  return code;
}

}  // namespace ls
