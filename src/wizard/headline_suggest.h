// "判別" with two or more ticked links: extraction strings learnt from the
// ticked examples of the wizard's listing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "wizard/link_listing.h"

namespace ls {

// The extraction strings (comma-joined) that take every ticked row of
// `rows` (indexes into it) as the check would take them.
// - A page: strings cut from the ticked links' own paths (a directory such
//   as "/news/", a word of one, a file name and its first letters such as
//   "/k", an extension, a query key, the first digit of a year or an id),
//   never from the scheme and host, never with a run of three digits and
//   never a month's name (a date or an article id changes tomorrow). Among the sets of one to three
//   strings that every ticked link's raw anchor text holds, the set whose
//   links best match the likely list (the links shaped like an example:
//   words, numbers and slashes, the first directory as written when the
//   examples of that shape share it) wins, then the one that takes the
//   fewest other links, then the one with fewer strings, then the shorter.
// - A feed, whose items are all headlines: the one string shared by the
//   ticked items that takes the most items (the longest on a tie), or "http"
//   when they share nothing but their host.
// Ticked feed offers and indexes past the end are left out; with fewer
// than two ticked rows left the result is empty.
std::string suggestHeadlineStrings(const std::vector<ListedLink>& rows, const std::vector<std::size_t>& ticked);

}  // namespace ls
