// The news list over the real report list view (control 101), and the
// user interface over the status bar (control 103) and message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "engine/ports.h"

namespace ls {

class ListViewNewsList : public NewsList {
 public:
  void attach(HWND list) { list_ = list; }
  HWND handle() const { return list_; }

  int count() const override;
  void insertRow(int row, const std::string& headline, int icon) override;
  void setText(int row, int column, const std::string& text) override;
  std::string text(int row, int column) const override;
  int icon(int row) const override;
  void setIcon(int row, int icon) override;
  void deleteRow(int row) override;
  void clear() override;
  void repaint() override;

  // The first selected row, or -1.
  int selectedRow() const;

 private:
  HWND list_ = nullptr;
};

class WindowUserInterface : public UserInterface {
 public:
  void attach(HWND owner, HWND statusBar) {
    owner_ = owner;
    statusBar_ = statusBar;
  }
  void setStatus(int part, const std::string& text) override;
  std::string status(int part) const;
  void message(const std::string& text) override;
  [[noreturn]] void fatal(const std::string& text) override;

  // A box with its own caption and buttons (MB_OK, MB_OKCANCEL); returns
  // the button pressed.
  int ask(HWND owner, const std::string& text, const std::string& caption, UINT buttons);

  // Tests answer message boxes here instead of on the screen.
  std::function<void(const std::string&)> messageHook;
  std::function<int(const std::string&)> askHook;

 private:
  HWND owner_ = nullptr;
  HWND statusBar_ = nullptr;
};

// Shows a message box with the program's title and an OK button.
void showMessage(HWND owner, const std::string& text, UINT icon = 0);

}  // namespace ls
