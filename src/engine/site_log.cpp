#include "engine/site_log.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "common/file_io.h"
#include "common/log_name.h"
#include "common/text.h"
#include "engine/news_entry.h"

namespace ls {

namespace {

constexpr const char* kMsgLogSaveFailed = "ログの保存に失敗しました。";
constexpr const char* kMsgCannotOpenLog = "ファイルが開けません";

struct Entry {
  std::string headline, url;
};

// Reads the entries of a log file. A file that ends after a headline line
// still counts that headline with an empty URL.
bool readEntries(std::string_view path, std::vector<Entry>& entries) {
  FilePtr f = openFile(path, "rb");
  if (!f) return false;
  Entry e;
  while (readLine(f.get(), e.headline, kLogHeadlineLimit)) {
    if (!readLine(f.get(), e.url, kLogUrlLimit)) e.url.clear();
    entries.push_back(std::move(e));
  }
  return true;
}

// The headlines of the previous site log, for "does some old headline
// contain this one" in one search over all of them.
class PreviousHeadlines {
 public:
  explicit PreviousHeadlines(const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
      joined_ += e.headline;
      joined_ += '\n';  // no headline holds a line break, so no match spans two
      exact_.insert(e.headline);
    }
    count_ = entries.size();
  }

  bool contains(const std::string& headline) const {
    if (count_ == 0) return false;
    if (headline.empty() || exact_.count(headline)) return true;
    std::boyer_moore_horspool_searcher search(headline.begin(), headline.end());
    return std::search(joined_.begin(), joined_.end(), search) != joined_.end();
  }

 private:
  std::string joined_;
  std::unordered_set<std::string> exact_;
  std::size_t count_ = 0;
};

}  // namespace

SiteLogPaths siteLogPaths(const EngineContext& ctx, std::string_view siteName) {
  std::string stem = ctx.logDir() + logNameForm(siteName);
  return {stem + ".log", stem + ".log.old", stem + ".all.log"};
}

void appendLogEntry(std::string& out, std::string_view headline, std::string_view url) {
  appendLine(out, cutToBytes(headline, kLogHeadlineLimit));
  appendLine(out, cutToBytes(url, kLogUrlLimit));
}

void rotateSiteLog(const EngineContext& ctx, std::string_view siteName) {
  SiteLogPaths p = siteLogPaths(ctx, siteName);
  // Without a site log (the last check failed or took no link) the previous
  // one stays, so the next good page is compared with the last check that
  // took links instead of reporting every old headline as new.
  if (!isPlainFile(p.current)) return;
  removeFile(p.previous);
  renameFile(p.current, p.previous);
}

void appendToSiteLog(const EngineContext& ctx, std::string_view siteName, const std::vector<LinkItem>& links) {
  if (links.empty()) return;
  std::string bytes;
  for (const LinkItem& link : links) appendLogEntry(bytes, link.headline, link.url);
  if (!appendToFile(siteLogPaths(ctx, siteName).current, bytes)) ctx.ui->fatal(kMsgCannotOpenLog);
}

int detectNewLinks(const EngineContext& ctx, std::string_view siteName, int result, NewsTally* tally) {
  SiteLogPaths p = siteLogPaths(ctx, siteName);
  std::vector<Entry> current;
  if (!readEntries(p.current, current)) return kNoLinks;
  std::vector<Entry> previousEntries;
  readEntries(p.previous, previousEntries);  // a missing file: everything is new
  PreviousHeadlines previous(previousEntries);
  previousEntries.clear();

  const std::string name(siteName);
  // The page's new rows reach the list and the all-links log together: one
  // repaint and one append for the page, not one per row.
  NewsBatch batch(ctx);
  std::string bytes;
  int added = 0;
  for (Entry& e : current) {
    if (previous.contains(e.headline)) continue;
    if (tally) tally->add(e.headline, name);
    batch.add(e.headline, e.url, name, kIconNew);
    appendLogEntry(bytes, e.headline, e.url);
    ++added;
    result = kNews;
  }
  batch.finish();
  // Each entry that could not be saved is told, as when they were saved one by one.
  if (added > 0 && !appendToFile(p.all, bytes)) {
    for (int i = 0; i < added; ++i) ctx.ui->message(kMsgLogSaveFailed);
  }
  return result;
}

}  // namespace ls
