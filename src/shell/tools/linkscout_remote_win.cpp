// linkscout-remote: drives a running LINKSCOUT.exe from outside, the way any
// other program could: it finds the "wndmain" window and posts a command.
//   linkscout-remote wait [SECONDS]   waits until the window exists (default 30)
//   linkscout-remote check            the check command (ニュース確認)
//   linkscout-remote close            closes the program as its close box does
//   linkscout-remote command ID       any menu command, e.g. 40001 (設定)
// Exit status 0 on success, 1 when no window was found, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/resources/resource_ids.h"

namespace {

HWND findMainWindow() { return FindWindowW(L"wndmain", nullptr); }

int usage() {
  std::fprintf(stderr, "usage: linkscout-remote wait [SECONDS] | check | close | command ID\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const char* command = argv[1];
  if (std::strcmp(command, "wait") == 0) {
    int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    for (int i = 0; i < seconds * 10; ++i) {
      if (findMainWindow()) return 0;
      Sleep(100);
    }
    std::fprintf(stderr, "linkscout-remote: no LINKSCOUT window appeared\n");
    return 1;
  }
  HWND window = findMainWindow();
  if (!window) {
    std::fprintf(stderr, "linkscout-remote: LINKSCOUT is not running\n");
    return 1;
  }
  if (std::strcmp(command, "check") == 0) return PostMessageW(window, WM_COMMAND, IDM_CHECK, 0) ? 0 : 1;
  if (std::strcmp(command, "close") == 0) return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (std::strcmp(command, "command") == 0 && argc > 2) {
    return PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0) ? 0 : 1;
  }
  return usage();
}
