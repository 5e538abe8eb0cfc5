// The news list over the real report list view (control 101).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "engine/news_rows.h"
#include "win/paint_pacer_win.h"

namespace ls {

// A virtual list view (LVS_OWNERDATA) over the program's own rows: the
// control holds no rows and asks for those it paints (LVN_GETDISPINFOW).
// Changes are painted when the message loop is idle or at repaint(),
// which goes through the pacer when there is one.
class ListViewNewsList : public NewsRows {
 public:
  void attach(HWND list, PaintPacer* pacer = nullptr);
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

  HWND list_ = nullptr;
  PaintPacer* pacer_ = nullptr;
  bool held_ = false;
  // Rows put in (+) or taken out (-) since the selection last moved, in order.
  std::vector<int> moves_;
};

}  // namespace ls
