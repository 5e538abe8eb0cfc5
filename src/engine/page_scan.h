// The page scan: the page file of one fetched site becomes links in the
// site log, and new ones reach the news list.
#pragma once

#include <string>
#include <string_view>

#include "engine/engine_context.h"
#include "engine/link_extract.h"
#include "engine/news_notice.h"

namespace ls {

// Reads `DELETE` and `DISREGARD` from the settings file.
HeadlineFilters readHeadlineFilters(const EngineContext& ctx);

// The links the check takes from the page file's bytes: a feed's items
// (feed_page.h), or the page's links, scanned in the bytes' own buffer.
// `isFeed`, when given, tells which.
std::vector<LinkItem> pageLinks(std::string& fileBytes, std::string_view siteUrl, std::string_view extract,
                                const HeadlineFilters& filters, bool* isFeed = nullptr);

// Scans the page file for the site: status text, join, conversion, comment
// removal, link extraction, appending to the site log, then detection.
// Returns kNews when a new link was found, kNoLinks when the page gave no
// link, kStepFailed when a file could not be read or written (or the page
// was too large for memory), else kNoNews. The new rows are counted in
// `tally` when there is one. `failure`, when given, gets the status text of
// a failed step, also beside kNews when only the all-links log failed.
// `address` is the site's address in the site file (`siteUrl` is the one
// that answered, after redirects); empty means `siteUrl`. `pagePath`, when
// not empty, is read instead of the page file.
int scanPage(const EngineContext& ctx, const std::string& siteName, const std::string& extract,
             const std::string& siteUrl, NewsTally* tally = nullptr, std::string* failure = nullptr,
             std::string_view address = {}, std::string_view pagePath = {});

}  // namespace ls
