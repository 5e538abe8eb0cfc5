// The news list's rows as the program keeps them: the list control on screen
// only shows them (a virtual list asks for the rows it paints), so thousands
// of rows cost what they hold, and a row put at the top or taken from the
// bottom costs the same at any size.
#pragma once

#include <deque>
#include <string>

#include "engine/ports.h"

namespace ls {

class NewsRows : public NewsList {
 public:
  int count() const override { return static_cast<int>(rows_.size()); }
  // A row beyond the bottom goes to the bottom; a negative one is refused.
  void insertRow(int row, const std::string& headline, int icon) override;
  void setText(int row, int column, const std::string& text) override;
  // Empty for a row or column that does not exist.
  std::string text(int row, int column) const override;
  // kIconNone for a row that does not exist.
  int icon(int row) const override;
  void setIcon(int row, int icon) override;
  void deleteRow(int row) override;
  void clear() override { rows_.clear(); }
  void repaint() override {}

  // The text without a copy, for painting; empty when out of range.
  const std::string& cell(int row, int column) const;

 protected:
  bool has(int row) const { return row >= 0 && row < count(); }

 private:
  struct Row {
    std::string columns[3];
    int icon = 0;
  };
  std::deque<Row> rows_;
};

}  // namespace ls
