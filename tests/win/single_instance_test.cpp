// Two real LINKSCOUT.exe processes: a second start in the same folder
// brings the first one's window back and ends without touching a file; a
// start in another folder is a program of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/single_instance_win.h"
#include "common/wide_win.h"
#include "win_test_support.h"

namespace {

struct Process {
  PROCESS_INFORMATION pi{};
  ~Process() {
    if (pi.hProcess) {
      TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  }
  bool start(const lstest::WinTempDir& dir) {
    std::wstring exe = ls::toWide(dir.file("LINKSCOUT.exe"));
    CopyFileW(ls::toWide(LINKSCOUT_EXE).c_str(), exe.c_str(), TRUE);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          ls::toWide(dir.path()).c_str(), &si, &pi);
  }
  HWND mainWindow() const { return ls::mainWindowOf(pi.dwProcessId); }
  HWND waitForWindow() const {
    HWND w = nullptr;
    lstest::pumpUntil([&] { return (w = mainWindow()) != nullptr; }, 20000);
    return w;
  }
  // The exit code once it ended by itself, or -1.
  long waitForExit(DWORD ms) const {
    if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<long>(code);
  }
  void close(HWND window) const {
    PostMessageW(window, WM_CLOSE, 0, 0);
    waitForExit(20000);
  }
};

TEST(SingleInstance, ASecondStartInTheSameFolderShowsTheFirstAndEnds) {
  EXPECT_EQ(ls::instanceName(L"C:\\Users\\Zo\x00eb\\LINKSCOUT\\"), ls::instanceName(L"c:\\users\\ZO\x00cb\\linkscout\\"));
  EXPECT_NE(ls::instanceName(L"C:\\A\\"), ls::instanceName(L"C:\\B\\"));

  lstest::WinTempDir dir, other;
  Process first;
  ASSERT_TRUE(first.start(dir));
  HWND window = first.waitForWindow();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(lstest::pumpUntil([&] { return IsIconic(window) != FALSE; }, 5000));
  std::string settings = lstest::fileBytes(dir.file("LINKSCOUT.ini"));

  Process second;
  ASSERT_TRUE(second.start(dir));
  EXPECT_EQ(second.waitForExit(20000), 0);
  EXPECT_TRUE(lstest::pumpUntil([&] { return IsWindowVisible(window) && !IsIconic(window); }, 5000));
  // A second program would have written its window rectangle at its end.
  EXPECT_EQ(lstest::fileBytes(dir.file("LINKSCOUT.ini")), settings);

  Process elsewhere;
  ASSERT_TRUE(elsewhere.start(other));
  HWND otherWindow = elsewhere.waitForWindow();
  ASSERT_NE(otherWindow, nullptr);
  EXPECT_EQ(elsewhere.waitForExit(0), -1);  // still running beside the first
  elsewhere.close(otherWindow);
  first.close(window);
  EXPECT_EQ(first.waitForExit(0), 0);
}

}  // namespace
