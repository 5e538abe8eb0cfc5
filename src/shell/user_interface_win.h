// The user interface over the status bar (control 103) and message boxes:
// every box the program shows goes through here, and so through the tests'
// hooks when they are set.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "engine/ports.h"
#include "win/paint_pacer_win.h"

namespace ls {

class WindowUserInterface : public UserInterface {
 public:
  // Status texts are painted through `pacer` when there is one.
  void attach(HWND owner, HWND statusBar, PaintPacer* pacer = nullptr) {
    owner_ = owner;
    statusBar_ = statusBar;
    pacer_ = pacer;
  }
  void setStatus(int part, const std::string& text) override;
  std::string status(int part) const;
  void message(const std::string& text) override;
  void error(const std::string& text) override;
  void paintPending() override {
    if (pacer_) pacer_->flush();
  }

  // A box with its own caption and buttons (MB_OK, MB_OKCANCEL); returns
  // the button pressed.
  int ask(HWND owner, const std::string& text, const std::string& caption, UINT buttons);

  // Tests answer message boxes here instead of on the screen: questions
  // (ask) with askHook when it is set, everything else with messageHook.
  std::function<void(const std::string&)> messageHook;
  std::function<int(const std::string&)> askHook;

 private:
  // The one place a box is shown; `question` boxes go to askHook first.
  int show(HWND owner, const std::string& text, const std::string& caption, UINT flags, bool question);

  HWND owner_ = nullptr;
  HWND statusBar_ = nullptr;
  PaintPacer* pacer_ = nullptr;
};

}  // namespace ls
