// The wizard's link listing: every link of a page, for finding extraction
// strings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ls {

struct ListedLink {
  std::string headline;  // at most 999 bytes, no blanks
  std::string link;      // as written, relative links stay relative; at most 499 bytes
};

// Lists the links of the page file's bytes: words joined (all white space
// removed), converted, comments removed, every anchor with at least 9 bytes
// of inner text. Top row first, which is the last link of the page.
std::vector<ListedLink> listPageLinks(std::string_view fileBytes);

// The wizard's check: a row matches when its link holds every entry of the
// extraction strings.
bool linkMatches(std::string_view link, std::string_view extract);

}  // namespace ls
