// Paths are Shift_JIS texts like every other text of the program.
#pragma once

#include <string>
#include <string_view>

namespace ls {

#ifdef _WIN32
inline constexpr char kPathSep = '\\';
#else
inline constexpr char kPathSep = '/';
#endif

// The directory of the running executable: its full path cut after the last
// separator, so the result ends in one. On Windows only the backslash counts;
// natively the slash does.
std::string applicationDirectory(std::string_view executablePath);

// dir must end in a separator; parts are joined with kPathSep.
std::string joinPath(std::string_view dir, std::string_view name);
std::string joinPath(std::string_view dir, std::string_view sub, std::string_view name);

}  // namespace ls
