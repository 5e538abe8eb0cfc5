#include "shell/dialogs/settings_dialog_win.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "common/program.h"
#include "engine/file_failure.h"
#include "engine/news_entry.h"
#include "settings/dialog_settings.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "shell/dialogs/general_page_win.h"
#include "shell/dialogs/look_page_win.h"
#include "shell/resources/resource_ids.h"
#include "win/dialog_win.h"
#include "win/wide_win.h"

namespace ls {

namespace {

constexpr const char* kMsgStartupFailed = "スタートアップへの登録を変更できませんでした。";

// Labels, check boxes and group boxes lie on the tab control's body: they
// are painted in its colour, not the dialog's (a hollow brush left the
// dialog's grey beside their texts).
INT_PTR staticColour(HDC dc, HWND control) {
  wchar_t cls[16] = {};
  GetClassNameW(control, cls, 16);
  if (lstrcmpiW(cls, L"Edit") == 0) return FALSE;
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
}

class SettingsDialog : public Dialog {
 public:
  explicit SettingsDialog(const SettingsParts& parts)
      : Dialog(parts.wizard.ui),
        parts_(parts),
        look_(parts.look, parts.wizard.ctx.settingsPath, parts.memory.lastPicture),
        sites_(parts.wizard, parts.seams, parts.memory.siteFiles) {}
  // After a confirmed change of the tray setting the program ends.
  bool quitAfter() const { return quitAfter_; }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onNotify(const NMHDR& header) override;
  void onOk() override;
  void onCancel() override;
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void addTabs();
  void showPage(int shown);
  const std::string& settingsPath() const { return parts_.wizard.ctx.settingsPath; }

  SettingsParts parts_;
  GeneralPage general_;
  LookPage look_;
  SitesPage sites_;
  // In the order of the tabs.
  const std::array<SettingsPage*, 3> pages_{&general_, &sites_, &look_};
  bool quitAfter_ = false;
};

void SettingsDialog::addTabs() {
  HWND tab = item(IDC_SET_TAB);
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    std::wstring t = toWide(pages_[i]->tab());
    TCITEMW tabItem{};
    tabItem.mask = TCIF_TEXT;
    tabItem.pszText = t.data();
    SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tabItem));
  }
}

void SettingsDialog::showPage(int shown) {
  for (std::size_t i = 0; i < pages_.size(); ++i) pages_[i]->setVisible(static_cast<int>(i) == shown);
}

bool SettingsDialog::onInit() {
  parts_.cycle.stopTimer();
  addTabs();
  general_.onInit(dialog_);
  look_.onInit(dialog_);
  DialogSettings s = loadDialogSettings(settingsPath(), parts_.cycle.intervalText(), parts_.memory.listText);
  general_.fill(s);
  look_.fill(s);
  sites_.onInit(dialog_);
  showPage(0);
  return true;
}

void SettingsDialog::onOk() {
  DialogSettings s;
  general_.read(s);
  look_.read(s);
  parts_.cycle.setIntervalText(s.interval);
  parts_.memory.listText = s.list;
  // What could not be saved still holds until the program ends.
  if (!saveDialogSettings(settingsPath(), s))
    parts_.wizard.ui.setStatus(1, cannotWriteText(parts_.wizard.ctx, settingsPath()));
  parts_.look.applyListColours();

  bool tray = general_.trayChecked();
  if (trayChoiceChanged(settingsPath(), tray) &&
      parts_.wizard.ui.ask(dialog_, kMsgTrayRestart, kProgramTitle, MB_OKCANCEL) == IDOK) {
    writeProfileString(settingsPath(), kSETTING, kTASKTRAY, tray ? "1" : "0");
    if (!tray) parts_.look.removeTrayIcon();
    quitAfter_ = true;
  }
  sites_.save();
  if (!general_.applyStartup()) parts_.wizard.ui.ask(dialog_, kMsgStartupFailed, kProgramTitle, MB_OK);
  trimNewsList(parts_.wizard.ctx);
  parts_.cycle.armTimer();
  end(IDOK);
}

void SettingsDialog::onCancel() {
  parts_.cycle.armTimer();
  end(IDCANCEL);
}

bool SettingsDialog::onNotify(const NMHDR& h) {
  if (h.idFrom == IDC_SET_TAB && h.code == TCN_SELCHANGE) {
    showPage(TabCtrl_GetCurSel(h.hwndFrom));
    return true;
  }
  for (SettingsPage* page : pages_)
    if (page->onNotify(h)) return true;
  return false;
}

bool SettingsDialog::onCommand(int id, int code) {
  if (id == IDC_SET_OK) onOk();
  if (id == IDC_SET_CANCEL) onCancel();
  if (id == IDC_SET_OK || id == IDC_SET_CANCEL) return true;
  for (SettingsPage* page : pages_)
    if (page->onCommand(id)) return true;
  // Enter in an edit field is OK; Escape and the close box are Cancel.
  return Dialog::onCommand(id, code);
}

INT_PTR SettingsDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CTLCOLORSTATIC) return FALSE;
  return staticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
}

}  // namespace

bool runSettingsDialog(const SettingsParts& parts, HWND owner) {
  SettingsDialog dialog(parts);
  dialog.runModal(parts.wizard.instance, L"SETTING", owner);
  return dialog.quitAfter();
}

}  // namespace ls
