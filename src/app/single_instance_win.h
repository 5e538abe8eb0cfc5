// One program per application directory. The first start in a folder owns
// a named section that holds its process id; a second start in the same
// folder finds it, brings that program's window to the front (out of the
// tray too) and ends before it touches any file. A program in another
// folder has another name and runs on its own.
#pragma once

#include <windows.h>

#include <string>

namespace ls {

class SingleInstance {
 public:
  // Claims the folder of the running executable.
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Another program runs in this folder; it has been asked to show itself.
  bool handedOver() const { return handedOver_; }

 private:
  void showRunning(DWORD pid);

  HANDLE section_ = nullptr;
  bool handedOver_ = false;
};

// The main window (class "wndmain") of a process, or null while it has none.
HWND mainWindowOf(DWORD pid);

// The section's name for an application directory: the same for every
// spelling Windows takes as the same folder (letter case), another for any
// other folder.
std::wstring instanceName(const std::wstring& directory);

}  // namespace ls
