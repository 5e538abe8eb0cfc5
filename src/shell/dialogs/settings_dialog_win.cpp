#include "shell/dialogs/settings_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "shell/app_win.h"
#include "win/controls_win.h"
#include "settings/window_layout.h"
#include "shell/list_font_win.h"
#include "shell/tray_win.h"
#include "win/window_object_win.h"
#include "common/program.h"
#include "common/text.h"
#include "win/wide_win.h"
#include "engine/file_failure.h"
#include "engine/news_entry.h"
#include "shell/resources/resource_ids.h"
#include "settings/dialog_settings.h"
#include "shell/startup_shortcut_win.h"
#include "shell/startup_win.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "shell/dialogs/sites_page_win.h"
#include "shell/dialogs/wizard_win.h"

namespace ls {

namespace {

constexpr const char* kMsgStartupFailed = "スタートアップへの登録を変更できませんでした。";

// The controls of each page, in the order of the tabs.
constexpr int kSettingsPage[] = {IDC_SET_INTERVAL,      IDC_SET_INTERVAL_LABEL, IDC_SET_SOUND,
                                 IDC_SET_LIST,          IDC_SET_LIST_LABEL,     IDC_SET_PROXY_GROUP,
                                 IDC_SET_PROXY_NONE,    IDC_SET_PROXY_IE,       IDC_SET_PROXY_NAMED,
                                 IDC_SET_PROXY_NAME,    IDC_SET_PROXY_EXAMPLE,  IDC_SET_TASKTRAY,
                                 IDC_SET_SHOWSTYLE,     IDC_SET_STARTUP,        IDC_SET_NOTIFY};
constexpr int kSitesPage[] = {IDC_SITE_NAME_LABEL, IDC_SITE_EXTRACT, IDC_SITE_EXTRACT_LABEL, IDC_SITE_URL_LABEL,
                              IDC_SITE_URL,        IDC_SITE_NAME,    IDC_SITE_LIST,          IDC_SITE_ADD,
                              IDC_SITE_DELETE,     IDC_SITE_CHANGE,  IDC_SITE_IMPORT,        IDC_SITE_WIZARD,
                              IDC_SITE_EXPORT};
constexpr int kOtherPage[] = {IDC_SET_FONTCOLOR,       IDC_SET_BKCOLOR,        IDC_SET_FONT,
                              IDC_SET_FONTCOLOR_LABEL, IDC_SET_BKCOLOR_LABEL,  IDC_SET_KEYWORD,
                              IDC_SET_KEYWORD_LABEL,   IDC_SET_DELETE,         IDC_SET_DISREGARD_LABEL,
                              IDC_SET_DISREGARD,       IDC_SET_DELETE_LABEL,   IDC_SET_DISREGARDURL_LABEL,
                              IDC_SET_DISREGARDURL,    IDC_SET_BACKGROUND,     IDC_SET_BGPATH,
                              IDC_SET_BROWSE,          IDC_SET_BG_GROUP};
struct Page {
  const char* tab;
  const int* first;
  const int* last;
};
constexpr Page kPages[] = {{"設定", std::begin(kSettingsPage), std::end(kSettingsPage)},
                           {"ニュース設定", std::begin(kSitesPage), std::end(kSitesPage)},
                           {"その他", std::begin(kOtherPage), std::end(kOtherPage)}};

std::string text(HWND dialog, int id) { return controlText(dialog, id); }

void setText(HWND dialog, int id, const std::string& value) { setControlText(dialog, id, value); }

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

void showPage(HWND dialog, int shown) {
  for (int page = 0; page < static_cast<int>(std::size(kPages)); ++page) {
    for (const int* id = kPages[page].first; id != kPages[page].last; ++id) {
      if (HWND c = GetDlgItem(dialog, *id)) ShowWindow(c, page == shown ? SW_SHOW : SW_HIDE);
    }
  }
}

void addTabs(HWND dialog) {
  HWND tab = GetDlgItem(dialog, IDC_SET_TAB);
  for (int i = 0; i < static_cast<int>(std::size(kPages)); ++i) {
    std::wstring t = toWide(kPages[i].tab);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = t.data();
    SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void fillColours(HWND dialog, int id, int selectedIndex) {
  HWND box = GetDlgItem(dialog, id);
  for (const char* name : kColourNames) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(name).c_str()));
  SendMessageW(box, CB_SETCURSEL, selectedIndex, 0);
}

// The proxy name is typed only for "次のプロキシを使う。".
void enableProxyName(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, IDC_SET_PROXY_NAME), checked(dialog, IDC_SET_PROXY_NAMED));
}

