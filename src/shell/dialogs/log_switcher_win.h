// The log switcher window "ログ切り替え": list 1250 of the logs, a click
// shows one in the news list, its context menu shows or deletes one.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "engine/cycle_ports.h"
#include "engine/engine_context.h"
#include "engine/shown_log.h"

namespace ls {

class LogSwitcherDialog;

// The window as the program and the check cycle see it, open or not.
class WindowLogSwitcher : public LogSwitcherView {
 public:
  // `checkIdle` tells whether a check is between sites, when a log may be
  // shown in the news list.
  WindowLogSwitcher(HINSTANCE instance, const EngineContext& ctx, ShownLog& shown, UserInterface& ui,
                    std::function<bool()> checkIdle);
  ~WindowLogSwitcher() override;

  // Command 40016: opens the window unless it is open, owned by `owner`,
  // with popup `menu` as its context menu.
  void open(HWND owner, HMENU menu);
  // The window while it is open, else null.
  HWND window() const;
  bool isOpen() const override;
  void selectNewListRow() override;
  void rebuild() override;

 private:
  HINSTANCE instance_;
  const EngineContext& ctx_;
  ShownLog& shown_;
  UserInterface& ui_;
  std::function<bool()> checkIdle_;
  std::unique_ptr<LogSwitcherDialog> dialog_;
};

}  // namespace ls
