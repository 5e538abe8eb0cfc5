// What the fetcher keeps about each site between checks and across restarts:
// the validators of its last good answer, and how long it asked to be left
// alone. One file beside the logs, "LOG\site_state.txt", rewritten by temp
// and rename; a site is known by its URL and extraction strings, so a site
// whose URL or extraction strings changed starts afresh. A damaged or lost
// file costs one unconditional request per site, nothing more.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "net/validators.h"
#include "sites/site_file.h"

namespace ls {

inline constexpr const char* kSiteStateFileName = "site_state.txt";

struct SiteState {
  Validators validators;
  std::int64_t waitUntil = 0;  // seconds since 1970 UTC; not asked before then
  std::int64_t lastWait = 0;   // seconds of the last back-off, for the doubling
  bool empty() const { return validators.empty() && waitUntil == 0 && lastWait == 0; }
};

// The file's text for these states and the states of a file's text; a
// record that does not read back whole is left out.
using SiteStates = std::map<std::pair<std::string, std::string>, SiteState>;
std::string siteStateText(const SiteStates& states);
SiteStates parseSiteStates(std::string_view text);

class SiteStateStore {
 public:
  explicit SiteStateStore(std::string path) : path_(std::move(path)) {}

  SiteState get(const Site& site);
  void put(const Site& site, const SiteState& state);
  // Writes the file when something changed, keeping only the sites of
  // `sites`. False when it could not be written (tried again next time).
  bool save(const std::vector<Site>& sites);

 private:
  void load();

  std::string path_;
  bool loaded_ = false;
  bool dirty_ = false;
  SiteStates states_;
};

}  // namespace ls
