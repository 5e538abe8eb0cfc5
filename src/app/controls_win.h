// One-line helpers over the controls the dialogs share: texts of edits and
// list cells in Shift_JIS, list columns, the open-file dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace ls {

// The control's text, cut to `bytes` at a character boundary.
std::string controlText(HWND dialog, int id, std::size_t bytes = SIZE_MAX);
void setControlText(HWND dialog, int id, const std::string& text);

std::string listCellText(HWND list, int row, int column);
void setListCellText(HWND list, int row, int column, const std::string& text);
void addListColumn(HWND list, int index, const char* title, int width);

// Popup `index` of the menu at the cursor, its commands going to `owner`.
// The owner comes to the foreground first and gets a WM_NULL after, so the
// menu closes when the user clicks elsewhere.
void showPopupMenu(HMENU menu, int index, HWND owner);

// The open-file dialog with one filter; `path` is the initial file and, when
// the user picks one, the chosen file. False when cancelled.
bool chooseFileToOpen(HWND owner, const char* title, const char* filterName, const wchar_t* pattern,
                      std::wstring& path);

}  // namespace ls
