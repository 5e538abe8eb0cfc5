#include "win/controls_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include "common/dpi_scale.h"
#include "common/text.h"
#include "win/dpi_win.h"
#include "win/wide_win.h"

namespace ls {

std::string controlText(HWND dialog, int id, std::size_t bytes) {
  HWND control = GetDlgItem(dialog, id);
  int n = GetWindowTextLengthW(control);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(control, w.data(), n + 1);
  w.resize(static_cast<std::size_t>(n));
  return std::string(cutToBytes(fromWide(w), bytes));
}

void setControlText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextW(dialog, id, toWide(text).c_str());
}

bool isButtonChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void checkButton(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

std::string listCellText(HWND list, int row, int column) {
  // Grows until the text fits, so no cell is ever cut here.
  std::wstring buffer(1024, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    if (n < static_cast<LRESULT>(buffer.size()) - 1) return fromWide(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 4);
  }
}

void setListCellText(HWND list, int row, int column, const std::string& text) {
  std::wstring w = toWide(text);
  ListView_SetItemText(list, row, column, w.data());
}

void addListColumn(HWND list, int index, const char* title, int width) {
  std::wstring text = toWide(title);
  LVCOLUMNW col{};
  col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.fmt = LVCFMT_LEFT;
  col.cx = scaleToDpi(width, windowDpi(list));
  col.pszText = text.data();
  col.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&col));
}

int insertListRow(HWND list, int row, const std::string& text, LPARAM data) {
  std::wstring wide = toWide(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = wide.data();
  item.lParam = data;
  return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

LPARAM listRowData(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

int selectedListRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

void selectListRow(HWND list, int row) {
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void showPopupMenu(HMENU menu, int index, HWND owner) {
  if (!menu) return;
  POINT at;
  GetCursorPos(&at);
  SetForegroundWindow(owner);
  TrackPopupMenu(GetSubMenu(menu, index), TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

namespace {

bool chooseFile(HWND owner, const char* title, const char* filterName, const wchar_t* pattern,
                const wchar_t* extension, std::wstring& path, bool save) {
  wchar_t file[MAX_PATH] = {};
  lstrcpynW(file, path.c_str(), MAX_PATH);
  wchar_t fileTitle[64] = {};
  std::wstring caption = toWide(title);
  std::wstring filter = toWide(filterName);
  filter += L'\0';
  filter += pattern;
  filter += L'\0';
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrFileTitle = fileTitle;
  ofn.nMaxFileTitle = 63;
  ofn.lpstrTitle = caption.c_str();
  ofn.lpstrDefExt = extension;
  ofn.Flags = OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : 0);
  if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return false;
  path = file;
  return true;
}

}  // namespace

bool chooseFileToOpen(HWND owner, const char* title, const char* filterName, const wchar_t* pattern,
                      std::wstring& path) {
  return chooseFile(owner, title, filterName, pattern, nullptr, path, false);
}

bool chooseFileToSave(HWND owner, const char* title, const char* filterName, const wchar_t* pattern,
                      const wchar_t* extension, std::wstring& path) {
  return chooseFile(owner, title, filterName, pattern, extension, path, true);
}

}  // namespace ls
