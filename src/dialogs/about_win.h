// The about box "INFOMATION": the title picture, "OK" and "HOME".
#pragma once

namespace ls {

// Command 40003: runs the box modally over the main window.
void runAboutDialog();

}  // namespace ls
