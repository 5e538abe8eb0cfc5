// The news list over the real report list view (control 101).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/cycle_ports.h"
#include "engine/news_rows.h"

namespace ls {

// A virtual list view (LVS_OWNERDATA) over the program's own rows: the
// control holds no rows and asks for those it paints (LVN_GETDISPINFOW).
// Changes are painted when the message loop is idle or at repaint().
// repaint() paints at once, unless the list was painted less than
// kListPaintGapMs ago: then the paint waits for the gap to pass (the
// paint timer's tick), so a check whose sites answer in a few
// milliseconds each paints the list a few times a second, not per site.
class ListViewNewsList : public NewsRows {
 public:
  static constexpr std::int64_t kListPaintGapMs = 200;

  // `paintTimer` ticks call paintTimerTicked(); without one every
  // repaint() paints at once.
  void attach(HWND list, IntervalTimer* paintTimer = nullptr);
  void paintTimerTicked();
  HWND handle() const { return list_; }

  void insertRow(int row, const std::string& headline, int icon) override;
  void setText(int row, int column, const std::string& text) override;
  void setIcon(int row, int icon) override;
  void deleteRow(int row) override;
  void clear() override;
  void repaint() override;
  void holdPaint() override { held_ = true; }

  // The first selected row, or -1.
  int selectedRow();

  // The list's questions to its parent: the text and picture of a row, and
  // the row whose headline starts with typed text (-1: none).
  void fillDisplayInfo(NMLVDISPINFOW& info) const;
  int findItem(const NMLVFINDITEMW& find) const;

 private:
  // Tells the control the row count and moves its selection; all rows are
  // painted again when the message loop is idle. While paint is held, only
  // repaint() does this, once.
  void countChanged();
  void sync();
  void changed(int row);
  // The control keeps the selection by row number: rows put in or taken
  // out above it move it, once, before anyone looks at it.
  void moveSelection();
  void paintNow();

  HWND list_ = nullptr;
  IntervalTimer* paintTimer_ = nullptr;
  bool held_ = false;
  bool paintWaits_ = false;  // redrawing is off until the paint timer ticks
  std::uint64_t lastPaint_ = 0;
  // Rows put in (+) or taken out (-) since the selection last moved, in order.
  std::vector<int> moves_;
};

}  // namespace ls
