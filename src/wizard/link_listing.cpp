#include "wizard/link_listing.h"

#include <algorithm>

#include "common/text.h"
#include "engine/anchor_walk.h"
#include "engine/feed_page.h"
#include "engine/link_url.h"
#include "engine/page_convert.h"
#include "engine/page_text.h"
#include "wizard/feed_offers.h"

namespace ls {

namespace {

std::vector<ListedLink> feedRows(std::vector<LinkItem> items) {
  std::vector<ListedLink> rows;
  rows.reserve(items.size());
  // The last item on top, as the last link of a page.
  for (auto it = items.rbegin(); it != items.rend(); ++it)
    rows.push_back(ListedLink{std::move(it->headline), std::move(it->url), RowKind::kFeedItem});
  return rows;
}

std::vector<ListedLink> offerRows(std::string_view fileBytes, std::string_view pageUrl) {
  // Read with the page's blanks, which the listing's text has lost.
  std::string text = scanTextOf(fileBytes);
  removeComments(text);
  std::vector<ListedLink> rows;
  for (FeedOffer& offer : announcedFeeds(text, pageUrl)) {
    ListedLink& row = rows.emplace_back();
    row.headline = feedOfferHeadline(offer.title);
    row.link.assign(cutToBytes(offer.url, kLinkUrlLimit));
    row.kind = RowKind::kFeedOffer;
  }
  return rows;
}

}  // namespace

std::string feedOfferHeadline(std::string_view title) {
  std::string headline = "［フィードに切替］";
  headline += title;
  return std::string(cutToBytes(headline, kHeadlineLimit));
}

std::vector<ListedLink> listPageLinks(std::string_view fileBytes, std::string_view pageUrl) {
  {
    std::string bytes(fileBytes);
    if (std::optional<std::vector<LinkItem>> items = readFeed(bytes, pageUrl)) return feedRows(std::move(*items));
  }
  std::vector<ListedLink> rows = offerRows(fileBytes, pageUrl);
  const std::size_t offers = rows.size();

  std::string text = listingTextOf(fileBytes);
  removeComments(text);

  AnchorWalker walker(text);
  std::string_view anchor;
  AnchorParts parts;
  while (walker.next(anchor)) {
    if (!splitAnchor(cutToBytes(anchor, kAnchorTextLimit), parts)) continue;
    ListedLink row;
    row.headline.assign(cutToBytes(parts.inner, kHeadlineLimit));
    row.link.assign(cutToBytes(relativeLink(parts.target), kLinkUrlLimit));
    row.anchor.assign(cutToBytes(anchor, kAnchorTextLimit));
    rows.push_back(std::move(row));
  }
  // Each row goes in at the top of the list, so the last link shows first;
  // the offers stay above them.
  std::reverse(rows.begin() + static_cast<std::ptrdiff_t>(offers), rows.end());
  return rows;
}

bool linkMatches(std::string_view link, std::string_view extract) { return containsAll(link, extract); }

bool rowMatches(const ListedLink& row, std::string_view extract) {
  switch (row.kind) {
    case RowKind::kFeedOffer:
      return false;
    case RowKind::kFeedItem:
      return feedItemQualifies(row.headline, row.link, splitCommaList(extract));
    case RowKind::kLink:
      break;
  }
  return linkMatches(row.link, extract);
}

bool rowTaken(const ListedLink& row, std::string_view extract) {
  if (row.kind == RowKind::kLink) return containsAll(row.anchor, extract);
  return rowMatches(row, extract);
}

}  // namespace ls
