#include "win_test_support.h"

#include <shellapi.h>

#include <filesystem>

#include "common/file_io.h"
#include "win/wide_win.h"

namespace lstest {

WinTempDir::WinTempDir() {
  static int serial = 0;
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  wide_ = std::wstring(base) + L"linkscout-win-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(serial++);
  CreateDirectoryW(wide_.c_str(), nullptr);
  path_ = ls::fromWide(wide_) + "\\";
}

WinTempDir::~WinTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::path(wide_), ec);
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (done()) return true;
    }
    if (done()) return true;
    ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 50)),
                              QS_ALLINPUT);
  }
}

void pumpFor(DWORD ms) {
  pumpUntil([] { return false; }, ms);
}

bool trayIconExists(HWND main) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = main;
  nid.uID = 1;
  nid.uFlags = NIF_TIP;
  lstrcpyW(nid.szTip, L"LINKSCOUT");
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

std::string fileBytes(const std::string& sjisPath) {
  auto bytes = ls::readWholeFile(sjisPath);
  return bytes ? *bytes : std::string("<missing>");
}

void putFile(const std::string& sjisPath, const std::string& bytes) {
  ls::FilePtr f = ls::openFile(sjisPath, "wb");
  if (f) std::fwrite(bytes.data(), 1, bytes.size(), f.get());
}

}  // namespace lstest
