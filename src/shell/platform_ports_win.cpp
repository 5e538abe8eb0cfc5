#include "shell/platform_ports_win.h"

#include <mmsystem.h>

#include "shell/resources/resource_ids.h"
#include "win/wide_win.h"

namespace ls {

void WindowTimer::arm(std::int64_t periodMs) {
  if (periodMs < USER_TIMER_MINIMUM) periodMs = USER_TIMER_MINIMUM;
  if (periodMs > USER_TIMER_MAXIMUM) periodMs = USER_TIMER_MAXIMUM;
  SetTimer(window_, id_, static_cast<UINT>(periodMs), nullptr);
}

void WindowTimer::stop() { KillTimer(window_, id_); }

void WaveSoundPlayer::play(const std::string& path) {
  PlaySoundW(pathToWide(path).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace ls
