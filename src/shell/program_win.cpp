#include "shell/program_win.h"

#include "settings/settings_file.h"
#include "shell/executable_win.h"
#include "shell/fetch/fetch_win.h"
#include "sites/first_run.h"
#include "win/message_loop_win.h"
#include "win/window_object_win.h"

namespace ls {

namespace {

constexpr wchar_t kOwnerClass[] = L"wnddummy";
constexpr const char* kMsgCannotCreateFile = "ファイルの作成に失敗しました。";

EngineContext contextFor(const std::string& appDir, NewsList& news, UserInterface& ui) {
  EngineContext ctx;
  ctx.appDir = appDir;
  ctx.settingsPath = appDir + kSettingsFileName;
  ctx.news = &news;
  ctx.ui = &ui;
  return ctx;
}

}  // namespace

Program::Program(HINSTANCE instance, const std::string& appDir)
    : instance(instance),
      ctx(contextFor(appDir, news, ui)),
      logs(instance, ctx, shown, ui, [this] { return cycle.idle(); }),
      cycle(ctx,
            CyclePorts{&fetchers.wizard(), &timer, &sound, &logs, &saveTimer, &notifier, {}, fetchers.slots(),
                       [this] { PostMessageW(mainWindow(), WM_CHECKRESUME, 0, 0); }},
            shown) {}

// The fetches end before the windows they report to; the owner window takes
// the main window with it.
Program::~Program() {
  fetchers.closeAll();
  owner_.reset();
}

MainWindowParts Program::mainWindowParts() {
  return MainWindowParts{instance, ctx,      cycle, shown,    news,     ui,
                         logs,     fetchers, timer, saveTimer, notifier, seams};
}

// The owner window is created first and prepares the directory; the main
// window finds everything in place. It is never more than an owner.
LRESULT CALLBACK Program::ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Program* self = windowObject<Program>(window, message, lParam);
  if (!self || message != WM_CREATE) return DefWindowProcW(window, message, wParam, lParam);
  return guarded(self->ui, [self]() -> LRESULT {
    if (siteFileReady(prepareApplicationDirectory(self->ctx.appDir))) return 0;
    // Before the main window exists: no owner, and the program ends with -1.
    self->ui.message(kMsgCannotCreateFile);
    self->startFailureCode_ = -1;
    return -1;  // creation fails and the start ends
  });
}

bool Program::start() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Program::ownerProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = kOwnerClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  owner_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", 0, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr,
                               nullptr, instance, this));
  if (!owner_) return false;
  accelerators_ = LoadAcceleratorsW(instance, L"MAINACCEL");
  main_ = MainWindow::create(mainWindowParts(), owner_.get());
  if (!main_) return false;
  cycle.armTimer();
  return true;
}

int Program::run() {
  int code = runMessageLoop(keys());
  cycle.stopTimer();
  return code;
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
  auto program = std::make_unique<Program>(instance, dir);
  if (!program->start()) return program->startFailureCode();
  return program->run();
}

}  // namespace ls
