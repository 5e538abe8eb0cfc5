#include "shell/fetch/fetchers_win.h"

#include "engine/check_cycle.h"
#include "shell/resources/resource_ids.h"

namespace ls {

void Fetchers::attach(HWND window, UserInterface* ui, const EngineContext& ctx) {
  wizard_.attach(window, ui, ctx.pageFile());
  wizard_.setSettingsFile(ctx.settingsPath);
  for (std::size_t k = 0; k < slots_.size(); ++k) {
    int slot = static_cast<int>(k) + 1;
    slots_[k].attach(window, ui, slotPageFile(ctx, slot), IDT_FETCH_SLOT + slot);
    slots_[k].setSettingsFile(ctx.settingsPath);
  }
}

void Fetchers::closeAll() {
  wizard_.close();
  for (WinsockFetcher& f : slots_) f.close();
}

std::vector<Fetcher*> Fetchers::slots() {
  std::vector<Fetcher*> out;
  for (WinsockFetcher& f : slots_) out.push_back(&f);
  return out;
}

WinsockFetcher* Fetchers::ownerOf(WPARAM handle, bool socket) {
  auto owns = [&](const WinsockFetcher& f) { return socket ? f.ownsSocket(handle) : f.ownsLookup(handle); };
  if (owns(wizard_)) return &wizard_;
  for (WinsockFetcher& f : slots_)
    if (owns(f)) return &f;
  return nullptr;
}

// Only the fetch an answer is for hears it: one that ends here may start
// another whose socket or lookup takes the same handle.
void Fetchers::onHostLookup(WPARAM handle, LPARAM lParam) {
  if (WinsockFetcher* f = ownerOf(handle, false)) f->onHostLookup(handle, lParam);
}

void Fetchers::onSocketEvent(WPARAM socket, LPARAM lParam) {
  if (WinsockFetcher* f = ownerOf(socket, true)) f->onSocketEvent(socket, lParam);
}

void Fetchers::onTimer(UINT_PTR id) {
  if (id == wizard_.timerId()) wizard_.onTimeout();
  for (WinsockFetcher& f : slots_)
    if (id == f.timerId()) f.onTimeout();
}

}  // namespace ls
