// Two real LINKSCOUT.exe processes: a second start in the same folder
// brings the first one's window back and ends without touching a file; a
// start in another folder is a program of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/single_instance_win.h"
#include "program_process.h"
#include "win_test_support.h"

namespace {

TEST(SingleInstance, ASecondStartInTheSameFolderShowsTheFirstAndEnds) {
  EXPECT_EQ(ls::instanceName(L"C:\\Users\\Zo\x00eb\\LINKSCOUT\\"), ls::instanceName(L"c:\\users\\ZO\x00cb\\linkscout\\"));
  EXPECT_NE(ls::instanceName(L"C:\\A\\"), ls::instanceName(L"C:\\B\\"));

  lstest::WinTempDir dir, other;
  lstest::ProgramProcess first(dir.path());
  HWND window = first.window();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(lstest::pumpUntil([&] { return IsIconic(window) != FALSE; }, 5000));
  std::string settings = lstest::fileBytes(dir.file("LINKSCOUT.ini"));

  lstest::ProgramProcess second(dir.path(), false);
  EXPECT_EQ(second.waitForExit(20000), 0);
  EXPECT_TRUE(lstest::pumpUntil([&] { return IsWindowVisible(window) && !IsIconic(window); }, 5000));
  // A second program would have written its window rectangle at its end.
  EXPECT_EQ(lstest::fileBytes(dir.file("LINKSCOUT.ini")), settings);

  lstest::ProgramProcess elsewhere(other.path());
  ASSERT_NE(elsewhere.window(), nullptr);
  EXPECT_EQ(elsewhere.waitForExit(0), -1);  // still running beside the first
  EXPECT_EQ(elsewhere.close(), 0);
  EXPECT_EQ(first.close(), 0);
}

}  // namespace
