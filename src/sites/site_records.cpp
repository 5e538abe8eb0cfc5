#include "sites/site_records.h"

namespace ls {

bool SiteRecords::load(const std::string& path) {
  if (file_.refresh(path)) sites_ = parseSites(file_.bytes(), kCheckLimits);
  if (!file_.readable()) sites_.clear();
  return file_.readable();
}

SiteLookup SiteRecords::record(const std::string& path, int k) {
  SiteLookup result;
  if (!load(path)) {
    result.status = SiteFileStatus::kCannotOpen;
  } else if (k >= 1 && static_cast<std::size_t>(k) <= sites_.size()) {
    result.site = sites_[static_cast<std::size_t>(k) - 1];
  }
  return result;
}

RecordAfter SiteRecords::recordAfter(const std::string& path, int k) {
  RecordAfter result;
  if (!load(path)) {
    result.status = SiteFileStatus::kCannotOpen;
  } else {
    // A record starts with any byte left after the ones before it.
    result.exists = static_cast<std::size_t>(k < 0 ? 0 : k) < sites_.size();
  }
  return result;
}

}  // namespace ls
