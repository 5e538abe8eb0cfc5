// The about box "INFOMATION": the title picture, "OK" and "HOME".
#pragma once

namespace ls {

struct App;

// Command 40003: runs the box modally over the main window.
void runAboutDialog(App& app);

}  // namespace ls
