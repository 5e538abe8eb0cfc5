// The notice of a check that brought news: a balloon from the notification
// area (a toast on Windows 10 and 11). Without the tray setting an icon is
// added for the notice and taken away once the balloon has gone.
#pragma once

#include <windows.h>

#include <string>

#include "engine/cycle_ports.h"
#include "shell/tray_win.h"

namespace ls {

class BalloonNotifier : public NewsNotifier {
 public:
  // The main window's icon while the window exists; without one nothing
  // is announced.
  void attach(TrayIcon* tray) { tray_ = tray; }
  void announce(const std::string& title, const std::string& text) override;

 private:
  TrayIcon* tray_ = nullptr;
};

}  // namespace ls
