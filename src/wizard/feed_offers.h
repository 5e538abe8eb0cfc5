// The feeds an HTML page announces in its <link rel="alternate"> tags, which
// the wizard offers above the page's links.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ls {

struct FeedOffer {
  std::string title;  // the tag's title, or the format's name when it has none
  std::string url;    // absolute
};

// The feeds announced in the Shift_JIS page text (comments removed): every
// <link> tag (any letter case) whose rel holds the word "alternate" and
// whose type is application/rss+xml, application/atom+xml or
// application/rdf+xml, with an href that resolves against `pageUrl` to an
// http:// or https:// URL. In page order, each URL once, at most 20.
std::vector<FeedOffer> announcedFeeds(std::string_view text, std::string_view pageUrl);

}  // namespace ls
