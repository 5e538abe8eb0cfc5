#include "app/single_instance_win.h"

#include <cstdint>
#include <cwchar>

#include "app/startup_win.h"
#include "resources/resource_ids.h"

namespace ls {

namespace {

// How long a second start waits for the first one's window, which may still
// be on its way up.
constexpr DWORD kWaitForWindowMs = 5000;

}  // namespace

HWND mainWindowOf(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{pid, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t cls[16] = {};
        GetClassNameW(window, cls, 16);
        if (owner != s->pid || std::wcscmp(cls, L"wndmain") != 0) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
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

SingleInstance::SingleInstance() {
  std::wstring exe = executablePath();
  std::wstring directory = exe.substr(0, exe.find_last_of(L'\\') + 1);
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
