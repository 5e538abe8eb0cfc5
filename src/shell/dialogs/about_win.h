// The about box "INFOMATION": the title picture, "OK" and "HOME".
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "engine/ports.h"

namespace ls {

// Command 40003: runs the box modally over `owner`; "HOME" hands the home
// page to `openUrl`.
void runAboutDialog(HINSTANCE instance, HWND owner, UserInterface& ui,
                    const std::function<void(const std::string&)>& openUrl);

}  // namespace ls
