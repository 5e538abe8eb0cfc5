#include "win/window_object_win.h"

namespace ls {

INT_PTR Dialog::runModal(HINSTANCE instance, const wchar_t* name, HWND owner) {
  return DialogBoxParamW(instance, name, owner, &Dialog::procedure, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::createModeless(HINSTANCE instance, const wchar_t* name, HWND owner) {
  return CreateDialogParamW(instance, name, owner, &Dialog::procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<Dialog*>(lParam)->dialog_ = dialog;
  }
  Dialog* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;  // the messages before WM_INITDIALOG
  INT_PTR result = guarded(self->ui_, [&] { return self->onMessage(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    self->dialog_ = nullptr;
  }
  return result;
}

}  // namespace ls
