#include "engine/news_rows.h"

namespace ls {

namespace {

// An icon read from a hand-edited file may be any number; a negative one
// would ask the list for its picture, so it shows none.
int safeIcon(int icon) { return icon < 0 ? kIconNone : icon; }

const std::string kEmpty;

}  // namespace

void NewsRows::insertRow(int row, const std::string& headline, int icon) {
  if (row < 0) return;
  Row r;
  r.columns[0] = headline;
  r.icon = safeIcon(icon);
  if (row == 0) {
    rows_.push_front(std::move(r));
  } else if (row >= count()) {
    rows_.push_back(std::move(r));
  } else {
    rows_.insert(rows_.begin() + row, std::move(r));
  }
}

void NewsRows::setText(int row, int column, const std::string& text) {
  if (has(row) && column >= 0 && column < 3) rows_[static_cast<std::size_t>(row)].columns[column] = text;
}

std::string NewsRows::text(int row, int column) const { return cell(row, column); }

const std::string& NewsRows::cell(int row, int column) const {
  if (!has(row) || column < 0 || column >= 3) return kEmpty;
  return rows_[static_cast<std::size_t>(row)].columns[column];
}

int NewsRows::icon(int row) const { return has(row) ? rows_[static_cast<std::size_t>(row)].icon : kIconNone; }

void NewsRows::setIcon(int row, int icon) {
  if (has(row)) rows_[static_cast<std::size_t>(row)].icon = safeIcon(icon);
}

void NewsRows::deleteRow(int row) {
  if (!has(row)) return;
  if (row == count() - 1) {
    rows_.pop_back();
  } else if (row == 0) {
    rows_.pop_front();
  } else {
    rows_.erase(rows_.begin() + row);
  }
}

}  // namespace ls
