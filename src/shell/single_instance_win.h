// One program per application directory. The first start in a folder holds
// the hidden file "LINKSCOUT.lock" there open for writing, its process id
// inside; a second start in the same folder cannot open it so, reads the id,
// brings that program's window to the front (out of the tray too) and ends
// before it touches any other file. Being one file, the lock knows the
// folder by its identity, not its spelling: a start through the 8.3 short
// name, a subst drive, a junction or a network path finds the program
// already running there. The file goes when its program ends, also when it
// crashes. In a folder that takes no file the first start owns a named
// section keyed by the folder's final path instead. A program in another
// folder runs on its own.
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
  // True when the lock file decided: held, or another program holds it.
  bool claimLockFile(const std::wstring& directory);

  HANDLE lock_ = nullptr;
  HANDLE section_ = nullptr;
  bool handedOver_ = false;
};

inline constexpr const wchar_t* kLockFileName = L"LINKSCOUT.lock";

// The main window (class "wndmain") of a process, or null while it has none.
HWND mainWindowOf(DWORD pid);

// The section's name for an application directory: the same for every
// spelling Windows takes as the same folder (letter case), another for any
// other folder.
std::wstring instanceName(const std::wstring& directory);

// The folder's final path as the file system resolves it (short names,
// subst drives, junctions and links followed; the "\\?\" prefix dropped),
// ending in a backslash; failing that its long name; failing that as given.
std::wstring canonicalDirectory(const std::wstring& directory);

}  // namespace ls
