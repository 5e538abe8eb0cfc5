#include "shell/news_list_win.h"

#include <commctrl.h>

#include <vector>

#include "win/wide_win.h"

namespace ls {

namespace {

// Row moves are kept as row + 1 so that row 0 has a sign.
int putIn(int row) { return row + 1; }
int takenOut(int row) { return -(row + 1); }

}  // namespace

void ListViewNewsList::attach(HWND list, PaintPacer* pacer) {
  list_ = list;
  pacer_ = pacer;
  held_ = false;
  moves_.clear();
  // The rows go with the control they were shown in.
  if (!list_) NewsRows::clear();
  countChanged();
}

void ListViewNewsList::insertRow(int row, const std::string& headline, int icon) {
  if (row < 0) return;
  int before = count();
  NewsRows::insertRow(row, headline, icon);
  if (row < before) moves_.push_back(putIn(row));
  countChanged();
}

void ListViewNewsList::setText(int row, int column, const std::string& text) {
  NewsRows::setText(row, column, text);
  changed(row);
}

void ListViewNewsList::setIcon(int row, int icon) {
  NewsRows::setIcon(row, icon);
  changed(row);
}

void ListViewNewsList::deleteRow(int row) {
  if (!has(row)) return;
  NewsRows::deleteRow(row);
  moves_.push_back(takenOut(row));
  countChanged();
}

void ListViewNewsList::clear() {
  NewsRows::clear();
  moves_.clear();
  countChanged();
}

void ListViewNewsList::repaint() {
  held_ = false;
  const bool now = !pacer_ || pacer_->beforeChange(list_);
  sync();
  if (list_ && now) UpdateWindow(list_);
}

void ListViewNewsList::countChanged() {
  if (!held_) sync();
}

void ListViewNewsList::sync() {
  if (!list_) return;
  // A selected row must lie within the count the control knows when it
  // moves: a growing list grows first, a shrinking one shrinks after.
  auto setCount = [this] {
    SendMessageW(list_, LVM_SETITEMCOUNT, count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  };
  if (count() >= ListView_GetItemCount(list_)) {
    setCount();
    moveSelection();
  } else {
    moveSelection();
    setCount();
  }
  // The rows on screen may all have moved; they are painted when the
  // message loop is idle, or at repaint().
  InvalidateRect(list_, nullptr, FALSE);
}

void ListViewNewsList::changed(int row) {
  if (list_ && !held_ && has(row)) ListView_RedrawItems(list_, row, row);
}

void ListViewNewsList::moveSelection() {
  if (moves_.empty() || !list_) return;
  std::vector<int> moves;
  moves.swap(moves_);
  if (ListView_GetSelectedCount(list_) == 0) return;
  // The control has kept the old row number: follow the row through the moves.
  int was = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
  int row = was;
  for (int m : moves) {
    if (row < 0) break;
    int at = (m > 0 ? m : -m) - 1;
    if (m > 0 && at <= row) ++row;
    if (m < 0 && at == row) row = -1;
    if (m < 0 && at < row) --row;
  }
  if (row == was) return;
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row >= 0) ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int ListViewNewsList::selectedRow() {
  if (!moves_.empty()) sync();
  return list_ ? ListView_GetNextItem(list_, -1, LVNI_SELECTED) : -1;
}

void ListViewNewsList::fillDisplayInfo(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if (item.mask & LVIF_TEXT && item.pszText && item.cchTextMax > 0) {
    std::wstring text = toWide(cell(item.iItem, item.iSubItem));
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }
  if (item.mask & LVIF_IMAGE) item.iImage = icon(item.iItem);
}

int ListViewNewsList::findItem(const NMLVFINDITEMW& find) const {
  const LVFINDINFOW& what = find.lvfi;
  if (!(what.flags & (LVFI_STRING | LVFI_PARTIAL)) || !what.psz || count() == 0) return -1;
  std::wstring wanted = what.psz;
  bool partial = (what.flags & LVFI_PARTIAL) != 0;
  int n = count();
  int first = find.iStart >= 0 && find.iStart < n ? find.iStart : 0;
  for (int i = 0; i < n; ++i) {
    int row = (first + i) % n;
    if (!(what.flags & LVFI_WRAP) && row < first) break;
    std::wstring headline = toWide(cell(row, 0));
    if (partial ? headline.size() >= wanted.size() && _wcsnicmp(headline.c_str(), wanted.c_str(), wanted.size()) == 0
                : _wcsicmp(headline.c_str(), wanted.c_str()) == 0)
      return row;
  }
  return -1;
}

}  // namespace ls
