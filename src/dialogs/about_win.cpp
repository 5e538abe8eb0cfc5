#include "dialogs/about_win.h"

#include <windows.h>

#include "app/app_win.h"
#include "app/main_window_win.h"
#include "common/program.h"
#include "resources/resource_ids.h"

namespace ls {

namespace {

// The picture is loaded anew for each paint and released after it.
void paintPicture(HWND dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  HBITMAP picture = static_cast<HBITMAP>(LoadImageW(app().instance, L"LINKSCOUT", IMAGE_BITMAP, 0, 0, 0));
  if (picture) {
    BITMAP info{};
    GetObjectW(picture, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(dc, 20, 20, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
  }
  EndPaint(dialog, &ps);
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      app().aboutDialog = dialog;
      return TRUE;
    case WM_PAINT:
      paintPicture(dialog);
      return TRUE;
    case WM_COMMAND:
      // Only OK closes the box: Escape and the close command are not taken.
      if (LOWORD(wParam) == IDC_ABOUT_OK) EndDialog(dialog, 0);
      if (LOWORD(wParam) == IDC_ABOUT_HOME) openWebAddress(kHomePageAddress);
      return TRUE;
    case WM_DESTROY:
      app().aboutDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void runAboutDialog() { DialogBoxParamW(app().instance, L"INFOMATION", app().main, aboutProc, 0); }

}  // namespace ls
