// The settings dialog's page "その他": the list's colours, font and
// background picture, the keyword marks and the headlines to leave out.
#pragma once

#include <string>

#include "settings/dialog_settings.h"
#include "shell/dialogs/settings_page_win.h"

namespace ls {

class ListLook;

class LookPage : public SettingsPage {
 public:
  // `lastPicture`: the picture the browse dialog offered last.
  LookPage(ListLook& look, const std::string& settingsPath, std::wstring& lastPicture);

  void fill(const DialogSettings& s);
  void read(DialogSettings& s) const;
  bool onCommand(int id) override;

 private:
  void fillColours(int id, int selectedIndex);
  // Saved at once: a Cancel of the dialog does not undo it.
  void chooseFont();
  void browsePicture();

  ListLook& look_;
  const std::string& settingsPath_;
  std::wstring& lastPicture_;
};

}  // namespace ls
