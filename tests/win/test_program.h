// The program for the test that runs it, made afresh for each start in the
// test's own folder, as the entry point makes it once; and its windows,
// found the way a user's tools would find them.
#pragma once

#include <windows.h>

#include <cassert>
#include <memory>
#include <string>

#include "shell/program_win.h"
#include "shell/resources/resource_ids.h"
#include "win/find_window_win.h"

namespace lstest {

inline std::unique_ptr<ls::Program>& programSlot() {
  static std::unique_ptr<ls::Program> slot;
  return slot;
}

// A new program in `dir`, replacing any earlier one.
inline ls::Program& makeProgram(const std::string& dir) {
  programSlot().reset();
  programSlot() = std::make_unique<ls::Program>(GetModuleHandleW(nullptr), dir);
  return *programSlot();
}

inline ls::Program& program() {
  assert(programSlot());
  return *programSlot();
}

// Forgets every window and the cycle, so a test can start the program again.
inline void resetProgram() { programSlot().reset(); }

inline HWND newsList() { return GetDlgItem(program().mainWindow(), IDC_NEWSLIST); }
inline HWND statusBar() { return GetDlgItem(program().mainWindow(), IDC_STATUSBAR); }

// The open dialog of this thread that holds control `id`, else null.
inline HWND dialogWith(int id) {
  return ls::findTopLevelWindow([id](HWND w) {
    return GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() && ls::windowClassName(w) == L"#32770" &&
           GetDlgItem(w, id) != nullptr;
  });
}

}  // namespace lstest
