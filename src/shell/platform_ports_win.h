// The interval timer and the sound over Win32.
#pragma once

#include <windows.h>

#include <string>

#include "engine/cycle_ports.h"

namespace ls {

// A timer of the main window with its own id, whose ticks arrive as WM_TIMER.
class WindowTimer : public IntervalTimer {
 public:
  explicit WindowTimer(UINT_PTR id) : id_(id) {}
  void attach(HWND window) { window_ = window; }
  void arm(std::int64_t periodMs) override;
  void stop() override;

 private:
  HWND window_ = nullptr;
  UINT_PTR id_;
};

class WaveSoundPlayer : public SoundPlayer {
 public:
  void play(const std::string& path) override;
};

}  // namespace ls
