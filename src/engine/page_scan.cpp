#include "engine/page_scan.h"

#include <new>

#include "common/file_io.h"
#include "engine/answer_kind.h"
#include "engine/feed_page.h"
#include "engine/file_failure.h"
#include "engine/page_text.h"
#include "engine/site_log.h"
#include "settings/settings_file.h"

namespace ls {

namespace {
constexpr const char* kMsgScanning = "新着ニュース確認中";
}  // namespace

HeadlineFilters readHeadlineFilters(const EngineContext& ctx) {
  HeadlineFilters f;
  f.deleteList = readWordList(ctx.settingsPath, kDELETE);
  f.disregardList = readWordList(ctx.settingsPath, kDISREGARD);
  return f;
}

std::vector<LinkItem> pageLinks(std::string& fileBytes, std::string_view siteUrl, std::string_view extract,
                                const HeadlineFilters& filters, bool* isFeed) {
  std::optional<std::vector<LinkItem>> items = readFeed(fileBytes, siteUrl);
  if (isFeed) *isFeed = items.has_value();
  if (items) {
    filterFeedItems(*items, extract, filters);
    return std::move(*items);
  }
  scanTextInPlace(fileBytes);
  return extractLinks(fileBytes, siteUrl, extract, filters);
}

int scanPage(const EngineContext& ctx, const std::string& siteName, const std::string& extract,
             const std::string& siteUrl, NewsTally* tally, std::string* failure, std::string_view address,
             std::string_view pagePath) {
  if (address.empty()) address = siteUrl;
  ctx.ui->setStatus(1, kMsgScanning);
  std::string ignored;
  std::string& failed = failure ? *failure : ignored;
  std::vector<LinkItem> links;
  bool isFeed = false;
  try {
    // A page file that vanished (the temporary directory removed while the
    // program ran) is an empty page: detection then shows its warning.
    const std::string path = pagePath.empty() ? ctx.pageFile() : std::string(pagePath);
    std::string text;
    if (isPlainFile(path)) {
      std::optional<std::string> bytes = readWholeFile(path);
      if (!bytes) {
        failed = cannotReadText(ctx, path);
        return kStepFailed;
      }
      // The page's own buffer becomes the text, so the page is held once.
      text = std::move(*bytes);
    }
    links = pageLinks(text, siteUrl, extract, readHeadlineFilters(ctx), &isFeed);
  } catch (const std::bad_alloc&) {
    failed = kMsgStepOutOfMemory;
    return kStepFailed;
  }
  // A feed that answered with a page (or the reverse) brings nothing.
  const AnswerKind kind = isFeed ? AnswerKind::kFeed : AnswerKind::kPage;
  if (std::optional<std::string> changed = answerKindChange(ctx, siteName, address, kind)) {
    failed = std::move(*changed);
    return kStepFailed;
  }
  // Links that did not reach the site log would be compared with nothing.
  // A part written before the disk filled goes too, so the next check is
  // compared with the last whole one.
  if (!appendToSiteLog(ctx, siteName, links)) {
    const std::string current = siteLogPaths(ctx, siteName).current;
    removeFile(current);
    failed = cannotWriteText(ctx, current);
    return kStepFailed;
  }
  if (!links.empty()) rememberAnswerKind(ctx, siteName, address, kind);
  return detectNewLinks(ctx, siteName, kNoNews, tally, &failed);
}

}  // namespace ls
