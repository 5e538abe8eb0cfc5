#include "engine/link_extract.h"

#include "common/text.h"
#include "engine/anchor_walk.h"
#include "engine/link_url.h"
#include "engine/page_text.h"

namespace ls {

std::vector<LinkItem> extractLinks(std::string& text, std::string_view siteUrl, std::string_view extract,
                                   const HeadlineFilters& filters) {
  removeComments(text);
  std::string base = baseUrlOf(siteUrl);
  applyBaseOverride(text, base);

  const std::vector<std::string_view> required = splitCommaList(extract);
  const std::vector<std::string_view> removals = splitCommaList(filters.deleteList);
  const std::vector<std::string_view> ignored = splitCommaList(filters.disregardList);

  std::vector<LinkItem> links;
  AnchorWalker walker(text);
  std::string_view anchor;
  AnchorParts parts;
  while (walker.next(anchor)) {
    anchor = cutToBytes(anchor, kAnchorTextLimit);
    if (!containsAll(anchor, required) || !splitAnchor(anchor, parts)) continue;

    LinkItem item;
    item.headline.assign(cutToBytes(parts.inner, kHeadlineLimit));
    item.url = absoluteUrl(parts.target, base);
    cutInPlace(item.url, kLinkUrlLimit);
    for (std::string_view entry : removals) removeAll(item.headline, entry);
    if (containsAny(item.headline, ignored)) continue;
    links.push_back(std::move(item));
  }
  return links;
}

}  // namespace ls
