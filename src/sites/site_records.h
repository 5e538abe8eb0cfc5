// The site file as the check cycle walks it: record k at each step, with
// every edit made between two steps seen at the next one. The records are
// parsed again only when the file changed, so a cycle over n sites reads the
// file once instead of n times from its start.
#pragma once

#include <string>
#include <vector>

#include "common/file_snapshot.h"
#include "sites/site_file.h"

namespace ls {

class SiteRecords {
 public:
  // Record k (counting from 1) with the check-cycle limits, as
  // readSiteRecord reads it from the file as it is now.
  SiteLookup record(const std::string& path, int k);
  // Whether one more line follows records 1 to k, as hasRecordAfter.
  RecordAfter recordAfter(const std::string& path, int k);

 private:
  bool load(const std::string& path);

  FileSnapshot file_;
  std::vector<Site> sites_;
};

}  // namespace ls
