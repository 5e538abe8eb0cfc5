// The notice of a check that brought news: a balloon from the notification
// area (a toast on Windows 10 and 11). Without the tray setting an icon is
// added for the notice and taken away once the balloon has gone.
#pragma once

#include <windows.h>

#include <string>

#include "engine/cycle_ports.h"

namespace ls {

struct App;

class BalloonNotifier : public NewsNotifier {
 public:
  explicit BalloonNotifier(App& app) : app_(app) {}
  void announce(const std::string& title, const std::string& text) override;

 private:
  App& app_;
};

// The balloon's own notifications of WM_TRAYNOTIFY; false for the others.
// A click shows the main window with the news list's newest rows at the top.
bool onBalloonNotify(App& app, UINT notification);

}  // namespace ls
