// Rows entering the news list: keyword icon, URL cleaning, trimming.
#pragma once

#include <string>
#include <string_view>

#include "engine/engine_context.h"

namespace ls {

// Cleans a link URL for the list and the all-links log: the first occurrence
// of each `DISREGARDURL` entry goes, in list order; a URL that holds the
// home-page address becomes that address alone.
void cleanUrl(std::string& url, std::string_view disregardUrlList);

// Puts a row at the top of the news list: the icon is 2 when the headline
// holds a `KEYWORD` entry, else `icon`; column 1 the site name; column 2 the
// cleaned URL, which `url` holds afterwards. Then trims the list and repaints
// it. The settings are read anew at every call.
void addNewsEntry(const EngineContext& ctx, const std::string& headline, std::string& url,
                  const std::string& siteName, int icon);

// Deletes bottom rows while the list holds more than `LIST` rows.
void trimNewsList(const EngineContext& ctx);

// At start-up and at every cycle start: entries new and not opened (icon 0)
// become old (icon 4); every other icon stays.
void ageNewsList(NewsList& list);

// The icon of an entry once it has been opened: 0 and 4 become 1, 2 becomes
// 3; 1, 3 and rows of a site log (5) stay.
int openedIcon(int icon);

}  // namespace ls
