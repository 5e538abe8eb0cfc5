// Telling a feed from a page: a fetched document whose document element is
// an RSS, RSS 1.0 (RDF) or Atom root is read as a feed.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ls {

enum class FeedKind {
  kRss,   // <rss>, any version (0.91, 0.92, 2.0)
  kRdf,   // <rdf:RDF> (any prefix) holding RSS 1.0 or 0.90
  kAtom,  // <feed>, Atom 1.0 or 0.3
};

// The kind of the document that starts at `from`: after a UTF-8 byte-order
// mark, the XML declaration, comments, processing instructions, a DOCTYPE
// and white space, the document element decides. An RDF root counts when
// its start tag names the RSS 1.0 or the RSS 0.90 namespace. Nothing for
// anything else, also for a prolog cut off before its element.
std::optional<FeedKind> feedKindAt(std::string_view text, std::size_t from);

// The same for a page file, whose body follows the response head.
std::optional<FeedKind> feedKindOfPage(std::string_view fileBytes);

}  // namespace ls
