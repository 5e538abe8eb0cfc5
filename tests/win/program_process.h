// The real LINKSCOUT.exe as a process of its own, copied into a test
// directory and started there, for tests that drive it from outside.
#pragma once

#include <windows.h>

#include <string>

#include "shell/single_instance_win.h"
#include "win/wide_win.h"
#include "win_test_support.h"

namespace lstest {

class ProgramProcess {
 public:
  // Copies the program into `dir` (a path text, which may name a folder
  // outside Shift_JIS) and starts it; window() is its wndmain window once it
  // has one (waited for unless `waitForWindow` is false), else null.
  explicit ProgramProcess(const std::string& dir, bool waitForWindow = true) {
    std::wstring exe = ls::pathToWide(dir + "LINKSCOUT.exe");
    // A copy already there (a second start in the same folder) is started as it is.
    if (!CopyFileW(ls::toWide(LINKSCOUT_EXE).c_str(), exe.c_str(), TRUE) &&
        GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
      return;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, ls::pathToWide(dir).c_str(), &si,
                        &pi_))
      return;
    if (waitForWindow) pumpUntil([&] { return (window_ = ls::mainWindowOf(pi_.dwProcessId)) != nullptr; }, 20000);
  }
  ~ProgramProcess() {
    if (pi_.hProcess) {
      if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
      CloseHandle(pi_.hThread);
      CloseHandle(pi_.hProcess);
    }
  }
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  HWND window() const { return window_; }
  DWORD processId() const { return pi_.dwProcessId; }

  // Closes the main window and waits for the process; its exit code, or -1.
  long close() {
    if (!window_ || !PostMessageW(window_, WM_CLOSE, 0, 0)) return -1;
    return waitForExit(20000);
  }
  // The exit code once the process has ended within `ms`, else -1.
  long waitForExit(DWORD ms) const {
    if (!pi_.hProcess || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 1;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

}  // namespace lstest
