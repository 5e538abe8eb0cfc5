// How every window and dialog finds the object that owns its state: the
// object is handed over at creation (CreateWindowExW's lpParam,
// DialogBoxParamW's lParam) and kept in GWLP_USERDATA or DWLP_USER. No
// exception leaves a procedure: each is told by its kind and the program
// goes on.
#pragma once

#include <windows.h>

#include <exception>
#include <new>

#include "engine/engine_context.h"
#include "engine/ports.h"

namespace ls {

// The object of a window created with it as lpParam; null before WM_NCCREATE.
template <typename T>
T* windowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Runs a handler; an exception is told by its kind (a failed allocation as
// out of memory, anything else as an internal error with its text) and the
// handler's answer is then the default one.
template <typename Handler>
auto guarded(UserInterface& ui, Handler&& handler) -> decltype(handler()) {
  try {
    return handler();
  } catch (const std::bad_alloc&) {
    ui.error(kMsgOutOfMemory);
  } catch (const std::exception& e) {
    ui.error(internalErrorText(e.what()));
  } catch (...) {
    ui.error(internalErrorText(""));
  }
  return decltype(handler())();
}

// The base of every dialog: one procedure for all of them, which finds the
// dialog's object and hands it the message.
class Dialog {
 public:
  explicit Dialog(UserInterface& ui) : ui_(ui) {}
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  INT_PTR runModal(HINSTANCE instance, const wchar_t* name, HWND owner);
  HWND createModeless(HINSTANCE instance, const wchar_t* name, HWND owner);
  HWND handle() const { return dialog_; }

 protected:
  // TRUE when the message was handled, as a dialog procedure answers.
  virtual INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  UserInterface& ui() { return ui_; }
  HWND dialog_ = nullptr;

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  UserInterface& ui_;
};

}  // namespace ls
