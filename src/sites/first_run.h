// Preparing the application directory when a window is created at start-up:
// the working directories and, on the first run, the default site file.
#pragma once

#include <string_view>

namespace ls {

enum class SiteFileSetUp {
  kPresent,       // a plain file "site.ck" was there and was left alone
  kWritten,       // there was none; the default site file was written
  kCannotCreate,  // there was none and it could not be written
};

// Makes appDir + "TEMPORARY" and appDir + "LOG" unless they are directories
// (a failure here is not reported: the fetch or the log write that needs the
// directory fails later on its own), then writes the default site file when
// appDir + "site.ck" is not a plain file. A directory of that name counts as
// missing and makes the write fail. appDir ends in a separator.
SiteFileSetUp prepareApplicationDirectory(std::string_view appDir);

// Whether start-up can go on: with kCannotCreate the shell tells the user
// and ends the program.
inline bool siteFileReady(SiteFileSetUp result) { return result != SiteFileSetUp::kCannotCreate; }

}  // namespace ls
