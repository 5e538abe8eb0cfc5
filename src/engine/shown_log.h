// Which log the news list shows: the new-list, one site's all-links log, or
// none (the user clicked the log switcher's list without choosing a row).
// A site log is remembered by its file, not by its row in the switcher, so
// a write-back always reaches the log that is really shown.
#pragma once

#include <string>

namespace ls {

struct ShownLog {
  enum Kind { kNewList, kSiteLog, kNone };
  Kind kind = kNewList;
  std::string siteName;     // kSiteLog: the name as the site file holds it
  std::string siteLogFile;  // kSiteLog: the all-links log shown
  // kSiteLog: the oldest pairs of the file, beyond the newest `LIST` that
  // the view holds, as they stand in the file; the write-back keeps them.
  std::string hiddenPairs;

  bool isNewList() const { return kind == kNewList; }
  bool isSiteLog() const { return kind == kSiteLog; }
  void showNewList() { set(kNewList); }
  void showNothing() { set(kNone); }

 private:
  void set(Kind k) {
    kind = k;
    siteName.clear();
    siteLogFile.clear();
    hiddenPairs.clear();
  }
};

}  // namespace ls
