// The interval timer and the sound over Win32.
#pragma once

#include <windows.h>

#include <string>

#include "engine/cycle_ports.h"

namespace ls {

// Timer 102 of the main window.
class WindowTimer : public IntervalTimer {
 public:
  void attach(HWND window) { window_ = window; }
  void arm(std::int64_t periodMs) override;
  void stop() override;

 private:
  HWND window_ = nullptr;
};

class WaveSoundPlayer : public SoundPlayer {
 public:
  void play(const std::string& path) override;
};

}  // namespace ls
