#include "shell/dialogs/general_page_win.h"

#include "common/text.h"
#include "settings/settings_file.h"
#include "shell/executable_win.h"
#include "shell/resources/resource_ids.h"
#include "shell/startup_shortcut_win.h"
#include "win/controls_win.h"

namespace ls {

GeneralPage::GeneralPage()
    : SettingsPage("設定", {IDC_SET_INTERVAL, IDC_SET_INTERVAL_LABEL, IDC_SET_SOUND, IDC_SET_LIST,
                            IDC_SET_LIST_LABEL, IDC_SET_PROXY_GROUP, IDC_SET_PROXY_NONE, IDC_SET_PROXY_IE,
                            IDC_SET_PROXY_NAMED, IDC_SET_PROXY_NAME, IDC_SET_PROXY_EXAMPLE, IDC_SET_TASKTRAY,
                            IDC_SET_SHOWSTYLE, IDC_SET_STARTUP, IDC_SET_NOTIFY}) {}

// The proxy name is typed only for "次のプロキシを使う。".
void GeneralPage::enableProxyName() const {
  EnableWindow(GetDlgItem(dialog_, IDC_SET_PROXY_NAME), isButtonChecked(dialog_, IDC_SET_PROXY_NAMED));
}

void GeneralPage::fill(const DialogSettings& s) {
  setControlText(dialog_, IDC_SET_INTERVAL, s.interval);
  setControlText(dialog_, IDC_SET_LIST, s.list);
  checkButton(dialog_, IDC_SET_SOUND, s.sound);
  checkButton(dialog_, IDC_SET_NOTIFY, s.notify);
  checkButton(dialog_, IDC_SET_SHOWSTYLE, s.showStyle);
  checkButton(dialog_, IDC_SET_TASKTRAY, s.taskTray);
  checkButton(dialog_, IDC_SET_PROXY_NONE + s.proxy, true);
  setControlText(dialog_, IDC_SET_PROXY_NAME, s.proxyName);
  enableProxyName();
  // Read from the Startup folder itself, so a shortcut removed by hand shows.
  startsWithWindows_ = startsWithWindows(executablePath());
  checkButton(dialog_, IDC_SET_STARTUP, startsWithWindows_);
}

void GeneralPage::read(DialogSettings& s) const {
  s.interval = correctInterval(std::string(cutToBytes(controlText(dialog_, IDC_SET_INTERVAL), kHolderBytes)));
  s.list = correctListSize(std::string(cutToBytes(controlText(dialog_, IDC_SET_LIST), kHolderBytes)));
  s.sound = isButtonChecked(dialog_, IDC_SET_SOUND);
  s.notify = isButtonChecked(dialog_, IDC_SET_NOTIFY);
  s.showStyle = isButtonChecked(dialog_, IDC_SET_SHOWSTYLE);
  s.proxy = isButtonChecked(dialog_, IDC_SET_PROXY_NONE) ? 0 : isButtonChecked(dialog_, IDC_SET_PROXY_IE) ? 1 : 2;
  s.proxyName = controlText(dialog_, IDC_SET_PROXY_NAME);
}

bool GeneralPage::onCommand(int id) {
  if (id != IDC_SET_PROXY_NONE && id != IDC_SET_PROXY_IE && id != IDC_SET_PROXY_NAMED) return false;
  enableProxyName();
  return true;
}

bool GeneralPage::trayChecked() const { return isButtonChecked(dialog_, IDC_SET_TASKTRAY); }

bool GeneralPage::applyStartup() const {
  bool startup = isButtonChecked(dialog_, IDC_SET_STARTUP);
  return startup == startsWithWindows_ || setStartsWithWindows(executablePath(), startup);
}

}  // namespace ls
