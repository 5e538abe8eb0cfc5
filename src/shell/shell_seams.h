// Where the tests stand in for the desktop: what would be handed to the
// browser, and the file the site list's import or export would choose.
// Empty in the program, which then asks the desktop itself.
#pragma once

#include <functional>
#include <string>

namespace ls {

struct ShellSeams {
  std::function<void(const std::string& url)> openUrl;
  // `save`: the export. True when a file was chosen into `path`.
  std::function<bool(bool save, std::wstring& path)> chooseSitesFile;
};

}  // namespace ls
