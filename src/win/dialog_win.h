// The base of every dialog, modal or modeless: one procedure for all of
// them finds the dialog's object (kept in DWLP_USER) and hands each message
// to a handler of its own kind, the way a window object does. A modeless
// dialog is known to the message loop while it exists, so Tab, Enter and
// Escape work in it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "engine/ports.h"

namespace ls {

class Dialog {
 public:
  explicit Dialog(UserInterface& ui) : ui_(ui) {}
  // A modeless dialog still open goes with its object, without its handlers.
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  INT_PTR runModal(HINSTANCE instance, const wchar_t* name, HWND owner);
  HWND createModeless(HINSTANCE instance, const wchar_t* name, HWND owner);
  // The dialog while it exists, else null.
  HWND handle() const { return dialog_; }

 protected:
  // WM_INITDIALOG; true lets the system put the focus on the first control.
  virtual bool onInit() { return true; }
  // WM_COMMAND; true when handled. By default OK (and Enter) goes to onOk,
  // Cancel (and Escape) to onCancel.
  virtual bool onCommand(int id, int code);
  // WM_NOTIFY; true when handled.
  virtual bool onNotify(const NMHDR& header);
  virtual void onOk() { end(IDOK); }
  // Also the close box (WM_CLOSE).
  virtual void onCancel() { end(IDCANCEL); }
  // WM_DESTROY, while the controls still exist.
  virtual void onDestroy() {}
  // Every other message; TRUE when handled, as a dialog procedure answers.
  virtual INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Ends a modal dialog with `result`; destroys a modeless one.
  void end(INT_PTR result);
  HWND item(int id) const { return GetDlgItem(dialog_, id); }
  std::string itemText(int id, std::size_t bytes = SIZE_MAX) const;
  void setItemText(int id, const std::string& text);
  UserInterface& ui() { return ui_; }
  HWND dialog_ = nullptr;

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  UserInterface& ui_;
  bool modal_ = false;
};

}  // namespace ls
