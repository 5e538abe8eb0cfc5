#include "engine/site_log.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "common/file_io.h"
#include "common/log_name.h"
#include "common/text.h"
#include "engine/file_failure.h"
#include "engine/news_entry.h"

namespace ls {

namespace {


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
  return !std::ferror(f.get());
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

bool rotateSiteLog(const EngineContext& ctx, std::string_view siteName) {
  SiteLogPaths p = siteLogPaths(ctx, siteName);
  // Without a site log (the last check failed or took no link) the previous
  // one stays, so the next good page is compared with the last check that
  // took links instead of reporting every old headline as new.
  if (!isPlainFile(p.current)) return true;
  removeFile(p.previous);
  return renameFile(p.current, p.previous) || !isPlainFile(p.current);
}

bool appendToSiteLog(const EngineContext& ctx, std::string_view siteName, const std::vector<LinkItem>& links) {
  if (links.empty()) return true;
  std::string bytes;
  for (const LinkItem& link : links) appendLogEntry(bytes, link.headline, link.url);
  return appendToFile(siteLogPaths(ctx, siteName).current, bytes);
}

int detectNewLinks(const EngineContext& ctx, std::string_view siteName, int result, NewsTally* tally,
                   std::string* failure) {
  SiteLogPaths p = siteLogPaths(ctx, siteName);
  auto fail = [&](const std::string& path) {
    if (failure) *failure = cannotReadText(ctx, path);
    return kStepFailed;
  };
  std::vector<Entry> current;
  if (!readEntries(p.current, current)) return isPlainFile(p.current) ? fail(p.current) : kNoLinks;
  std::vector<Entry> previousEntries;
  // A missing file: everything is new. One that cannot be read would make
  // every old headline new.
  if (!readEntries(p.previous, previousEntries) && entryExists(p.previous)) return fail(p.previous);
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
  // The rows stay in the list; the failure is told once, not per row.
  if (added > 0 && !appendToFile(p.all, bytes) && failure) *failure = cannotWriteText(ctx, p.all);
  return result;
}

}  // namespace ls
