#include "shell/dialogs/look_page_win.h"

#include <commdlg.h>

#include "settings/window_layout.h"
#include "shell/dialogs/settings_dialog_win.h"
#include "shell/list_font_win.h"
#include "shell/resources/resource_ids.h"
#include "win/controls_win.h"
#include "win/wide_win.h"

namespace ls {

LookPage::LookPage(ListLook& look, const std::string& settingsPath, std::wstring& lastPicture)
    : SettingsPage("その他", {IDC_SET_FONTCOLOR, IDC_SET_BKCOLOR, IDC_SET_FONT, IDC_SET_FONTCOLOR_LABEL,
                              IDC_SET_BKCOLOR_LABEL, IDC_SET_KEYWORD, IDC_SET_KEYWORD_LABEL, IDC_SET_DELETE,
                              IDC_SET_DISREGARD_LABEL, IDC_SET_DISREGARD, IDC_SET_DELETE_LABEL,
                              IDC_SET_DISREGARDURL_LABEL, IDC_SET_DISREGARDURL, IDC_SET_BACKGROUND, IDC_SET_BGPATH,
                              IDC_SET_BROWSE, IDC_SET_BG_GROUP}),
      look_(look),
      settingsPath_(settingsPath),
      lastPicture_(lastPicture) {}

void LookPage::fillColours(int id, int selectedIndex) {
  HWND box = GetDlgItem(dialog_, id);
  for (const char* name : kColourNames) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(name).c_str()));
  SendMessageW(box, CB_SETCURSEL, selectedIndex, 0);
}

void LookPage::fill(const DialogSettings& s) {
  setControlText(dialog_, IDC_SET_KEYWORD, s.keyword);
  setControlText(dialog_, IDC_SET_DELETE, s.deleteList);
  setControlText(dialog_, IDC_SET_DISREGARD, s.disregard);
  setControlText(dialog_, IDC_SET_DISREGARDURL, s.disregardUrl);
  checkButton(dialog_, IDC_SET_BACKGROUND, s.background);
  setControlText(dialog_, IDC_SET_BGPATH, s.bgPath);
  fillColours(IDC_SET_FONTCOLOR, s.fontColor);
  fillColours(IDC_SET_BKCOLOR, s.fontBkColor);
}

void LookPage::read(DialogSettings& s) const {
  s.fontColor = static_cast<int>(SendDlgItemMessageW(dialog_, IDC_SET_FONTCOLOR, CB_GETCURSEL, 0, 0));
  s.fontBkColor = static_cast<int>(SendDlgItemMessageW(dialog_, IDC_SET_BKCOLOR, CB_GETCURSEL, 0, 0));
  s.keyword = controlText(dialog_, IDC_SET_KEYWORD);
  s.deleteList = controlText(dialog_, IDC_SET_DELETE);
  s.disregard = controlText(dialog_, IDC_SET_DISREGARD);
  s.disregardUrl = controlText(dialog_, IDC_SET_DISREGARDURL);
  s.background = isButtonChecked(dialog_, IDC_SET_BACKGROUND);
  s.bgPath = controlText(dialog_, IDC_SET_BGPATH);
}

bool LookPage::onCommand(int id) {
  if (id == IDC_SET_FONT) chooseFont();
  if (id == IDC_SET_BROWSE) browsePicture();
  return id == IDC_SET_FONT || id == IDC_SET_BROWSE;
}

void LookPage::chooseFont() {
  LOGFONTW lf{};
  HFONT current = look_.listFont();
  if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(current, sizeof lf, &lf);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = dialog_;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS;
  if (!ChooseFontW(&cf)) return;
  look_.setListFont(Font(CreateFontIndirectW(&lf)));
  writeListFont(settingsPath_, listFontOf(lf, look_.dpi()));
}

void LookPage::browsePicture() {
  if (chooseFileToOpen(dialog_, "背景に使用する画像を選んでください。", "ビットマップ（*.bmp)", L"*.bmp",
                       lastPicture_)) {
    SetDlgItemTextW(dialog_, IDC_SET_BGPATH, lastPicture_.c_str());
  }
}

}  // namespace ls
