// The program's fetches: the wizard's fetcher, which is also a check's
// first, and one more per site a check may fetch at once. All report to one
// window; each socket event, host lookup and time-out goes to the fetch
// that owns it.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "engine/check_schedule.h"
#include "engine/engine_context.h"
#include "shell/fetch/fetch_win.h"

namespace ls {

class Fetchers {
 public:
  Fetchers() = default;
  // The fetches go before the window they report to.
  ~Fetchers() { closeAll(); }
  Fetchers(const Fetchers&) = delete;
  Fetchers& operator=(const Fetchers&) = delete;

  // Each fetch receives into its own page file and has its own timer.
  void attach(HWND window, UserInterface* ui, const EngineContext& ctx);
  void closeAll();

  WinsockFetcher& wizard() { return wizard_; }
  WinsockFetcher& slot(int k) { return slots_[static_cast<std::size_t>(k)]; }
  // The check's fetches besides the wizard's.
  std::vector<Fetcher*> slots();

  void onHostLookup(WPARAM handle, LPARAM lParam);
  void onSocketEvent(WPARAM socket, LPARAM lParam);
  void onTimer(UINT_PTR id);

 private:
  WinsockFetcher* ownerOf(WPARAM handle, bool socket);

  WinsockFetcher wizard_;
  std::array<WinsockFetcher, kParallelMax> slots_;
};

}  // namespace ls
