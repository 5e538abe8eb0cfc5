#include "shell/single_instance_win.h"

#include <cstdint>

#include "shell/executable_win.h"
#include "shell/resources/resource_ids.h"
#include "win/find_window_win.h"

namespace ls {

namespace {

// How long a second start waits for the first one's window, which may still
// be on its way up.
constexpr DWORD kWaitForWindowMs = 5000;

}  // namespace

HWND mainWindowOf(DWORD pid) {
  return findTopLevelWindow([pid](HWND w) { return windowProcess(w) == pid && windowClassName(w) == L"wndmain"; });
}

std::wstring instanceName(const std::wstring& directory) {
  std::wstring upper = directory;
  if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  // FNV-1a: a kernel object name holds no backslash and has a length
  // limit; a hash of the path has neither problem.
  std::uint64_t hash = 1469598103934665603ull;
  for (wchar_t c : upper) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
  wchar_t name[64];
  std::swprintf(name, 64, L"Local\\LINKSCOUT.%016llx", static_cast<unsigned long long>(hash));
  return name;
}

std::wstring canonicalDirectory(const std::wstring& directory) {
  auto withSeparator = [](std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
  };
  HANDLE folder = CreateFileW(directory.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder != INVALID_HANDLE_VALUE) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD size = GetFinalPathNameByHandleW(folder, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    if (size >= path.size()) {
      path.resize(size + 1);
      size = GetFinalPathNameByHandleW(folder, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    }
    CloseHandle(folder);
    if (size > 0 && size < path.size()) {
      path.resize(size);
      if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        path = L"\\" + path.substr(7);
      } else if (path.rfind(L"\\\\?\\", 0) == 0) {
        path = path.substr(4);
      }
      return withSeparator(path);
    }
  }
  DWORD size = GetLongPathNameW(directory.c_str(), nullptr, 0);
  if (size > 0) {
    std::wstring path(size, L'\0');
    size = GetLongPathNameW(directory.c_str(), path.data(), size);
    if (size > 0 && size < path.size()) {
      path.resize(size);
      return withSeparator(path);
    }
  }
  return directory;
}

bool SingleInstance::claimLockFile(const std::wstring& directory) {
  const std::wstring path = directory + kLockFileName;
  // Held for writing, shared for reading only: a second opener for writing
  // fails whatever path it came by. The file goes when its holder ends.
  lock_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (lock_ != INVALID_HANDLE_VALUE) {
    const DWORD pid = GetCurrentProcessId();
    DWORD written = 0;
    WriteFile(lock_, &pid, sizeof pid, &written, nullptr);
    return true;
  }
  lock_ = nullptr;
  if (GetLastError() != ERROR_SHARING_VIOLATION) return false;  // a folder that takes no file
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD pid = 0;
  // The holder may not have written its id yet.
  for (DWORD waited = 0; held != INVALID_HANDLE_VALUE && pid == 0 && waited < kWaitForWindowMs; waited += 100) {
    DWORD read = 0;
    SetFilePointer(held, 0, nullptr, FILE_BEGIN);
    if (!ReadFile(held, &pid, sizeof pid, &read, nullptr) || read != sizeof pid) pid = 0;
    if (pid == 0) Sleep(100);
  }
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  handedOver_ = true;
  if (pid != 0) showRunning(pid);
  return true;
}

SingleInstance::SingleInstance() {
  std::wstring exe = executablePath();
  std::wstring directory = exe.substr(0, exe.find_last_of(L'\\') + 1);
  if (claimLockFile(directory)) return;
  // A folder where no file can be made: a named section, keyed by the
  // folder's final path.
  directory = canonicalDirectory(directory);
  section_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                instanceName(directory).c_str());
  if (!section_) return;  // nothing to share: run as if alone
  bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  auto* pid = static_cast<DWORD*>(MapViewOfFile(section_, FILE_MAP_WRITE, 0, 0, sizeof(DWORD)));
  if (!pid) return;
  if (!existed) {
    *pid = GetCurrentProcessId();
  } else {
    handedOver_ = true;
    showRunning(*pid);
  }
  UnmapViewOfFile(pid);
}

SingleInstance::~SingleInstance() {
  if (lock_) CloseHandle(lock_);
  if (section_) CloseHandle(section_);
}

void SingleInstance::showRunning(DWORD pid) {
  HWND window = mainWindowOf(pid);
  for (DWORD waited = 0; !window && waited < kWaitForWindowMs; waited += 100) {
    Sleep(100);
    window = mainWindowOf(pid);
  }
  if (!window) return;
  // This start is what the user just did, so it may hand the foreground on.
  AllowSetForegroundWindow(pid);
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_COMMAND, IDM_TRAY_SHOW, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  SetForegroundWindow(window);
}

}  // namespace ls
