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

// The rows one page (or one shown log) brings to the news list. The
// settings they need are read once, when the batch begins; the list is
// repainted once, when it ends, so a page's rows appear together before the
// next site is fetched.
class NewsBatch {
 public:
  explicit NewsBatch(const EngineContext& ctx);
  ~NewsBatch() { finish(); }
  NewsBatch(const NewsBatch&) = delete;
  NewsBatch& operator=(const NewsBatch&) = delete;

  // Puts a row at the top of the news list: the icon is 2 when the headline
  // holds a `KEYWORD` entry, else `icon`; column 1 the site name; column 2
  // the cleaned URL, which `url` holds afterwards. Then trims the list.
  void add(const std::string& headline, std::string& url, const std::string& siteName, int icon);
  // Repaints the list once if a row was added; the destructor calls it.
  void finish();

 private:
  const EngineContext& ctx_;
  std::string keywords_, disregardUrls_;
  int listLength_;
  bool added_ = false;
};

// One row as a batch of its own: added, trimmed and repainted.
void addNewsEntry(const EngineContext& ctx, const std::string& headline, std::string& url,
                  const std::string& siteName, int icon);

// Deletes bottom rows while the list holds more than `LIST` rows.
void trimNewsList(const EngineContext& ctx);
void trimNewsList(NewsList& list, int limit);

// At start-up and at every cycle start: entries new and not opened (icon 0)
// become old (icon 4); every other icon stays.
void ageNewsList(NewsList& list);

// The icon of an entry once it has been opened: 0 and 4 become 1, 2 becomes
// 3; 1, 3 and rows of a site log (5) stay.
int openedIcon(int icon);

}  // namespace ls
