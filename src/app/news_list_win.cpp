#include "app/news_list_win.h"

#include <commctrl.h>

#include "app/controls_win.h"
#include "common/wide_win.h"

namespace ls {

namespace {

// An icon read from a hand-edited file may be any number; a negative one
// would ask the list for its picture (I_IMAGECALLBACK), so it shows none.
int safeIcon(int icon) { return icon < 0 ? kIconNone : icon; }

}  // namespace

int ListViewNewsList::count() const { return ListView_GetItemCount(list_); }

void ListViewNewsList::insertRow(int row, const std::string& headline, int icon) {
  std::wstring text = toWide(headline);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.pszText = text.data();
  item.iImage = safeIcon(icon);
  SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ListViewNewsList::setText(int row, int column, const std::string& value) {
  std::wstring text = toWide(value);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text.data();
  SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::string ListViewNewsList::text(int row, int column) const { return listCellText(list_, row, column); }

int ListViewNewsList::icon(int row) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  if (!SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return kIconNone;
  return item.iImage;
}

void ListViewNewsList::setIcon(int row, int icon) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = safeIcon(icon);
  SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ListViewNewsList::deleteRow(int row) { ListView_DeleteItem(list_, row); }

void ListViewNewsList::clear() { ListView_DeleteAllItems(list_); }

void ListViewNewsList::repaint() { UpdateWindow(list_); }

int ListViewNewsList::selectedRow() const { return selectedListRow(list_); }

}  // namespace ls
