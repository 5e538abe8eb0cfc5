// The program's parts for the test that runs it, made afresh after each
// reset, as the program itself makes them once in its entry point.
#pragma once

#include <memory>

#include "shell/app_win.h"

namespace lstest {

inline std::unique_ptr<ls::App>& programSlot() {
  static std::unique_ptr<ls::App> slot;
  return slot;
}

inline ls::App& app() {
  std::unique_ptr<ls::App>& slot = programSlot();
  if (!slot) slot = std::make_unique<ls::App>();
  return *slot;
}

// Forgets every window and the cycle, so a test can start the program again.
inline void resetApp() { programSlot().reset(); }

}  // namespace lstest
