// The Startup folder's shortcut under Wine's own shell links.
#include <windows.h>

#include <gtest/gtest.h>

#include "shell/startup_shortcut_win.h"

namespace {

TEST(StartupShortcut, OnOffAndOnlyForThisExe) {
  const std::wstring exe = L"C:\\Programs\\LINKSCOUT\\LINKSCOUT.exe";
  ASSERT_FALSE(ls::startupShortcutPath().empty());
  ASSERT_TRUE(ls::setStartsWithWindows(exe, false));
  EXPECT_FALSE(ls::startsWithWindows(exe));
  ASSERT_TRUE(ls::setStartsWithWindows(exe, true));
  EXPECT_TRUE(ls::startsWithWindows(exe));
  EXPECT_TRUE(ls::startsWithWindows(L"c:\\programs\\linkscout\\LINKSCOUT.EXE"));
  // Another copy of the program in another folder is not this one.
  EXPECT_FALSE(ls::startsWithWindows(L"C:\\Other\\LINKSCOUT.exe"));
  ASSERT_TRUE(ls::setStartsWithWindows(exe, false));
  EXPECT_FALSE(ls::startsWithWindows(exe));
  EXPECT_EQ(GetFileAttributesW(ls::startupShortcutPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(ls::setStartsWithWindows(exe, false));  // already gone
}

}  // namespace
