// Fuzzes the wizard's link listing: any page file. No crash, no overrun,
// limits kept, and the same rows as the slow literal listing. "判別" on the
// listing takes every ticked row.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/feed_page.h"
#include "engine/page_text.h"
#include "literal_scan.h"
#include "wizard/headline_suggest.h"
#include "wizard/link_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view page(reinterpret_cast<const char*>(data), size);
  auto rows = ls::listPageLinks(page);
  std::vector<ls::ListedLink> links;
  for (const ls::ListedLink& row : rows) {
    if (row.headline.size() > 999 || row.headline.size() < 9 || row.link.size() > 499) std::abort();
    if (row.kind == ls::RowKind::kLink) links.push_back(row);
  }
  // A feed lists its items; a page's links (after the feeds it offers) are
  // the literal listing's.
  std::string bytes(page);
  const bool feed = ls::feedTextInPlace(bytes).has_value();
  if (feed && links.size() != 0) std::abort();
  if (!feed && size <= 1 << 16) {
    auto slow = ls::literal::listLinks(ls::listingTextOf(page));
    if (slow.size() != links.size()) std::abort();
    for (std::size_t i = 0; i < links.size(); ++i)
      if (slow[i].headline != links[i].headline || slow[i].link != links[i].link) std::abort();
  }
  // Tick the first, a middle and the last row.
  if (rows.size() >= 2) {
    const std::vector<std::size_t> ticked = {0, rows.size() / 2, rows.size() - 1};
    const std::string strings = ls::suggestHeadlineStrings(rows, ticked);
    for (std::size_t r : ticked)
      if (rows[r].kind != ls::RowKind::kFeedOffer && !strings.empty() && !ls::rowTaken(rows[r], strings)) std::abort();
  }
  return 0;
}