void showSettings(HWND dialog, const DialogSettings& s) {
  setText(dialog, IDC_SET_INTERVAL, s.interval);
  setText(dialog, IDC_SET_LIST, s.list);
  check(dialog, IDC_SET_SOUND, s.sound);
  check(dialog, IDC_SET_NOTIFY, s.notify);
  check(dialog, IDC_SET_SHOWSTYLE, s.showStyle);
  check(dialog, IDC_SET_TASKTRAY, s.taskTray);
  check(dialog, IDC_SET_PROXY_NONE + s.proxy, true);
  setText(dialog, IDC_SET_PROXY_NAME, s.proxyName);
  enableProxyName(dialog);
  setText(dialog, IDC_SET_KEYWORD, s.keyword);
  setText(dialog, IDC_SET_DELETE, s.deleteList);
  setText(dialog, IDC_SET_DISREGARD, s.disregard);
  setText(dialog, IDC_SET_DISREGARDURL, s.disregardUrl);
  check(dialog, IDC_SET_BACKGROUND, s.background);
  setText(dialog, IDC_SET_BGPATH, s.bgPath);
}

DialogSettings settingsShown(HWND dialog) {
  DialogSettings s;
  s.interval = correctInterval(std::string(cutToBytes(text(dialog, IDC_SET_INTERVAL), kHolderBytes)));
  s.list = correctListSize(std::string(cutToBytes(text(dialog, IDC_SET_LIST), kHolderBytes)));
  s.sound = checked(dialog, IDC_SET_SOUND);
  s.notify = checked(dialog, IDC_SET_NOTIFY);
  s.showStyle = checked(dialog, IDC_SET_SHOWSTYLE);
  s.proxy = checked(dialog, IDC_SET_PROXY_NONE) ? 0 : checked(dialog, IDC_SET_PROXY_IE) ? 1 : 2;
  s.proxyName = text(dialog, IDC_SET_PROXY_NAME);
  s.fontColor = static_cast<int>(SendDlgItemMessageW(dialog, IDC_SET_FONTCOLOR, CB_GETCURSEL, 0, 0));
  s.fontBkColor = static_cast<int>(SendDlgItemMessageW(dialog, IDC_SET_BKCOLOR, CB_GETCURSEL, 0, 0));
  s.keyword = text(dialog, IDC_SET_KEYWORD);
  s.deleteList = text(dialog, IDC_SET_DELETE);
  s.disregard = text(dialog, IDC_SET_DISREGARD);
  s.disregardUrl = text(dialog, IDC_SET_DISREGARDURL);
  s.background = checked(dialog, IDC_SET_BACKGROUND);
  s.bgPath = text(dialog, IDC_SET_BGPATH);
  return s;
}

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
  explicit SettingsDialog(App& app) : Dialog(app.ui), app_(app) {}
  // After a confirmed change of the tray setting the program ends.
  bool quitAfter() const { return quitAfter_; }

 private:
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onInit();
  void onNotify(const NMHDR* header);
  void onCommand(int id);
  void chooseFont();
  void browsePicture();
  void onOk();
  void onCancel();

  App& app_;
  // Whether the site file was read when the dialog opened: a file that
  // failed to load is never overwritten with the empty list.
  bool sitesLoaded_ = false;
  bool quitAfter_ = false;
  bool startsWithWindows_ = false;  // as the Startup folder said when the dialog opened
};

void SettingsDialog::onInit() {
  app_.settingsDialog = dialog_;
  app_.cycle->stopTimer();
  addTabs(dialog_);
  DialogSettings s = loadDialogSettings(app_.ctx.settingsPath, app_.cycle->intervalText(), app_.listText);
  showSettings(dialog_, s);
  showPage(dialog_, 0);
  fillColours(dialog_, IDC_SET_FONTCOLOR, s.fontColor);
  fillColours(dialog_, IDC_SET_BKCOLOR, s.fontBkColor);
  sitesLoaded_ = loadSiteList(app_, dialog_);
  // Read from the Startup folder itself, so a shortcut removed by hand shows.
  startsWithWindows_ = startsWithWindows(executablePath());
  check(dialog_, IDC_SET_STARTUP, startsWithWindows_);
}

void SettingsDialog::chooseFont() {
  LOGFONTW lf{};
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(app_.newsList, WM_GETFONT, 0, 0));
  if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(current, sizeof lf, &lf);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = dialog_;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS;
  if (!ChooseFontW(&cf)) return;
  setListFont(app_, Font(CreateFontIndirectW(&lf)));
  // Saved at once: a Cancel of the dialog does not undo it.
  writeListFont(app_.ctx.settingsPath, listFontOf(lf, app_.dpi));
}

void SettingsDialog::browsePicture() {
  if (chooseFileToOpen(dialog_, "背景に使用する画像を選んでください。", "ビットマップ（*.bmp)", L"*.bmp",
                       app_.lastPicture)) {
    SetDlgItemTextW(dialog_, IDC_SET_BGPATH, app_.lastPicture.c_str());
  }
}

