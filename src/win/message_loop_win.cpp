#include "win/message_loop_win.h"

#include <algorithm>
#include <vector>

namespace ls {

namespace {

// The windows of one UI thread; the program has only one.
std::vector<HWND>& modelessDialogs() {
  static std::vector<HWND> dialogs;
  return dialogs;
}

// Runs for every message, so it only looks: a message is for one dialog at
// most, and the loop ends before that dialog's keys may close it.
bool isModelessDialogMessage(MSG& msg) {
  for (HWND dialog : modelessDialogs()) {
    if (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)) return IsDialogMessageW(dialog, &msg) != FALSE;
  }
  return false;
}

}  // namespace

void addModelessDialog(HWND dialog) {
  std::vector<HWND>& open = modelessDialogs();
  if (std::find(open.begin(), open.end(), dialog) == open.end()) open.push_back(dialog);
}

void removeModelessDialog(HWND dialog) {
  std::vector<HWND>& open = modelessDialogs();
  open.erase(std::remove(open.begin(), open.end(), dialog), open.end());
}

void dispatchMessage(MSG& msg, const KeyTable& keys) {
  if (isModelessDialogMessage(msg)) return;
  bool ours = keys.keys && keys.window && (msg.hwnd == keys.window || IsChild(keys.window, msg.hwnd));
  if (ours && TranslateAcceleratorW(keys.window, keys.keys, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int runMessageLoop(const KeyTable& keys) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatchMessage(msg, keys);
  return static_cast<int>(msg.wParam);
}

}  // namespace ls
