#include "settings/settings_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "app/app_win.h"
#include "app/controls_win.h"
#include "app/layout.h"
#include "app/tray_win.h"
#include "common/program.h"
#include "common/text.h"
#include "common/wide_win.h"
#include "engine/news_entry.h"
#include "resources/resource_ids.h"
#include "settings/dialog_settings.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "sites/site_list_win.h"
#include "wizard/wizard_win.h"

namespace ls {

namespace {

constexpr int kPageFirst[] = {IDC_SET_INTERVAL, IDC_SITE_NAME_LABEL, IDC_SET_FONTCOLOR};
constexpr int kPageLast[] = {IDC_SET_SHOWSTYLE, IDC_SITE_WIZARD, IDC_SET_BG_GROUP};
constexpr std::size_t kHolderTextBytes = 9;

// Whether the site file was read when the dialog opened: a file that failed
// to load is never overwritten with the empty list.
bool g_sitesLoaded = false;
bool g_quitAfterDialog = false;
std::wstring g_picturePath;  // the browse dialog offers the file chosen last

std::string text(HWND dialog, int id) { return controlText(dialog, id); }

void setText(HWND dialog, int id, const std::string& value) { setControlText(dialog, id, value); }

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

void showPage(HWND dialog, int page) {
  for (int id = IDC_SET_INTERVAL; id <= IDC_SET_BG_GROUP; ++id) {
    if (HWND c = GetDlgItem(dialog, id)) ShowWindow(c, SW_HIDE);
  }
  if (page < 0 || page > 2) return;
  for (int id = kPageFirst[page]; id <= kPageLast[page]; ++id) {
    if (HWND c = GetDlgItem(dialog, id)) ShowWindow(c, SW_SHOW);
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

void onInit(HWND dialog) {
  App& a = app();
  a.cycle->stopTimer();
  g_quitAfterDialog = false;
  HWND tab = GetDlgItem(dialog, IDC_SET_TAB);
  const char* tabs[] = {"設定", "ニュース設定", "その他"};
  for (int i = 0; i < 3; ++i) {
    std::wstring t = toWide(tabs[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = t.data();
    SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  DialogSettings s = loadDialogSettings(a.ctx.settingsPath, a.cycle->intervalText(), a.listText);
  setText(dialog, IDC_SET_INTERVAL, s.interval);
  setText(dialog, IDC_SET_LIST, s.list);
  check(dialog, IDC_SET_SOUND, s.sound);
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
  showPage(dialog, 0);
  fillColours(dialog, IDC_SET_FONTCOLOR, s.fontColor);
  fillColours(dialog, IDC_SET_BKCOLOR, s.fontBkColor);
  g_sitesLoaded = loadSiteList(dialog);
}

void chooseFont(HWND dialog) {
  App& a = app();
  LOGFONTW lf{};
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(a.newsList, WM_GETFONT, 0, 0));
  if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(current, sizeof lf, &lf);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = dialog;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS;
  if (!ChooseFontW(&cf)) return;
  if (a.listFont) DeleteObject(a.listFont);
  a.listFont = CreateFontIndirectW(&lf);
  SendMessageW(a.newsList, WM_SETFONT, reinterpret_cast<WPARAM>(a.listFont), TRUE);
  // Saved at once: a Cancel of the dialog does not undo it.
  ListFont f;
  f.height = lf.lfHeight;
  f.width = lf.lfWidth;
  f.escapement = lf.lfEscapement;
  f.orientation = lf.lfOrientation;
  f.weight = lf.lfWeight;
  f.italic = lf.lfItalic;
  f.underline = lf.lfUnderline;
  f.strikeout = lf.lfStrikeOut;
  f.charset = lf.lfCharSet;
  f.outPrecision = lf.lfOutPrecision;
  f.clipPrecision = lf.lfClipPrecision;
  f.quality = lf.lfQuality;
  f.pitchAndFamily = lf.lfPitchAndFamily;
  f.faceName = fromWide(lf.lfFaceName);
  writeListFont(a.ctx.settingsPath, f);
}

void browsePicture(HWND dialog) {
  if (chooseFileToOpen(dialog, "背景に使用する画像を選んでください。", "ビットマップ（*.bmp)", L"*.bmp", g_picturePath)) {
    SetDlgItemTextW(dialog, IDC_SET_BGPATH, g_picturePath.c_str());
  }
}

void onOk(HWND dialog) {
  App& a = app();
  DialogSettings s;
  s.interval = correctInterval(std::string(cutToBytes(text(dialog, IDC_SET_INTERVAL), kHolderTextBytes)));
  s.list = correctListSize(std::string(cutToBytes(text(dialog, IDC_SET_LIST), kHolderTextBytes)));
  s.sound = checked(dialog, IDC_SET_SOUND);
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
  a.cycle->setIntervalText(s.interval);
  a.listText = s.list;
  saveDialogSettings(a.ctx.settingsPath, s);
  applyListColours();

  bool tray = checked(dialog, IDC_SET_TASKTRAY);
  if (trayChoiceChanged(a.ctx.settingsPath, tray) &&
      a.ui.ask(dialog, kMsgTrayRestart, kProgramTitle, MB_OKCANCEL) == IDOK) {
    writeProfileString(a.ctx.settingsPath, kSETTING, kTASKTRAY, tray ? "1" : "0");
    if (!tray) removeTrayIcon();
    g_quitAfterDialog = true;
  }
  if (g_sitesLoaded) saveSiteList(dialog);
  trimNewsList(a.ctx);
  a.cycle->armTimer();
  EndDialog(dialog, IDOK);
}

void onCancel(HWND dialog) {
  app().cycle->armTimer();
  EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK settingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      app().settingsDialog = dialog;
      onInit(dialog);
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* h = reinterpret_cast<const NMHDR*>(lParam);
      if (h->idFrom == IDC_SET_TAB && h->code == TCN_SELCHANGE) {
        showPage(dialog, TabCtrl_GetCurSel(h->hwndFrom));
      } else if (h->idFrom == IDC_SITE_LIST && h->code == NM_CLICK) {
        onSiteRowClick(dialog);
      }
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_SET_OK:
        case IDOK:  // Enter in an edit field
          onOk(dialog);
          break;
        case IDC_SET_CANCEL:
        case IDCANCEL:  // Escape and the close box, like Cancel
          onCancel(dialog);
          break;
        case IDC_SITE_ADD:
          addSite(dialog);
          break;
        case IDC_SITE_CHANGE:
          changeSite(dialog);
          break;
        case IDC_SITE_DELETE:
          deleteSite(dialog);
          break;
        case IDC_SITE_IMPORT:
          importSiteFile(dialog);
          break;
        case IDC_SITE_WIZARD:
          runWizard(dialog);
          break;
        case IDC_SET_FONT:
          chooseFont(dialog);
          break;
        case IDC_SET_BROWSE:
          browsePicture(dialog);
          break;
        case IDC_SET_PROXY_NONE:
        case IDC_SET_PROXY_IE:
        case IDC_SET_PROXY_NAMED:
          enableProxyName(dialog);
          break;
        default:
          break;
      }
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      // Labels, check boxes and group boxes lie on the tab control's body:
      // they are painted in its colour, not the dialog's (a hollow brush
      // left the dialog's grey beside their texts).
      wchar_t cls[16] = {};
      GetClassNameW(reinterpret_cast<HWND>(lParam), cls, 16);
      if (lstrcmpiW(cls, L"Edit") == 0) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_DESTROY:
      app().settingsDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void runSettingsDialog() {
  App& a = app();
  DialogBoxParamW(a.instance, L"SETTING", a.main, settingsProc, 0);
  // After a confirmed change of the tray setting the program ends, without
  // the close-time saving.
  if (g_quitAfterDialog) PostQuitMessage(0);
}

void applyListColours() {
  App& a = app();
  ListColours c = readListColours(a.ctx.settingsPath);
  COLORREF text = RGB(c.text.r, c.text.g, c.text.b);
  COLORREF back = RGB(c.background.r, c.background.g, c.background.b);
  ListView_SetTextColor(a.newsList, text);
  ListView_SetTextBkColor(a.newsList, back);
  ListView_SetBkColor(a.newsList, back);
  if (a.logSwitcher) {
    HWND list = GetDlgItem(a.logSwitcher, IDC_LOGLIST);
    ListView_SetTextColor(list, text);
    ListView_SetTextBkColor(list, back);
    ListView_SetBkColor(list, back);
    ShowWindow(list, SW_HIDE);
    ShowWindow(list, SW_SHOW);
  }
  std::string picture = backgroundPicture(a.ctx.settingsPath);
  if (!picture.empty()) {
    std::wstring path = toWide(picture);
    LVBKIMAGEW image{};
    image.ulFlags = LVBKIF_SOURCE_URL | LVBKIF_STYLE_TILE;
    image.pszImage = path.data();
    SendMessageW(a.newsList, LVM_SETBKIMAGEW, 0, reinterpret_cast<LPARAM>(&image));
    ListView_SetTextBkColor(a.newsList, CLR_NONE);
    ListView_SetBkColor(a.newsList, CLR_NONE);
  } else {
    // Turning the picture off takes it away now, not at the next start.
    LVBKIMAGEW none{};
    none.ulFlags = LVBKIF_SOURCE_NONE;
    SendMessageW(a.newsList, LVM_SETBKIMAGEW, 0, reinterpret_cast<LPARAM>(&none));
  }
  ShowWindow(a.newsList, SW_HIDE);
  ShowWindow(a.newsList, SW_SHOW);
}

}  // namespace ls
