// Paints the controls a check keeps changing (the news list, the status bar)
// a few times a second at most. A check whose sites answer in a few
// milliseconds each would otherwise paint them once per site, which under
// Wine costs more than the check itself. A change is painted at once when
// the last paced paint is kPaintGapMs old; otherwise the window's redrawing
// is off until the timer ticks, which paints it whole. Only the program's
// own changes are paced: what the user scrolls or uncovers in the list is
// painted as ever.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "engine/cycle_ports.h"

namespace ls {

class PaintPacer {
 public:
  static constexpr std::int64_t kPaintGapMs = 200;

  // `timer` ticks call ticked(); without one every change is painted at
  // once. What waited for the old timer is forgotten.
  void attach(IntervalTimer* timer);
  // Before the program changes `window`: true when the change is to be
  // painted now (by the control itself or by the caller's UpdateWindow);
  // false when it waits for the tick.
  bool beforeChange(HWND window);
  void ticked() { flush(); }
  // Paints whatever waits, now.
  void flush();

 private:
  IntervalTimer* timer_ = nullptr;
  std::vector<HWND> waiting_;
  std::uint64_t lastPaint_ = 0;
};

}  // namespace ls
