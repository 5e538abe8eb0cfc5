// Fuzzes the feed reader: any page file read as the check reads it. Whatever
// the bytes, a feed's items keep the limits, hold no line break or NUL that
// would split a site log's line, and point at http or https URLs; the
// wizard's listing of the same bytes neither crashes nor overruns.
//
// Input: page URL and extraction strings, each ended by a NUL byte, then the
// page file's bytes; missing fields are empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text.h"
#include "engine/feed_page.h"
#include "engine/page_scan.h"
#include "fuzz_input.h"
#include "wizard/link_listing.h"

using fuzzing::check;
using fuzzing::takeField;

namespace {

bool oneLine(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string url(ls::cutToBytes(takeField(in), 499));
  if (url.empty()) url = "http://example.jp/feed/";
  std::string extract(ls::cutToBytes(takeField(in), 498));

  std::string bytes(in);
  if (auto items = ls::readFeed(bytes, url)) {
    for (const ls::LinkItem& item : *items) {
      check(item.headline.size() >= 9 && item.headline.size() <= 999);
      check(item.url.size() <= 499);
      check(oneLine(item.headline) && oneLine(item.url));
      check(ls::startsWithIgnoreAsciiCase(item.url, "http://") || ls::startsWithIgnoreAsciiCase(item.url, "https://"));
    }
    const std::size_t read = items->size();
    ls::filterFeedItems(*items, extract, ls::HeadlineFilters{"a", "b"});
    check(items->size() <= read);
  }
  bytes.assign(in);
  for (const ls::LinkItem& link : ls::pageLinks(bytes, url, extract, {})) {
    check(link.headline.size() <= 999 && link.url.size() <= 499);
  }
  for (const ls::ListedLink& row : ls::listPageLinks(in, url)) {
    check(row.headline.size() <= 999 && row.link.size() <= 499);
  }
  return 0;
}
