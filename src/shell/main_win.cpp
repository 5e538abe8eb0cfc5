// LINKSCOUT.exe: the entry point. The command line and the show state are
// not used.
#include <windows.h>

#include "shell/program_win.h"
#include "shell/single_instance_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // A second start in the same folder shows the first and touches nothing.
  ls::SingleInstance folder;
  if (folder.handedOver()) return 0;
  return ls::runProgram(instance);
}
