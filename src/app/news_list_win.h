// The news list over the real report list view (control 101).
#pragma once

#include <windows.h>

#include <string>

#include "engine/ports.h"

namespace ls {

class ListViewNewsList : public NewsList {
 public:
  void attach(HWND list) { list_ = list; }
  HWND handle() const { return list_; }

  int count() const override;
  void insertRow(int row, const std::string& headline, int icon) override;
  void setText(int row, int column, const std::string& text) override;
  std::string text(int row, int column) const override;
  int icon(int row) const override;
  void setIcon(int row, int icon) override;
  void deleteRow(int row) override;
  void clear() override;
  void repaint() override;

  // The first selected row, or -1.
  int selectedRow() const;

 private:
  HWND list_ = nullptr;
};

}  // namespace ls
