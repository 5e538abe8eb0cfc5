// bench-probe: the program benchmark's hands and stopwatch inside Wine. It
// drives a running LINKSCOUT.exe through window messages, as any other
// program could, and times what the user would wait for. Each command prints
// one line of "name=value" pairs for bench/program_bench.py.
//   bench-probe start EXE DIR [CLASS] starts EXE in DIR; ms until its window
//                                    (class wndmain) answers
//   bench-probe check SECONDS [END]  the check command; ms until the cycle ends
//                                    (part 0 empty, or END when given)
//                                    (or SECONDS pass), the sites begun, and the
//                                    longest wait for an answer meanwhile
//   bench-probe logs                 opens the log switcher and shows its row 1
//   bench-probe fetch PORT N         GETs /site/0../site/N-1 once each; mean ms
//   bench-probe show HOW             ShowWindow(HOW) on the main window (6: minimise)
//   bench-probe close                closes the program and waits for its end
// Exit status 0 on success, 1 on a failure (told on stderr), 2 on a usage error.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/resources/resource_ids.h"

namespace {

// A window that keeps the user waiting longer than this is frozen.
constexpr UINT kAnswerMs = 250;

double nowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int fail(const char* what) {
  std::fprintf(stderr, "bench-probe: %s\n", what);
  return 1;
}

HWND mainWindow(const wchar_t* cls = L"wndmain") { return FindWindowW(cls, nullptr); }

// One round trip of WM_NULL: how long the window took to answer, or -1 when
// it did not answer within kAnswerMs.
double answerMs(HWND window) {
  DWORD_PTR result = 0;
  double t0 = nowMs();
  if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result)) return -1;
  return nowMs() - t0;
}

// Part 0 of the status bar (the site being checked), read through the
// window text, which is marshalled between processes. It waits for a frozen
// window (the WM_NULL probe has timed it already); "?" when it never answers.
std::wstring statusText(HWND statusBar) {
  wchar_t text[256] = {};
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(statusBar, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 600000, &n))
    return L"?";
  return text;
}

int start(const char* exe, const char* dir, const char* windowClass) {
  std::wstring cls(windowClass, windowClass + std::strlen(windowClass));
  std::wstring wexe(exe, exe + std::strlen(exe)), wdir(dir, dir + std::strlen(dir));
  std::wstring cmd = L"\"" + wexe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  double t0 = nowMs();
  if (!CreateProcessW(wexe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, wdir.c_str(), &si, &pi))
    return fail("cannot start the program");
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // The window exists before its rows are loaded; it answers once the
  // start has painted it and reached the message loop.
  HWND window = nullptr;
  while (!(window = mainWindow(cls.c_str()))) {
    if (nowMs() - t0 > 60000) return fail("no window within 60 s");
    Sleep(1);
  }
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
  std::printf("start_ms=%.1f\n", nowMs() - t0);
  return 0;
}

// `endName`, when given, is the name part 0 shows at the end instead of
// nothing: the last site of the file, which fails at once, so a check whose
// silent sites failed is seen to end too.
int check(int seconds, const char* endName) {
  std::wstring end = endName ? std::wstring(endName, endName + std::strlen(endName)) : std::wstring();
  HWND window = mainWindow();
  if (!window) return fail("LINKSCOUT is not running");
  HWND statusBar = GetDlgItem(window, IDC_STATUSBAR);
  double t0 = nowMs(), longest = 0;
  int unanswered = 0, sites = 0;
  bool ended = false;
  std::wstring shown;
  PostMessageW(window, WM_COMMAND, IDM_CHECK, 0);
  // The cycle shows each site's name in part 0 and leaves it empty at its
  // end when no site failed.
  while (nowMs() - t0 < seconds * 1000.0) {
    double ms = answerMs(window);
    if (ms < 0) {
      // Frozen: how long it stays so is the longest handler's length.
      ++unanswered;
      double t1 = nowMs();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
      ms = kAnswerMs + nowMs() - t1;
    }
    if (ms > longest) longest = ms;
    std::wstring text = statusText(statusBar);
    if (text != shown && !text.empty()) ++sites;
    shown = text;
    if (sites > 0 && (text.empty() || (!end.empty() && text == end))) {
      ended = true;
      break;
    }
    // Often enough to catch any wait of 250 ms, seldom enough to cost
    // the program little.
    Sleep(25);
  }
  std::printf("cycle_ms=%.1f ended=%d sites_begun=%d longest_answer_ms=%.1f unanswered=%d\n", nowMs() - t0,
              ended ? 1 : 0, sites, longest, unanswered);
  return 0;
}

