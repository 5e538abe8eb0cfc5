// "Start with Windows": a shortcut to this program in the user's Startup
// folder, which starts it minimised. No registry: the box in the settings
// shows whether such a shortcut exists and points at this very exe.
#pragma once

#include <string>

namespace ls {

inline constexpr const wchar_t* kStartupShortcutName = L"LINKSCOUT.lnk";

// The shortcut's full path in the Startup folder; empty when Windows names
// no such folder.
std::wstring startupShortcutPath();

// The shortcut exists and starts `exePath` (compared without regard to case).
bool startsWithWindows(const std::wstring& exePath);

// Writes the shortcut (target and working folder from `exePath`, shown
// minimised) or removes it. False when that failed; a missing shortcut
// removed is no failure.
bool setStartsWithWindows(const std::wstring& exePath, bool on);

}  // namespace ls
