#include "shell/dialogs/search_win.h"

#include <commctrl.h>

#include "common/program.h"
#include "engine/search_rule.h"
#include "shell/resources/resource_ids.h"
#include "win/controls_win.h"

namespace ls {

namespace {

constexpr std::size_t kSearchTextBytes = 499;
constexpr const char* kMsgNotFound = "指定された文字列は見つかりませんでした。";

}  // namespace

void SearchDialog::search(bool fromNext) {
  std::string text = itemText(IDC_SEARCH_TEXT, kSearchTextBytes);
  int start = fromNext ? news_.selectedRow() + 1 : 0;
  int row = findHeadline(news_, text, start);
  if (row < 0) {
    ui_.ask(dialog_, kMsgNotFound, kProgramTitle, MB_OK);
    return;
  }
  // The list draws its selection as active; the keyboard stays here.
  HWND list = news_.handle();
  SendMessageW(list, WM_SETFOCUS, reinterpret_cast<WPARAM>(dialog_), 0);
  selectListRow(list, row);
  ListView_EnsureVisible(list, row, FALSE);
}

bool SearchDialog::onCommand(int id, int code) {
  if (id == IDC_SEARCH_FIRST) search(false);
  if (id == IDC_SEARCH_NEXT) search(true);
  return id == IDC_SEARCH_FIRST || id == IDC_SEARCH_NEXT || Dialog::onCommand(id, code);
}

}  // namespace ls
