#include "engine/search_rule.h"

#include "common/text.h"

namespace ls {

namespace {
constexpr std::size_t kSearchHeadlineBytes = 499;
}  // namespace

int findHeadline(const NewsList& list, const std::string& text, int start) {
  if (start < 0) start = 0;
  for (int row = start; row < list.count(); ++row) {
    if (contains(cutToBytes(list.text(row, 0), kSearchHeadlineBytes), text)) return row;
  }
  return -1;
}

}  // namespace ls
