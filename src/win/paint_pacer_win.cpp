#include "win/paint_pacer_win.h"

#include <algorithm>

namespace ls {

void PaintPacer::attach(IntervalTimer* timer) {
  if (timer_) timer_->stop();
  waiting_.clear();
  timer_ = timer;
}

bool PaintPacer::beforeChange(HWND window) {
  if (!timer_ || !window) return true;
  if (std::find(waiting_.begin(), waiting_.end(), window) != waiting_.end()) return false;
  const std::uint64_t now = GetTickCount64();
  if (now - lastPaint_ >= static_cast<std::uint64_t>(kPaintGapMs)) {
    lastPaint_ = now;
    return true;
  }
  SendMessageW(window, WM_SETREDRAW, FALSE, 0);
  if (waiting_.empty()) timer_->arm(kPaintGapMs - static_cast<std::int64_t>(now - lastPaint_));
  waiting_.push_back(window);
  return false;
}

void PaintPacer::flush() {
  if (timer_) timer_->stop();
  if (waiting_.empty()) return;
  std::vector<HWND> windows;
  windows.swap(waiting_);
  for (HWND window : windows) {
    if (!IsWindow(window)) continue;
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }
  lastPaint_ = GetTickCount64();
}

}  // namespace ls