void SettingsDialog::onOk() {
  DialogSettings s = settingsShown(dialog_);
  app_.cycle->setIntervalText(s.interval);
  app_.listText = s.list;
  // What could not be saved still holds until the program ends.
  if (!saveDialogSettings(app_.ctx.settingsPath, s))
    app_.ui.setStatus(1, cannotWriteText(app_.ctx, app_.ctx.settingsPath));
  applyListColours(app_);

  bool tray = checked(dialog_, IDC_SET_TASKTRAY);
  if (trayChoiceChanged(app_.ctx.settingsPath, tray) &&
      app_.ui.ask(dialog_, kMsgTrayRestart, kProgramTitle, MB_OKCANCEL) == IDOK) {
    writeProfileString(app_.ctx.settingsPath, kSETTING, kTASKTRAY, tray ? "1" : "0");
    if (!tray) removeTrayIcon(app_);
    quitAfter_ = true;
  }
  if (sitesLoaded_) saveSiteList(app_, dialog_);
  bool startup = checked(dialog_, IDC_SET_STARTUP);
  if (startup != startsWithWindows_ && !setStartsWithWindows(executablePath(), startup))
    app_.ui.ask(dialog_, kMsgStartupFailed, kProgramTitle, MB_OK);
  trimNewsList(app_.ctx);
  app_.cycle->armTimer();
  EndDialog(dialog_, IDOK);
}

void SettingsDialog::onCancel() {
  app_.cycle->armTimer();
  EndDialog(dialog_, IDCANCEL);
}

void SettingsDialog::onNotify(const NMHDR* h) {
  if (h->idFrom == IDC_SET_TAB && h->code == TCN_SELCHANGE) {
    showPage(dialog_, TabCtrl_GetCurSel(h->hwndFrom));
  } else if (h->idFrom == IDC_SITE_LIST && h->code == NM_CLICK) {
    onSiteRowClick(dialog_);
  }
}

void SettingsDialog::onCommand(int id) {
  switch (id) {
    case IDC_SET_OK:
    case IDOK:  // Enter in an edit field
      return onOk();
    case IDC_SET_CANCEL:
    case IDCANCEL:  // Escape and the close box, like Cancel
      return onCancel();
    case IDC_SITE_ADD:
      return addSite(app_, dialog_);
    case IDC_SITE_CHANGE:
      return changeSite(app_, dialog_);
    case IDC_SITE_DELETE:
      return deleteSite(app_, dialog_);
    case IDC_SITE_IMPORT:
      return importSiteFile(app_, dialog_);
    case IDC_SITE_WIZARD:
      return runWizard(app_, dialog_);
    case IDC_SITE_EXPORT:
      return exportSiteFile(app_, dialog_);
    case IDC_SET_FONT:
      return chooseFont();
    case IDC_SET_BROWSE:
      return browsePicture();
    case IDC_SET_PROXY_NONE:
    case IDC_SET_PROXY_IE:
    case IDC_SET_PROXY_NAMED:
      return enableProxyName(dialog_);
    default:
      return;
  }
}

INT_PTR SettingsDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onInit();
      return TRUE;
    case WM_NOTIFY:
      onNotify(reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return staticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DESTROY:
      app_.settingsDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

void applyPicture(HWND list, const std::string& picture) {
  if (picture.empty()) {
    // Turning the picture off takes it away now, not at the next start.
    LVBKIMAGEW none{};
    none.ulFlags = LVBKIF_SOURCE_NONE;
    SendMessageW(list, LVM_SETBKIMAGEW, 0, reinterpret_cast<LPARAM>(&none));
    return;
  }
  std::wstring path = toWide(picture);
  LVBKIMAGEW image{};
  image.ulFlags = LVBKIF_SOURCE_URL | LVBKIF_STYLE_TILE;
  image.pszImage = path.data();
  SendMessageW(list, LVM_SETBKIMAGEW, 0, reinterpret_cast<LPARAM>(&image));
  ListView_SetTextBkColor(list, CLR_NONE);
  ListView_SetBkColor(list, CLR_NONE);
}

void colourList(HWND list, COLORREF text, COLORREF back) {
  ListView_SetTextColor(list, text);
  ListView_SetTextBkColor(list, back);
  ListView_SetBkColor(list, back);
}

}  // namespace

void runSettingsDialog(App& a) {
  SettingsDialog dialog(a);
  dialog.runModal(a.instance, L"SETTING", a.main);
  // After a confirmed change of the tray setting the program ends, without
  // the close-time saving.
  if (dialog.quitAfter()) PostQuitMessage(0);
}

void applyListColours(App& a) {
  ListColours c = readListColours(a.ctx.settingsPath);
  COLORREF text = RGB(c.text.r, c.text.g, c.text.b);
  COLORREF back = RGB(c.background.r, c.background.g, c.background.b);
  colourList(a.newsList, text, back);
  if (HWND logs = a.logs.window()) {
    HWND list = GetDlgItem(logs, IDC_LOGLIST);
    colourList(list, text, back);
    ShowWindow(list, SW_HIDE);
    ShowWindow(list, SW_SHOW);
  }
  applyPicture(a.newsList, backgroundPicture(a.ctx.settingsPath));
  ShowWindow(a.newsList, SW_HIDE);
  ShowWindow(a.newsList, SW_SHOW);
}

}  // namespace ls
