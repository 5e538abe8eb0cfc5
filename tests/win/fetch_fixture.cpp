#include "fetch_fixture.h"

namespace lstest {

FetchHarness* FetchHarness::current_ = nullptr;

LRESULT CALLBACK FetchHarness::proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  FetchHarness* self = current_;
  if (self && m == WM_HOSTLOOKUP) {
    self->fetcher_.onHostLookup(wp, lp);
    return 0;
  }
  if (self && m == WM_TIMER && wp == IDT_FETCH_TIMEOUT) {
    self->fetcher_.onTimeout();
    return 0;
  }
  if (self && m == WM_SOCKETEVENT) {
    if (self->closeAtFirstRead_ && WSAGETSELECTEVENT(lp) == FD_READ) {
      self->closeAtFirstRead_ = false;
      Sleep(300);  // the server has sent everything and closed by now
      self->fetcher_.onSocketEvent(wp, WSAMAKESELECTREPLY(FD_CLOSE, 0));
      return 0;
    }
    self->fetcher_.onSocketEvent(wp, lp);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

void FetchHarness::SetUp() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"lstest_fetch";
  RegisterClassW(&wc);
  window_ = CreateWindowExW(0, L"lstest_fetch", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window_, nullptr);
  WSADATA data;
  ASSERT_EQ(WSAStartup(0x0101, &data), 0);
  pageFile_ = dir_.file("temp.html");
  fetcher_.attach(window_, &ui_, pageFile_);
  current_ = this;
}

void FetchHarness::TearDown() {
  fetcher_.close();
  current_ = nullptr;
  DestroyWindow(window_);
  WSACleanup();
}

bool FetchHarness::fetch(const std::string& url, DWORD timeoutMs) {
  outcome_ = Outcome{};
  ls::FetchBegin begun = fetcher_.begin(url, outcome_);
  if (begun.state != ls::FetchStart::kStarted) {
    outcome_.failures.push_back(begun.failure);
    return true;
  }
  return pumpUntil([&] { return outcome_.ended(); }, timeoutMs);
}

}  // namespace lstest
