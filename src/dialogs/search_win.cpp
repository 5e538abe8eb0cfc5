#include "dialogs/search_win.h"

#include <windows.h>
#include <commctrl.h>

#include "app/app_win.h"
#include "common/program.h"
#include "common/text.h"
#include "common/wide_win.h"
#include "dialogs/search_rule.h"
#include "resources/resource_ids.h"

namespace ls {

namespace {

constexpr std::size_t kSearchTextBytes = 499;
constexpr const char* kMsgNotFound = "指定された文字列は見つかりませんでした。";

void search(HWND dialog, bool fromNext) {
  App& a = app();
  wchar_t buffer[1024] = {};
  GetDlgItemTextW(dialog, IDC_SEARCH_TEXT, buffer, 1024);
  std::string text(cutToBytes(fromWide(buffer), kSearchTextBytes));
  int start = fromNext ? a.news.selectedRow() + 1 : 0;
  int row = findHeadline(a.news, text, start);
  if (row < 0) {
    a.ui.ask(dialog, kMsgNotFound, kProgramTitle, MB_OK);
    return;
  }
  // The list draws its selection as active; the keyboard stays here.
  SendMessageW(a.newsList, WM_SETFOCUS, reinterpret_cast<WPARAM>(dialog), 0);
  ListView_SetItemState(a.newsList, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(a.newsList, row, FALSE);
}

INT_PTR CALLBACK searchProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      app().searchDialog = dialog;
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_SEARCH_FIRST:
        case IDOK:
          search(dialog, false);
          break;
        case IDC_SEARCH_NEXT:
          search(dialog, true);
          break;
        case IDCANCEL:
          DestroyWindow(dialog);
          break;
        default:
          break;
      }
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      app().searchDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void openSearchDialog() {
  App& a = app();
  if (a.searchDialog) return;
  CreateDialogW(a.instance, L"SEARCH", a.main, searchProc);
}

}  // namespace ls
