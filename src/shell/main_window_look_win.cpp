// How the main window's list and status bar look: the DPI they follow, the
// icons, the fonts, the colours and the background picture.
#include <windows.h>
#include <commctrl.h>

#include "common/dpi_scale.h"
#include "settings/dialog_settings.h"
#include "settings/window_layout.h"
#include "shell/list_font_win.h"
#include "shell/main_window_win.h"
#include "shell/resources/resource_ids.h"
#include "win/dpi_win.h"
#include "win/wide_win.h"

namespace ls {

namespace {

// The five list icons in image-list order.
constexpr const wchar_t* kListIcons[] = {L"ICON_LV", L"ICON_LVNON", L"ICON_LVCK", L"ICON_LVCK2", L"ICON_OLD"};

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

void MainWindow::setListIcons(int dpi) {
  // 32-bit images with a mask, so the drawn icons keep their colours and
  // their transparent corners on any list colour.
  const int size = listIconSize(dpi);
  ImageList images(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 5, 0));
  for (const wchar_t* name : kListIcons) {
    Icon icon(static_cast<HICON>(LoadImageW(parts_.instance, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (icon) ImageList_AddIcon(images.get(), icon.get());
  }
  ListView_SetImageList(list_, images.get(), LVSIL_SMALL);
  images_ = std::move(images);
}

// The status bar's font of the system settings, at `dpi`.
void MainWindow::setStatusFont(int dpi) {
  Font font = systemStatusFont(dpi);
  if (!font) return;
  SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  statusFont_ = std::move(font);
  // At least a small icon high, as at 96 DPI: the control scales its text, not its room.
  SendMessageW(statusBar_, SB_SETMINHEIGHT, scaleToDpi(16, dpi), 0);
}

// Icons, font, columns and status bar for `dpi`; the columns keep their
// widths in 96-DPI units across the change.
void MainWindow::applyDpi(int dpi) {
  const int old = dpi_;
  dpi_ = dpi;
  if (list_) {
    setListIcons(dpi);
    for (int c = 0; c < 3; ++c) {
      int width = scaleFromDpi(ListView_GetColumnWidth(list_, c), old);
      ListView_SetColumnWidth(list_, c, scaleToDpi(width, dpi));
    }
    setListFont(createListFont(readListFont(parts_.ctx.settingsPath), dpi));
  }
  if (statusBar_) setStatusFont(dpi);
}

HFONT MainWindow::listFont() const { return reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0)); }

// The old font goes only once the list uses its replacement.
void MainWindow::setListFont(Font font) {
  if (!font) return;
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  listFont_ = std::move(font);
}

void MainWindow::applyListColours() {
  ListColours c = readListColours(parts_.ctx.settingsPath);
  COLORREF text = RGB(c.text.r, c.text.g, c.text.b);
  COLORREF back = RGB(c.background.r, c.background.g, c.background.b);
  colourList(list_, text, back);
  if (HWND logs = parts_.logs.window()) {
    HWND list = GetDlgItem(logs, IDC_LOGLIST);
    colourList(list, text, back);
    ShowWindow(list, SW_HIDE);
    ShowWindow(list, SW_SHOW);
  }
  applyPicture(list_, backgroundPicture(parts_.ctx.settingsPath));
  ShowWindow(list_, SW_HIDE);
  ShowWindow(list_, SW_SHOW);
}

void MainWindow::removeTrayIcon() { tray_->remove(); }

}  // namespace ls