struct ThreadWindows {
  HWND dialog = nullptr;
};

BOOL CALLBACK findDialog(HWND window, LPARAM param) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(window, IDC_LOGLIST)) {
    reinterpret_cast<ThreadWindows*>(param)->dialog = window;
    return FALSE;
  }
  return TRUE;
}

int logs() {
  HWND window = mainWindow();
  if (!window) return fail("LINKSCOUT is not running");
  double t0 = nowMs();
  SendMessageW(window, WM_COMMAND, IDM_LOGS, 0);
  double openMs = nowMs() - t0;
  ThreadWindows found;
  EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), findDialog, reinterpret_cast<LPARAM>(&found));
  if (!found.dialog) return fail("no log switcher");
  HWND list = GetDlgItem(found.dialog, IDC_LOGLIST);
  // Row 1 is chosen with the keys, which select without showing; the menu
  // command then shows it, as the context menu's "開く" does.
  for (int i = 0; i < 2; ++i) {
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(list, WM_KEYUP, VK_DOWN, 0);
  }
  t0 = nowMs();
  SendMessageW(found.dialog, WM_COMMAND, IDM_LOG_OPEN, 0);
  // The rows are painted by then, or when the window next answers.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
  double showMs = nowMs() - t0;
  SendMessageW(found.dialog, WM_CLOSE, 0, 0);
  std::printf("switcher_open_ms=%.1f log_show_ms=%.1f\n", openMs, showMs);
  return 0;
}

// A blocking GET over a plain socket: the fetch alone, without the program.
bool get(int port, int site) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<u_short>(port));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  if (ok) {
    std::string request = "GET /site/" + std::to_string(site) + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    ok = send(s, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size());
    char buffer[8192];
    int n;
    while (ok && (n = recv(s, buffer, sizeof buffer, 0)) > 0) {
    }
  }
  closesocket(s);
  return ok;
}

int fetch(int port, int sites) {
  WSADATA data;
  if (WSAStartup(0x0202, &data) != 0) return fail("no sockets");
  double t0 = nowMs();
  for (int i = 0; i < sites; ++i)
    if (!get(port, i)) return fail("a fetch failed");
  std::printf("fetch_ms=%.3f\n", (nowMs() - t0) / sites);
  WSACleanup();
  return 0;
}

int close() {
  HWND window = mainWindow();
  if (!window) return fail("LINKSCOUT is not running");
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (process) {
    WaitForSingleObject(process, 60000);
    CloseHandle(process);
  }
  return 0;
}

// Shows the main window as ShowWindow's `how` says (6: minimised, 9: restored).
int show(int how) {
  HWND window = mainWindow();
  if (!window) return fail("LINKSCOUT is not running");
  ShowWindowAsync(window, how);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
  return 0;
}

int usage() {
  std::fprintf(stderr, "usage: bench-probe start EXE DIR [CLASS] | check SECONDS [ENDNAME] | logs | fetch PORT N | show HOW | close\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  if (command == "start" && (argc == 4 || argc == 5)) return start(argv[2], argv[3], argc == 5 ? argv[4] : "wndmain");
  if (command == "check" && (argc == 3 || argc == 4)) return check(std::atoi(argv[2]), argc == 4 ? argv[3] : nullptr);
  if (command == "logs") return logs();
  if (command == "fetch" && argc == 4) return fetch(std::atoi(argv[2]), std::atoi(argv[3]));
  if (command == "close") return close();
  if (command == "show" && argc == 3) return show(std::atoi(argv[2]));
  return usage();
}
