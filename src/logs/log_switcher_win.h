// The log switcher window "ログ切り替え": list 1250 of the logs, a click
// shows one in the news list, its context menu shows or deletes one.
#pragma once

#include <windows.h>

#include "engine/cycle_ports.h"

namespace ls {

// Command 40016: opens the window unless it is open.
void openLogSwitcher();

// The check cycle's view of the window.
class WindowLogSwitcher : public LogSwitcherView {
 public:
  bool isOpen() const override;
  void selectNewListRow() override;
  void rebuild() override;
};

}  // namespace ls
