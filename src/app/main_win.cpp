// LINKSCOUT.exe: the entry point. The command line and the show state are
// not used.
#include <windows.h>

#include "app/startup_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return ls::runProgram(instance); }
