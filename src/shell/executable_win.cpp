#include "shell/executable_win.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "settings/settings_file.h"
#include "win/wide_win.h"

namespace ls {

std::wstring executablePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) return std::wstring(path.data(), n);
    path.resize(path.size() * 2);
  }
}

std::string executableDirectory() {
  std::wstring path = executablePath();
  if (path.empty()) return std::string();
  std::optional<AppPaths> paths = computeAppPaths(pathFromWide(path));
  return paths ? paths->directory : std::string();
}

}  // namespace ls
