// Small owners of what the shell creates, each released once and in reverse
// order of creation: fonts, bitmaps, menus, image lists, memory DCs, an
// object selected into a DC, a paint, and COM for the life of the loop.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <utility>

namespace ls {

template <typename Handle, typename Release>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle h) : handle_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() { return std::exchange(handle_, nullptr); }
  // Takes the new handle first and only then lets the old one go.
  void reset(Handle h = nullptr) {
    Handle old = std::exchange(handle_, h);
    if (old) Release{}(old);
  }

 private:
  Handle handle_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DestroyMenuHandle {
  void operator()(HMENU h) const { DestroyMenu(h); }
};
struct DestroyImageList {
  void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct DeleteDc {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct DestroyIconHandle {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct DestroyWindowHandle {
  void operator()(HWND h) const { DestroyWindow(h); }
};

using Font = Owned<HFONT, DeleteGdiObject>;
using Bitmap = Owned<HBITMAP, DeleteGdiObject>;
using Menu = Owned<HMENU, DestroyMenuHandle>;
using ImageList = Owned<HIMAGELIST, DestroyImageList>;
using MemoryDc = Owned<HDC, DeleteDc>;
using Icon = Owned<HICON, DestroyIconHandle>;
using Window = Owned<HWND, DestroyWindowHandle>;

// An object selected into a DC for a scope; the old one comes back at its end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint and EndPaint.
class Paint {
 public:
  explicit Paint(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
  ~Paint() { EndPaint(window_, &ps_); }
  Paint(const Paint&) = delete;
  Paint& operator=(const Paint&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// COM on this thread for the life of the object: the program's from start-up
// to the end of the message loop (the list's background picture needs it),
// or one call's where it has none. Nested scopes are counted by COM itself.
class ComScope {
 public:
  ComScope() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (started_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool started_;
};

// An interface pointer released with its owner; out() receives one from
// CoCreateInstance or QueryInterface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace ls
