// A slow, literal page scan: every search restarts where the written
// algorithm restarts it. The tests compare the fast scan with it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/link_extract.h"
#include "wizard/link_listing.h"

namespace ls::literal {

void removeComments(std::string& text);
void removeAll(std::string& text, std::string_view part);
std::vector<LinkItem> extractLinks(std::string text, std::string_view siteUrl, std::string_view extract,
                                   const HeadlineFilters& filters);
std::vector<ListedLink> listLinks(std::string text);

}  // namespace ls::literal
