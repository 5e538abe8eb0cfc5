// The link extraction of the page scan, on the converted page text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ls {

// One taken link.
struct LinkItem {
  std::string headline;  // at most 999 bytes, tags removed
  std::string url;       // absolute, at most 499 bytes
};

// The user's headline lists, comma lists of at most 499 bytes each.
struct HeadlineFilters {
  std::string deleteList;     // strings removed from every headline
  std::string disregardList;  // a headline holding one of these is ignored
};

// Removes the comments of `text` in place, applies a base override to the
// base of `siteUrl` and walks the anchors: an anchor is taken when its raw
// text holds every entry of `extract` and its inner text has at least 9
// bytes. Headlines lose the `DELETE` strings; those that hold a `DISREGARD`
// entry are left out. The links come back in page order.
std::vector<LinkItem> extractLinks(std::string& text, std::string_view siteUrl, std::string_view extract,
                                   const HeadlineFilters& filters);

}  // namespace ls
