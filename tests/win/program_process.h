// The real LINKSCOUT.exe as a process of its own, copied into a test
// directory and started there, for tests that drive it from outside.
#pragma once

#include <windows.h>

#include <string>

#include "app/single_instance_win.h"
#include "common/wide_win.h"
#include "win_test_support.h"

namespace lstest {

class ProgramProcess {
 public:
  // Copies the program into `dir` (a path text, which may name a folder
  // outside Shift_JIS) and starts it; window() is its wndmain window once it
  // has one, else null.
  explicit ProgramProcess(const std::string& dir) {
    std::wstring exe = ls::pathToWide(dir + "LINKSCOUT.exe");
    if (!CopyFileW(ls::toWide(LINKSCOUT_EXE).c_str(), exe.c_str(), FALSE)) return;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, ls::pathToWide(dir).c_str(), &si,
                        &pi_))
      return;
    pumpUntil([&] { return (window_ = ls::mainWindowOf(pi_.dwProcessId)) != nullptr; }, 20000);
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

  // Closes the main window and waits for the process; its exit code, or -1.
  long close() {
    if (!window_ || !PostMessageW(window_, WM_CLOSE, 0, 0)) return -1;
    if (WaitForSingleObject(pi_.hProcess, 20000) != WAIT_OBJECT_0) return -1;
    DWORD code = 1;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

}  // namespace lstest
