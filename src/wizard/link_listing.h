// The wizard's link listing: every link of a page, for finding extraction
// strings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ls {

// What a row of the list stands for.
enum class RowKind {
  kLink,       // a link of the page
  kFeedOffer,  // a feed the page announces: choosing it fetches the feed
  kFeedItem,   // an item of a feed
};

struct ListedLink {
  std::string headline;  // at most 999 bytes; a page link's has no blanks
  std::string link;      // a page link as written (relative links stay relative), else absolute; at most 499 bytes
  RowKind kind = RowKind::kLink;
  // A page link's raw anchor text as listed (from "href=" to "</a", blanks
  // removed, at most 7999 bytes): what the check's extraction test reads.
  std::string anchor{};
};

// Lists the page file's bytes, top row first.
// - A feed: its items as the check reads them (headline and absolute URL,
//   before the user's lists), the last item on top like a page's last link.
// - A page: first the feeds it announces (headline "［フィードに切替］" + their
//   title), then its links: words joined (all white space removed),
//   converted, comments removed, every anchor with at least 9 bytes of inner
//   text, the last link of the page on top.
// `pageUrl` is what relative feed URLs are read against.
std::vector<ListedLink> listPageLinks(std::string_view fileBytes, std::string_view pageUrl = "http://localhost/");

// The headline of a feed offer's row.
std::string feedOfferHeadline(std::string_view title);

// The wizard's check: a row matches when its link holds every entry of the
// extraction strings; a feed item's row, as the check takes items, when
// each entry occurs in its link or its headline. A feed offer never matches.
bool linkMatches(std::string_view link, std::string_view extract);
bool rowMatches(const ListedLink& row, std::string_view extract);
// What the check takes with these extraction strings: a page link when its
// raw anchor text holds every entry, a feed item as rowMatches.
bool rowTaken(const ListedLink& row, std::string_view extract);

}  // namespace ls
