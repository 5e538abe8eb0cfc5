#include "engine/polite_check.h"

#include <ctime>

#include "common/file_io.h"
#include "engine/site_log.h"
#include "net/retry_after.h"

namespace ls {

std::string msgWaitUntil(std::int64_t until) {
  std::time_t t = static_cast<std::time_t>(until);
  char text[32] = "--/-- --:--";
  if (const std::tm* local = std::localtime(&t)) std::strftime(text, sizeof text, "%m/%d %H:%M", local);
  return std::string(text) + "まで確認を控えます。";
}

PoliteCheck::PoliteCheck(const EngineContext& ctx) : ctx_(ctx), store_(ctx.logDir() + kSiteStateFileName) {}

bool PoliteCheck::waiting(const Site& site, std::int64_t now, std::string& note) {
  SiteState s = store_.get(site);
  if (s.waitUntil <= now) return false;
  note = msgWaitUntil(s.waitUntil);
  return true;
}

Validators PoliteCheck::validatorsFor(const Site& site) {
  if (!isPlainFile(siteLogPaths(ctx_, site.name).current)) return {};
  return store_.get(site).validators;
}

bool PoliteCheck::answered(const Site& site, const FetchedPage& page) {
  SiteState s = store_.get(site);
  bool logsBack = true;
  if (page.notModified) {
    SiteLogPaths logs = siteLogPaths(ctx_, site.name);
    if (std::optional<std::string> last = readWholeFile(logs.previous)) logsBack = rewriteFile(logs.current, *last);
    if (!page.validators.etag.empty()) s.validators.etag = page.validators.etag;
    if (!page.validators.lastModified.empty()) s.validators.lastModified = page.validators.lastModified;
  } else {
    s.validators = page.validators;
  }
  s.waitUntil = 0;
  s.lastWait = 0;
  store_.put(site, s);
  return logsBack;
}

std::string PoliteCheck::failed(const Site& site, const FetchedPage& page, std::int64_t now,
                                std::int64_t intervalSeconds) {
  if (page.status != 429 && page.status != 503) return "";
  SiteState s = store_.get(site);
  std::int64_t wait = backOffSeconds(page.retryAfter, now, s.lastWait, intervalSeconds);
  s.lastWait = wait;
  s.waitUntil = now + wait;
  store_.put(site, s);
  return msgWaitUntil(s.waitUntil);
}

bool PoliteCheck::save(const std::string& siteFilePath) {
  SiteList list = readAllSites(siteFilePath, kCheckLimits);
  // Without the site list nothing can be told removed: kept for next time.
  if (list.status != SiteFileStatus::kOk) return true;
  return store_.save(list.sites);
}

}  // namespace ls
