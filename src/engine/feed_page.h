// A fetched feed as the check and the wizard read it: recognised in the
// page file, converted, its items read, and the items put through the steps
// that a page's links go through.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/feed_detect.h"
#include "engine/link_extract.h"

namespace ls {

// When the page file's bytes are a feed: turns them in place into the
// feed's Shift_JIS text (the response head first, as the page scan keeps
// it) and returns the kind. The encoding is told as for a page (byte-order
// mark, the response's charset, the XML declaration's encoding, then the
// bytes themselves); NUL bytes are dropped. Otherwise the bytes stay
// untouched and the result is nothing.
std::optional<FeedKind> feedTextInPlace(std::string& fileBytes);

// The items of a page file that is a feed (see readFeedItems), relative
// URLs read against `pageUrl`; nothing when it is no feed, and then the
// bytes stay untouched.
std::optional<std::vector<LinkItem>> readFeed(std::string& fileBytes, std::string_view pageUrl);

// The extraction test of a feed's item: every entry occurs in its URL or in
// its headline (each entry in either). An empty list takes every item.
bool feedItemQualifies(std::string_view headline, std::string_view url, const std::vector<std::string_view>& entries);

// The check's steps after reading: the extraction strings, then `DELETE`
// removed from the headline and `DISREGARD` leaving the item out, as for a
// page's link. Order kept.
void filterFeedItems(std::vector<LinkItem>& items, std::string_view extract, const HeadlineFilters& filters);

}  // namespace ls
