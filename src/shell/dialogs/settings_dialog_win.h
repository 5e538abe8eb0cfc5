// The settings dialog "LINKSCOUT設定" with its three pages.
#pragma once

#include <windows.h>

#include <string>

#include "engine/check_cycle.h"
#include "shell/dialogs/sites_page_win.h"
#include "shell/dialogs/wizard_win.h"
#include "shell/shell_seams.h"
#include "win/handles_win.h"

namespace ls {

// What the settings dialog changes in the main window.
class ListLook {
 public:
  virtual ~ListLook() = default;
  virtual HFONT listFont() const = 0;
  virtual int dpi() const = 0;
  // A font that could not be made leaves the list with the one it has.
  virtual void setListFont(Font font) = 0;
  // LIST_FONT's colours and background picture onto the lists.
  virtual void applyListColours() = 0;
  virtual void removeTrayIcon() = 0;
};

// What the dialog keeps between openings while the program runs.
struct SettingsMemory {
  SiteFileChoices siteFiles;
  std::wstring lastPicture;
  std::string listText = "500";  // SETTING/LIST as read at start-up or last chosen
};

struct SettingsParts {
  WizardParts wizard;
  CheckCycle& cycle;
  const ShellSeams& seams;
  SettingsMemory& memory;
  ListLook& look;
};

// Commands 40001 and 40008: runs the dialog modally over `owner`. True when
// the program is to end: the user confirmed a change of the tray setting.
bool runSettingsDialog(const SettingsParts& parts, HWND owner);

}  // namespace ls
