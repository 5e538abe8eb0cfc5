// A tab of the settings dialog: its controls lie in the dialog itself and
// show while its tab is chosen. The dialog hands each page its commands and
// notifications and, on OK, asks each to keep what it shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <vector>

namespace ls {

class SettingsPage {
 public:
  SettingsPage(const char* tab, std::initializer_list<int> controls) : tab_(tab), controls_(controls) {}
  virtual ~SettingsPage() = default;
  SettingsPage(const SettingsPage&) = delete;
  SettingsPage& operator=(const SettingsPage&) = delete;

  const char* tab() const { return tab_; }
  void setVisible(bool shown) const {
    for (int id : controls_)
      if (HWND c = GetDlgItem(dialog_, id)) ShowWindow(c, shown ? SW_SHOW : SW_HIDE);
  }

  // WM_INITDIALOG of the dialog.
  virtual void onInit(HWND dialog) { dialog_ = dialog; }
  // True when the command or notification was the page's.
  virtual bool onCommand(int) { return false; }
  virtual bool onNotify(const NMHDR&) { return false; }

 protected:
  HWND dialog_ = nullptr;

 private:
  const char* tab_;
  std::vector<int> controls_;
};

}  // namespace ls
