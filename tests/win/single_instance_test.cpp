// Two real LINKSCOUT.exe processes: a second start in the same folder
// brings the first one's window back and ends without touching a file; a
// start in another folder is a program of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_process.h"
#include "shell/single_instance_win.h"
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

// The folder through another spelling is the same folder: its 8.3 short
// name, and under Wine its path on drive Z:, the Unix root. The second
// start shows the first program and ends.
TEST(SingleInstance, AStartThroughAnotherSpellingOfTheFolderShowsTheFirst) {
  lstest::WinTempDir dir;
  std::wstring longFolder = ls::toWide(dir.path()) + L"Long folder of the news watcher\\";
  ASSERT_TRUE(CreateDirectoryW(longFolder.c_str(), nullptr));
  wchar_t shortBuffer[MAX_PATH] = {};
  ASSERT_NE(GetShortPathNameW(longFolder.c_str(), shortBuffer, MAX_PATH), 0u);
  const std::wstring shortFolder = shortBuffer;
  ASSERT_EQ(shortFolder.find(L"Long folder"), std::wstring::npos) << "no 8.3 names on this volume";
  std::vector<std::wstring> spellings{shortFolder};
  wchar_t prefix[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH) > 0 && longFolder.rfind(L"C:\\", 0) == 0) {
    std::wstring unixSpelling = L"Z:" + std::wstring(prefix) + L"/drive_c/" + longFolder.substr(3);
    for (wchar_t& c : unixSpelling)
      if (c == L'/') c = L'\\';
    ASSERT_NE(GetFileAttributesW(unixSpelling.c_str()), INVALID_FILE_ATTRIBUTES);
    spellings.push_back(unixSpelling);
  }
  // As typed the spellings differ; as the file system knows them, not.
  for (const std::wstring& spelling : spellings) {
    EXPECT_NE(ls::instanceName(spelling), ls::instanceName(longFolder));
    EXPECT_EQ(ls::instanceName(ls::canonicalDirectory(spelling)), ls::instanceName(ls::canonicalDirectory(longFolder)))
        << ls::fromWide(ls::canonicalDirectory(spelling));
  }

  lstest::ProgramProcess first(ls::pathFromWide(longFolder));
  HWND window = first.window();
  ASSERT_NE(window, nullptr);
  for (const std::wstring& spelling : spellings) {
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(lstest::pumpUntil([&] { return IsIconic(window) != FALSE; }, 5000));
    lstest::ProgramProcess second(ls::pathFromWide(spelling), false);
    EXPECT_EQ(second.waitForExit(20000), 0) << ls::fromWide(spelling);
    EXPECT_TRUE(lstest::pumpUntil([&] { return IsWindowVisible(window) && !IsIconic(window); }, 5000));
  }
  EXPECT_EQ(first.close(), 0);
  // The lock goes with its program.
  EXPECT_EQ(GetFileAttributesW((longFolder + ls::kLockFileName).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
