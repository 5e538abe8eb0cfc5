// The thread's message loop: each open modeless dialog gets its keys (Tab,
// Enter, Escape) through IsDialogMessage, then one window's accelerators
// apply to it and its children, then the message is dispatched.
#pragma once

#include <windows.h>

namespace ls {

// Dialog registers each modeless dialog from WM_INITDIALOG to WM_NCDESTROY.
void addModelessDialog(HWND dialog);
void removeModelessDialog(HWND dialog);

// The accelerator table of a window: its keys never reach a dialog.
struct KeyTable {
  HWND window = nullptr;
  HACCEL keys = nullptr;
};

// One message, as the loop handles it.
void dispatchMessage(MSG& msg, const KeyTable& keys);

// Runs until the quit message and returns its exit code.
int runMessageLoop(const KeyTable& keys);

}  // namespace ls
