// What the user does with an entry of the news list: open it in the
// browser, copy a column, the context menu.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "shell/app_win.h"
#include "win/controls_win.h"
#include "shell/main_window_win.h"
#include "common/web_address.h"
#include "common/text.h"
#include "win/wide_win.h"
#include "engine/news_entry.h"

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

void openWebAddress(const App& a, const std::string& url) {
  if (!isWebAddress(url)) return;
  if (a.openUrlHook) {
    a.openUrlHook(url);
  } else {
    ShellExecuteW(nullptr, L"open", toWide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
}

void openSelectedEntry(App& a) {
  int row = a.news.selectedRow();
  if (row < 0) return;
  int icon = a.news.icon(row);
  std::string url = a.news.text(row, 2);
  openWebAddress(a, url);
  // The headline stays whole; only the icon changes.
  a.news.setIcon(row, openedIcon(icon));
}

void copySelectedColumn(App& a, int column) {
  int row = a.news.selectedRow();
  if (row < 0) return;
  std::wstring wide = toWide(a.news.text(row, column));
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

void showNewsContextMenu(App& a) {
  if (a.news.selectedRow() < 0) return;
  showPopupMenu(a.trayMenu.get(), 1, a.main);
}

}  // namespace ls
