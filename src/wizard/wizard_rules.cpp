#include "wizard/wizard_rules.h"

#include "common/text.h"
#include "engine/check_cycle.h"
#include "net/fetch_texts.h"
#include "sites/site_edit.h"

namespace ls {

namespace {
constexpr std::size_t kSuggestBytes = 498;
}  // namespace

bool wizardFetch(Fetcher& fetcher, FetchListener& wizard, UserInterface& ui, const std::string& url) {
  if (url.empty()) return false;
  ui.setStatus(0, url);
  if (fetcher.inFlight()) {
    fetcher.close();
    ui.setStatus(0, "");
    ui.setStatus(1, "");
    return true;
  }
  FetchBegin begun = fetcher.begin(url, wizard);
  if (begun.state == FetchStart::kRefused) ui.setStatus(1, kMsgBadUrl);
  return true;
}

Suggestion suggestExtract(std::size_t rowCount, const std::vector<std::string>& tickedLinks) {
  if (rowCount == 0) return {Suggestion::kNoRows, ""};
  if (tickedLinks.empty()) return {Suggestion::kClear, ""};
  if (tickedLinks.size() > 1) return {Suggestion::kLearn, ""};
  return {Suggestion::kSet, std::string(cutToBytes(tickedLinks[0], kSuggestBytes))};
}

std::optional<Site> wizardSite(const std::string& name, const std::string& url, const std::string& extract) {
  return siteFromFields(name, url, extract);
}

}  // namespace ls
