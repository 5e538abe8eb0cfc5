// Paths are Shift_JIS texts like every other text of the program, with one
// addition: a character of a folder name that Shift_JIS cannot hold (a path
// the system handed over, such as the program's own directory) is kept as an
// escape, so the path reaches the file system unchanged.
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

// A path from the system (UTF-16) as a path text: Shift_JIS where the
// character has a Shift_JIS form that reads back as itself, otherwise the
// byte 0xFF and the UTF-16 unit in four hex digits. 0xFF is never part of a
// Shift_JIS character, so the escape cannot be mistaken for text and a
// Shift_JIS name joined to it stays intact.
std::string pathTextFromUtf16(std::u16string_view path);
// The reverse: every escape back to its unit, the rest read as Shift_JIS.
std::u16string pathTextToUtf16(std::string_view pathText);

}  // namespace ls
