// The feed reader: the items of an RSS or Atom feed as links, one per item
// in document order. Lenient and byte-wise, in one pass over the text, with
// memory bounded by the text: malformed, cut or hostile feeds give a defined
// result, and nothing declared in a DOCTYPE is expanded.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/feed_detect.h"
#include "engine/link_extract.h"

namespace ls {

// Reads the items of the Shift_JIS feed text from `from` (its body). Each
// item (RSS `item`, Atom `entry`) gives one link:
// - headline: the item's first `title` child (see titleText), cut to 999
//   bytes; an item whose headline has fewer than 9 bytes gives none;
// - URL: RSS: the first `link` child if it is usable, else the first `guid`
//   child unless isPermaLink="false", when it is an absolute usable URL;
//   Atom: the href of the first `link` child whose rel is absent or
//   "alternate" and whose type is absent or an HTML type (text/html,
//   application/xhtml+xml). A relative URL is resolved against the
//   inherited xml:base and `pageUrl` as RFC 3986 resolves a reference; a
//   fragment is kept. Usable: the result is an http:// or https:// URL with
//   a host and no control bytes. Cut to 499 bytes.
// An item without a title or a usable URL gives no link. Only the item's
// direct children count (an Atom entry's `source` has a title of its own),
// and only those with the item's own namespace prefix (none, or the one
// the item is written with).
std::vector<LinkItem> readFeedItems(std::string_view text, std::size_t from, FeedKind kind,
                                    std::string_view pageUrl);

}  // namespace ls
