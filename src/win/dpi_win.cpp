#include "win/dpi_win.h"

namespace ls {

namespace {

template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int screenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int windowDpi(HWND window) {
  using ForWindow = UINT(WINAPI*)(HWND);
  static const ForWindow forWindow = user32Function<ForWindow>("GetDpiForWindow");
  UINT dpi = forWindow ? forWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : screenDpi();
}

Font systemStatusFont(int dpi) {
  using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  static const ForDpi forDpi = user32Function<ForDpi>("SystemParametersInfoForDpi");
  if (forDpi) {
    if (!forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return Font();
  } else {
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return Font();
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, dpi, screenDpi());
  }
  return Font(CreateFontIndirectW(&metrics.lfStatusFont));
}

}  // namespace ls
