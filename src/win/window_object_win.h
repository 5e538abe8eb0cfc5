// How a window finds the object that owns its state: the object is handed
// over at creation (CreateWindowExW's lpParam) and kept in GWLP_USERDATA.
// No exception leaves a procedure: each is told by its kind and the
// program goes on.
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

}  // namespace ls
