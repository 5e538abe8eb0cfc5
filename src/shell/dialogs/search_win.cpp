#include "shell/dialogs/search_win.h"

#include <commctrl.h>

#include "shell/app_win.h"
#include "win/controls_win.h"
#include "common/program.h"
#include "engine/search_rule.h"
#include "shell/resources/resource_ids.h"

namespace ls {

namespace {

constexpr std::size_t kSearchTextBytes = 499;
constexpr const char* kMsgNotFound = "指定された文字列は見つかりませんでした。";

}  // namespace

SearchDialog::SearchDialog(App& app) : Dialog(app.ui), app_(app) {}

void SearchDialog::search(bool fromNext) {
  std::string text = controlText(dialog_, IDC_SEARCH_TEXT, kSearchTextBytes);
  int start = fromNext ? app_.news.selectedRow() + 1 : 0;
  int row = findHeadline(app_.news, text, start);
  if (row < 0) {
    app_.ui.ask(dialog_, kMsgNotFound, kProgramTitle, MB_OK);
    return;
  }
  // The list draws its selection as active; the keyboard stays here.
  SendMessageW(app_.newsList, WM_SETFOCUS, reinterpret_cast<WPARAM>(dialog_), 0);
  selectListRow(app_.newsList, row);
  ListView_EnsureVisible(app_.newsList, row, FALSE);
}

bool SearchDialog::onCommand(int id) {
  switch (id) {
    case IDC_SEARCH_FIRST:
    case IDOK:
      search(false);
      break;
    case IDC_SEARCH_NEXT:
      search(true);
      break;
    case IDCANCEL:
      DestroyWindow(dialog_);
      break;
    default:
      break;
  }
  return true;
}

INT_PTR SearchDialog::onMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      app_.searchDialog = dialog_;
      return TRUE;
    case WM_COMMAND:
      return onCommand(LOWORD(wParam));
    case WM_CLOSE:
      DestroyWindow(dialog_);
      return TRUE;
    case WM_DESTROY:
      app_.searchDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

void openSearchDialog(App& a) {
  if (a.searchDialog) return;
  a.search = std::make_unique<SearchDialog>(a);
  a.search->createModeless(a.instance, L"SEARCH", a.main);
}

}  // namespace ls
