// Where the running executable is, which makes its folder the application
// directory.
#pragma once

#include <string>

namespace ls {

// The full path of the running executable, as Windows gives it.
std::wstring executablePath();

// The directory of the running executable, ending in a backslash, as a path
// text that keeps every character of its folder names.
std::string executableDirectory();

}  // namespace ls
