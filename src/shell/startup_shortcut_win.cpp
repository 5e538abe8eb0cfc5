#include "shell/startup_shortcut_win.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "win/handles_win.h"

namespace ls {

namespace {

bool createLink(ComPtr<IShellLinkW>& link) {
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(link.out())));
}

}  // namespace

std::wstring startupShortcutPath() {
  PWSTR folder = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &folder))) return std::wstring();
  std::wstring path = std::wstring(folder) + L"\\" + kStartupShortcutName;
  CoTaskMemFree(folder);
  return path;
}

bool startsWithWindows(const std::wstring& exePath) {
  std::wstring path = startupShortcutPath();
  if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  ComScope com;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (!createLink(link) ||
      FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))) ||
      FAILED(file->Load(path.c_str(), STGM_READ)))
    return false;
  wchar_t target[MAX_PATH * 4] = {};
  if (FAILED(link->GetPath(target, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) return false;
  return CompareStringOrdinal(target, -1, exePath.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool setStartsWithWindows(const std::wstring& exePath, bool on) {
  std::wstring path = startupShortcutPath();
  if (path.empty()) return false;
  if (!on) return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  ComScope com;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  std::wstring folder = exePath.substr(0, exePath.find_last_of(L'\\') + 1);
  return createLink(link) && SUCCEEDED(link->SetPath(exePath.c_str())) &&
         SUCCEEDED(link->SetWorkingDirectory(folder.c_str())) &&
         SUCCEEDED(link->SetShowCmd(SW_SHOWMINNOACTIVE)) &&
         SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))) &&
         SUCCEEDED(file->Save(path.c_str(), TRUE));
}

}  // namespace ls
