// Thin helpers over the controls the windows share: texts of edits and list
// cells in Shift_JIS, list rows, columns and selection, the popup menu and
// the open-file dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace ls {

// The control's text, cut to `bytes` at a character boundary.
std::string controlText(HWND dialog, int id, std::size_t bytes = SIZE_MAX);
void setControlText(HWND dialog, int id, const std::string& text);

// A check box or radio button of a dialog.
bool isButtonChecked(HWND dialog, int id);
void checkButton(HWND dialog, int id, bool on);

// The whole text of a cell, however long.
std::string listCellText(HWND list, int row, int column);
void setListCellText(HWND list, int row, int column, const std::string& text);
void addListColumn(HWND list, int index, const char* title, int width);
// Inserts a row with the text of column 0 and the row's own value; returns
// where it went.
int insertListRow(HWND list, int row, const std::string& text, LPARAM data = 0);
// The value a row was inserted with.
LPARAM listRowData(HWND list, int row);
// The first selected row, or -1.
int selectedListRow(HWND list);
// Gives the row the selected and focused states.
void selectListRow(HWND list, int row);

// Popup `index` of the menu at the cursor, its commands going to `owner`.
// The owner comes to the foreground first and gets a WM_NULL after, so the
// menu closes when the user clicks elsewhere.
void showPopupMenu(HMENU menu, int index, HWND owner);

// The open-file dialog with one filter; `path` is the initial file and, when
// the user picks one, the chosen file. False when cancelled.
bool chooseFileToOpen(HWND owner, const char* title, const char* filterName, const wchar_t* pattern,
                      std::wstring& path);
// The save-file dialog likewise; `extension` is added to a name typed
// without one, and replacing a file is confirmed.
bool chooseFileToSave(HWND owner, const char* title, const char* filterName, const wchar_t* pattern,
                      const wchar_t* extension, std::wstring& path);

}  // namespace ls
