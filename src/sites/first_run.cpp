#include "sites/first_run.h"

#include <string>

#include "common/file_io.h"
#include "common/paths.h"
#include "sites/default_sites.h"
#include "sites/site_file.h"

namespace ls {

namespace {

void makeDirectoryIfMissing(const std::string& path) {
  if (!isDirectory(path)) makeDirectory(path);
}

}  // namespace

SiteFileSetUp prepareApplicationDirectory(std::string_view appDir) {
  makeDirectoryIfMissing(joinPath(appDir, "TEMPORARY"));
  makeDirectoryIfMissing(joinPath(appDir, "LOG"));
  std::string siteFile = joinPath(appDir, kSiteFileName);
  if (isPlainFile(siteFile)) return SiteFileSetUp::kPresent;
  return writeDefaultSiteFile(siteFile) ? SiteFileSetUp::kWritten : SiteFileSetUp::kCannotCreate;
}

}  // namespace ls
