// Fuzzes the wizard's link listing: any page file. No crash, no overrun,
// limits kept, and the same rows as the slow literal listing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/page_text.h"
#include "literal_scan.h"
#include "wizard/link_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view page(reinterpret_cast<const char*>(data), size);
  auto rows = ls::listPageLinks(page);
  for (const ls::ListedLink& row : rows) {
    if (row.headline.size() > 999 || row.headline.size() < 9 || row.link.size() > 499) std::abort();
  }
  if (size <= 1 << 16) {
    auto slow = ls::literal::listLinks(ls::listingTextOf(page));
    if (slow.size() != rows.size()) std::abort();
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (slow[i].headline != rows[i].headline || slow[i].link != rows[i].link) std::abort();
  }
  return 0;
}
