#include "wizard/link_listing.h"

#include <algorithm>

#include "common/text.h"
#include "engine/anchor_walk.h"
#include "engine/link_url.h"
#include "engine/page_convert.h"
#include "engine/page_text.h"

namespace ls {

std::vector<ListedLink> listPageLinks(std::string_view fileBytes) {
  std::string text = listingTextOf(fileBytes);
  removeComments(text);

  std::vector<ListedLink> rows;
  AnchorWalker walker(text);
  std::string_view anchor;
  AnchorParts parts;
  while (walker.next(anchor)) {
    if (!splitAnchor(cutToBytes(anchor, kAnchorTextLimit), parts)) continue;
    ListedLink row;
    row.headline.assign(cutToBytes(parts.inner, kHeadlineLimit));
    row.link.assign(cutToBytes(relativeLink(parts.target), kLinkUrlLimit));
    rows.push_back(std::move(row));
  }
  // Each row goes in at the top of the list, so the last link shows first.
  std::reverse(rows.begin(), rows.end());
  return rows;
}

bool linkMatches(std::string_view link, std::string_view extract) { return containsAll(link, extract); }

}  // namespace ls
