// bench-bare-window: the yardstick for the program's memory. A bare Win32
// window with what every list program of its kind has (a menu, a report
// list view with three columns, a status bar) and nothing else, so its
// resident memory under Wine is the cost of the platform, not of the program.
#include <windows.h>
#include <commctrl.h>

namespace {

HWND g_list, g_status;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (g_list) MoveWindow(g_list, 0, 0, LOWORD(lParam), HIWORD(lParam) > 20 ? HIWORD(lParam) - 20 : 0, TRUE);
      if (g_status) SendMessageW(g_status, WM_SIZE, wParam, lParam);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"benchbare";
  RegisterClassExW(&wc);
  HMENU menu = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 1, L"Exit");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
  HWND window = CreateWindowExW(0, L"benchbare", L"bare", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, menu,
                                instance, nullptr);
  g_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 800, 560, window,
                           nullptr, instance, nullptr);
  const wchar_t* titles[] = {L"Headline", L"Site", L"URL"};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 200;
    col.pszText = const_cast<wchar_t*>(titles[c]);
    SendMessageW(g_list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
  }
  g_status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr,
                             instance, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
