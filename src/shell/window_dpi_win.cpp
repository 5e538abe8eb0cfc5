#include "shell/window_dpi_win.h"

#include <commctrl.h>

#include "shell/app_win.h"
#include "common/dpi_scale.h"
#include "shell/list_font_win.h"
#include "settings/window_layout.h"
#include "settings/settings_file.h"

namespace ls {

namespace {

// The five list icons in image-list order.
constexpr const wchar_t* kListIcons[] = {L"ICON_LV", L"ICON_LVNON", L"ICON_LVCK", L"ICON_LVCK2", L"ICON_OLD"};

// Looked up, so the program still starts on systems older than these calls.
template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int screenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

void setListIcons(App& a, int dpi) {
  // 32-bit images with a mask, so the drawn icons keep their colours and
  // their transparent corners on any list colour.
  const int size = listIconSize(dpi);
  ImageList images(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 5, 0));
  for (const wchar_t* name : kListIcons) {
    Icon icon(static_cast<HICON>(LoadImageW(a.instance, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (icon) ImageList_AddIcon(images.get(), icon.get());
  }
  ListView_SetImageList(a.newsList, images.get(), LVSIL_SMALL);
  a.images = std::move(images);
}

// The status bar's font of the system settings, at `dpi`.
void setStatusFont(App& a, int dpi) {
  using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  static const ForDpi forDpi = user32Function<ForDpi>("SystemParametersInfoForDpi");
  if (forDpi) {
    if (!forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return;
  } else {
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, dpi, screenDpi());
  }
  Font font(CreateFontIndirectW(&metrics.lfStatusFont));
  if (!font) return;
  SendMessageW(a.statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  a.statusFont = std::move(font);
  // At least a small icon high, as at 96 DPI: the control scales its text, not its room.
  SendMessageW(a.statusBar, SB_SETMINHEIGHT, scaleToDpi(16, dpi), 0);
}

}  // namespace

int windowDpi(HWND window) {
  using ForWindow = UINT(WINAPI*)(HWND);
  static const ForWindow forWindow = user32Function<ForWindow>("GetDpiForWindow");
  UINT dpi = forWindow ? forWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : screenDpi();
}

void applyDpi(App& a, int dpi) {
  const int old = a.dpi;
  a.dpi = dpi;
  if (a.newsList) {
    setListIcons(a, dpi);
    for (int c = 0; c < 3; ++c) {
      int width = scaleFromDpi(ListView_GetColumnWidth(a.newsList, c), old);
      ListView_SetColumnWidth(a.newsList, c, scaleToDpi(width, dpi));
    }
    setListFont(a, createListFont(readListFont(a.ctx.settingsPath), dpi));
  }
  if (a.statusBar) setStatusFont(a, dpi);
}

void onDpiChanged(App& a, WPARAM wParam, const RECT& r) {
  applyDpi(a, HIWORD(wParam));
  SetWindowPos(a.main, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ls
