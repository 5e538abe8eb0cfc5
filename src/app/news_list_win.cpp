#include "app/news_list_win.h"

#include <commctrl.h>

#include <vector>

#include "common/program.h"
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

std::string ListViewNewsList::text(int row, int column) const {
  // Grows until the text fits, so no column is ever cut here.
  std::vector<wchar_t> buffer(1024);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    LRESULT n = SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    if (n < static_cast<LRESULT>(buffer.size()) - 1) return fromWide(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 4);
  }
}

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

int ListViewNewsList::selectedRow() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }

void WindowUserInterface::setStatus(int part, const std::string& text) {
  if (!statusBar_) return;
  std::wstring wide = toWide(text);
  SendMessageW(statusBar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string WindowUserInterface::status(int part) const {
  if (!statusBar_) return std::string();
  LRESULT length = LOWORD(SendMessageW(statusBar_, SB_GETTEXTLENGTHW, part, 0));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(statusBar_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return fromWide(text);
}

void WindowUserInterface::message(const std::string& text) {
  if (messageHook) {
    messageHook(text);
    return;
  }
  showMessage(owner_, text);
}

void WindowUserInterface::fatal(const std::string& text) {
  if (messageHook) {
    messageHook(text);
  } else {
    showMessage(owner_, text);
  }
  ExitProcess(static_cast<UINT>(-1));
}

int WindowUserInterface::ask(HWND owner, const std::string& text, const std::string& caption, UINT buttons) {
  if (askHook) return askHook(text);
  if (messageHook) {
    messageHook(text);
    return IDOK;
  }
  return MessageBoxW(owner, toWide(text).c_str(), toWide(caption).c_str(), buttons);
}

void showMessage(HWND owner, const std::string& text, UINT icon) {
  MessageBoxW(owner, toWide(text).c_str(), toWide(kProgramTitle).c_str(), MB_OK | icon);
}

}  // namespace ls
