// The three log files of a site in LOG\: the site log (links of the latest
// check), the previous site log (links of the check before) and the
// all-links log (every link ever found new). Each entry is two lines,
// headline then URL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_context.h"
#include "engine/link_extract.h"
#include "engine/news_notice.h"

namespace ls {

// Line lengths that every reader takes whole; longer texts are cut when written.
inline constexpr std::size_t kLogHeadlineLimit = 998;
inline constexpr std::size_t kLogUrlLimit = 498;

struct SiteLogPaths {
  std::string current;   // log name form + ".log"
  std::string previous;  // + ".log.old"
  std::string all;       // + ".all.log"
};
SiteLogPaths siteLogPaths(const EngineContext& ctx, std::string_view siteName);

// One entry as it stands in a log file: headline line, URL line, CR LF each.
void appendLogEntry(std::string& out, std::string_view headline, std::string_view url);

// Before a site is fetched: the previous site log goes, the site log takes
// its name. Without a site log the previous one is kept. False when the
// site log stays where it was (held open by another program): the site's
// check must not go on, or its old links would be compared with nothing.
bool rotateSiteLog(const EngineContext& ctx, std::string_view siteName);

// Appends the scan's links to the site log (created when missing). False
// when it cannot be written. Nothing is written, and no file created, for
// an empty list.
bool appendToSiteLog(const EngineContext& ctx, std::string_view siteName, const std::vector<LinkItem>& links);

// What a site's check found.
enum ScanResult : int {
  kNoNews = 0,
  kNews = 1,     // at least one new link
  kNoLinks = 2,  // the page gave no link: the site has changed or the settings are wrong
  kStepFailed = 3,  // a file could not be read or written: nothing new, the failure told
};

// The detection warning, kept in the status bar for the cycle's end; it
// never stops the cycle.
inline constexpr const char* kMsgDetectFailed =
    "ニュース取得に失敗しています。設定を確認してください。もしくはサイトが移転している可能性があります。";

// Compares every entry of the site log with the previous site log: a
// headline is already seen when some previous headline line contains it.
// Each new one goes to the top of the news list and, with its cleaned URL, to
// the all-links log. Returns kNews when something was new, kNoLinks without
// a site log, else `result`. Each new row is counted in `tally` when there is one.
// A log that exists but cannot be read gives kStepFailed; an all-links log
// that cannot be written keeps the new rows in the list. Either way
// `failure` (when given) gets the status text naming the file.
int detectNewLinks(const EngineContext& ctx, std::string_view siteName, int result, NewsTally* tally = nullptr,
                   std::string* failure = nullptr);

}  // namespace ls
