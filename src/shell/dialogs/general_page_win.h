// The settings dialog's page "設定": the interval, the list size, the
// sound, the proxy, the tray, the start with Windows and the notices.
#pragma once

#include "settings/dialog_settings.h"
#include "shell/dialogs/settings_page_win.h"

namespace ls {

class GeneralPage : public SettingsPage {
 public:
  GeneralPage();

  void fill(const DialogSettings& s);
  void read(DialogSettings& s) const;
  bool onCommand(int id) override;
  bool trayChecked() const;
  // Adds or removes the Startup folder's shortcut when its box changed;
  // false when that failed.
  bool applyStartup() const;

 private:
  void enableProxyName() const;

  bool startsWithWindows_ = false;  // as the Startup folder said when the dialog opened
};

}  // namespace ls
