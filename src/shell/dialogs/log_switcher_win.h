// The log switcher window "ログ切り替え": list 1250 of the logs, a click
// shows one in the news list, its context menu shows or deletes one.
#pragma once

#include <windows.h>

#include <memory>

#include "engine/cycle_ports.h"

namespace ls {

struct App;
class LogSwitcherDialog;

// The window as the program and the check cycle see it, open or not.
class WindowLogSwitcher : public LogSwitcherView {
 public:
  explicit WindowLogSwitcher(App& app);
  ~WindowLogSwitcher() override;

  // Command 40016: opens the window unless it is open.
  void open();
  // The window while it is open, else null.
  HWND window() const;

  bool isOpen() const override;
  void selectNewListRow() override;
  void rebuild() override;

 private:
  App& app_;
  std::unique_ptr<LogSwitcherDialog> dialog_;
};

}  // namespace ls
