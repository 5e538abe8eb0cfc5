#include "win/dialog_win.h"

#include <utility>

#include "win/controls_win.h"
#include "win/message_loop_win.h"
#include "win/window_object_win.h"

namespace ls {

Dialog::~Dialog() {
  if (!dialog_) return;
  SetWindowLongPtrW(dialog_, DWLP_USER, 0);
  removeModelessDialog(dialog_);
  DestroyWindow(std::exchange(dialog_, nullptr));
}

INT_PTR Dialog::runModal(HINSTANCE instance, const wchar_t* name, HWND owner) {
  modal_ = true;
  return DialogBoxParamW(instance, name, owner, &Dialog::procedure, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::createModeless(HINSTANCE instance, const wchar_t* name, HWND owner) {
  modal_ = false;
  return CreateDialogParamW(instance, name, owner, &Dialog::procedure, reinterpret_cast<LPARAM>(this));
}

bool Dialog::onCommand(int id, int) {
  if (id == IDOK) onOk();
  if (id == IDCANCEL) onCancel();
  return id == IDOK || id == IDCANCEL;
}

bool Dialog::onNotify(const NMHDR&) { return false; }

INT_PTR Dialog::onMessage(UINT, WPARAM, LPARAM) { return FALSE; }

void Dialog::end(INT_PTR result) {
  if (!dialog_) return;
  if (modal_) {
    EndDialog(dialog_, result);
  } else {
    DestroyWindow(dialog_);
  }
}

std::string Dialog::itemText(int id, std::size_t bytes) const { return controlText(dialog_, id, bytes); }

void Dialog::setItemText(int id, const std::string& text) { setControlText(dialog_, id, text); }

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (!modal_) addModelessDialog(dialog_);
      return onInit() ? TRUE : FALSE;
    case WM_COMMAND:
      if (onCommand(LOWORD(wParam), HIWORD(wParam))) return TRUE;
      break;
    case WM_NOTIFY:
      if (onNotify(*reinterpret_cast<const NMHDR*>(lParam))) return TRUE;
      break;
    case WM_CLOSE:
      onCancel();
      return TRUE;
    case WM_DESTROY:
      onDestroy();
      return FALSE;
    default:
      break;
  }
  return onMessage(message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<Dialog*>(lParam)->dialog_ = dialog;
  }
  Dialog* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;  // the messages before WM_INITDIALOG
  INT_PTR result = guarded(self->ui_, [&] { return self->dispatch(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    removeModelessDialog(dialog);
    self->dialog_ = nullptr;
  }
  return result;
}

}  // namespace ls
