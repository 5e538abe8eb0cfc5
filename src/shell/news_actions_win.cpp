// What the user does with an entry of the news list: open it in the
// browser, copy a column, the context menu.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "common/text.h"
#include "common/web_address.h"
#include "engine/news_entry.h"
#include "shell/main_window_win.h"
#include "win/controls_win.h"
#include "win/wide_win.h"

namespace ls {

namespace {

HGLOBAL globalCopy(const void* data, std::size_t bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!block) return nullptr;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(p, data, bytes);
  GlobalUnlock(block);
  return block;
}

}  // namespace

void MainWindow::openWebAddress(const std::string& url) const {
  if (!isWebAddress(url)) return;
  if (parts_.seams.openUrl) {
    parts_.seams.openUrl(url);
  } else {
    ShellExecuteW(nullptr, L"open", toWide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
}

// The icons: 0 and 4 become 1, 2 becomes 3 (the ageing happens in the core).
void MainWindow::openSelectedEntry() {
  ListViewNewsList& news = parts_.news;
  int row = news.selectedRow();
  if (row < 0) return;
  int icon = news.icon(row);
  std::string url = news.text(row, 2);
  openWebAddress(url);
  // The headline stays whole; only the icon changes.
  news.setIcon(row, openedIcon(icon));
}

void MainWindow::copySelectedColumn(int column) {
  int row = parts_.news.selectedRow();
  if (row < 0) return;
  std::wstring wide = toWide(parts_.news.text(row, column));
  // Unicode only: Windows makes CF_TEXT in the reader's own code page.
  HGLOBAL unicode = globalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  if (!unicode) return;
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, unicode)) unicode = nullptr;
    CloseClipboard();
  }
  if (unicode) GlobalFree(unicode);
}

void MainWindow::showNewsContextMenu() {
  if (parts_.news.selectedRow() < 0) return;
  showPopupMenu(trayMenu_.get(), 1, window_);
}

}  // namespace ls
