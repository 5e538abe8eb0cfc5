#include "logs/log_switcher.h"

#include <new>

#include "common/file_io.h"
#include "common/text.h"
#include "engine/answer_kind.h"
#include "engine/file_failure.h"
#include "engine/news_entry.h"
#include "engine/site_log.h"
#include "engine/new_list.h"
#include "settings/settings_file.h"
#include "sites/site_file.h"

namespace ls {

namespace {

struct Pair {
  std::string headline, url;
};

// A headline without its URL line (an odd number of lines) gets an empty URL.
bool readPairs(const std::string& path, std::vector<Pair>& pairs) {
  if (!isPlainFile(path)) return false;
  FilePtr f = openFile(path, "rb");
  if (!f) return false;
  Pair p;
  while (readLine(f.get(), p.headline, kLogHeadlineLimit)) {
    if (!readLine(f.get(), p.url, kLogUrlLimit)) p.url.clear();
    pairs.push_back(std::move(p));
  }
  return true;
}

// False when the news list could not be saved: it stays shown, so that no
// news is lost by reading the file back.
bool leaveShownLog(const EngineContext& ctx, const ShownLog& shown) {
  if (shown.isSiteLog()) writeBackShownLog(ctx, shown);
  if (shown.isNewList() && !saveNewList(ctx)) {
    ctx.ui->setStatus(1, cannotWriteText(ctx, newListPath(ctx)));
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::vector<std::string>> buildLogList(const EngineContext& ctx) {
  SiteList list = readAllSites(ctx.appDir + kSiteFileName, kLogSwitcherLimits);
  if (list.status == SiteFileStatus::kCannotOpen) return std::nullopt;
  std::vector<std::string> rows{kNewListName};
  for (const Site& site : list.sites) {
    if (!isPlainFile(siteLogPaths(ctx, site.name).all)) continue;
    // A site that bears the news list's name is listed by its log name,
    // which leads to the same files, so the news list is listed once.
    rows.push_back(site.name == kNewListName ? logNameForm(site.name) : site.name);
  }
  return rows;
}

ShowResult showLog(const EngineContext& ctx, ShownLog& shown, const std::vector<std::string>& rows, int row,
                   bool cycleIdle) {
  // The cycle adds to the list and saves it as the new-list at its end.
  if (!cycleIdle || !leaveShownLog(ctx, shown)) return ShowResult::kRefused;
  if (row < 0 || row >= static_cast<int>(rows.size())) {
    shown.showNothing();
    return ShowResult::kNothing;
  }
  NewsList& list = *ctx.news;
  list.clear();
  if (row == 0) {
    loadNewList(ctx);
    shown.showNewList();
    return ShowResult::kNewList;
  }
  const std::string& name = rows[row];
  const std::string file = siteLogPaths(ctx, name).all;
  std::vector<Pair> pairs;
  try {
    if (!readPairs(file, pairs)) {
      // Nothing was read, so nothing may be written back over the file.
      shown.showNothing();
      ctx.ui->message(kMsgLogReadFailed);
      return ShowResult::kReadFailed;
    }
    shown.showNothing();
    shown.kind = ShownLog::kSiteLog;
    shown.siteName = name;
    shown.siteLogFile = file;
    // Only the newest `LIST` pairs fit in the view; the older ones are kept
    // aside so that looking at a log never shortens it.
    int limit = readListLength(ctx.settingsPath);
    std::size_t keep = limit > 0 ? static_cast<std::size_t>(limit) : 0;
    std::size_t first = pairs.size() > keep ? pairs.size() - keep : 0;
    for (std::size_t i = 0; i < first; ++i) appendLogEntry(shown.hiddenPairs, pairs[i].headline, pairs[i].url);
    NewsBatch batch(ctx);
    for (std::size_t i = first; i < pairs.size(); ++i) batch.add(pairs[i].headline, pairs[i].url, name, kIconNone);
  } catch (const std::bad_alloc&) {
    // Shown as out of memory by the window procedure; the program goes on.
    shown.showNothing();
    throw;
  }
  return ShowResult::kSiteLog;
}

void writeBackShownLog(const EngineContext& ctx, const ShownLog& shown) {
  if (!shown.isSiteLog()) return;
  NewsList& list = *ctx.news;
  std::string out;
  try {
    out = shown.hiddenPairs;
    for (int row = list.count() - 1; row >= 0; --row) appendLogEntry(out, list.text(row, 0), list.text(row, 2));
  } catch (const std::bad_alloc&) {
    ctx.ui->setStatus(1, kMsgOutOfMemory);  // the file stays as it was
    return;
  }
  if (!rewriteFile(shown.siteLogFile, out)) ctx.ui->setStatus(1, cannotWriteText(ctx, shown.siteLogFile));
}

DeleteResult deleteLog(const EngineContext& ctx, ShownLog& shown, const std::vector<std::string>& rows, int row) {
  if (row == 0) {
    ctx.ui->message(kMsgNewListUndeletable);
    return DeleteResult::kNewListRefused;
  }
  if (row < 0 || row >= static_cast<int>(rows.size())) return DeleteResult::kNothing;
  SiteLogPaths p = siteLogPaths(ctx, rows[row]);
  removeFile(p.current);
  removeFile(p.previous);
  removeFile(p.all);
  removeFile(answerKindPath(ctx, rows[row]));
  // Its rows stay in the news list, but its files stay deleted.
  if (shown.isSiteLog() && shown.siteLogFile == p.all) shown.showNothing();
  return DeleteResult::kDeleted;
}

}  // namespace ls
