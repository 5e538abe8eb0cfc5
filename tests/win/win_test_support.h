// Shared pieces of the Windows tests: a fresh directory, the message pump
// that lets asynchronous work run, and file helpers.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lstest {

// A directory of its own under the temporary directory, removed at the end.
// path() is a Shift_JIS path ending in a backslash.
class WinTempDir {
 public:
  WinTempDir();
  ~WinTempDir();
  WinTempDir(const WinTempDir&) = delete;
  WinTempDir& operator=(const WinTempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + name; }

 private:
  std::wstring wide_;
  std::string path_;
};

// Dispatches messages until `done` holds or `timeoutMs` has passed; returns
// whether `done` held.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches whatever arrives during `ms`.
void pumpFor(DWORD ms);

// Whether the shell knows the program's notification-area icon: modifying
// it works only then.
bool trayIconExists(HWND main);

// The file's bytes, or "<missing>" when it cannot be read.
std::string fileBytes(const std::string& sjisPath);
void putFile(const std::string& sjisPath, const std::string& bytes);

}  // namespace lstest
