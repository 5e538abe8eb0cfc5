// Which log the news list shows: the new-list, or one site's all-links log,
// remembered by its file name so a write-back always reaches the log that
// is really shown.
#pragma once

#include <string>

namespace ls {

struct ShownLog {
  std::string siteLogFile;  // empty while the new-list is shown

  bool isNewList() const { return siteLogFile.empty(); }
  void showNewList() { siteLogFile.clear(); }
};

}  // namespace ls
