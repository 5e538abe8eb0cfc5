// The parsed copy of a settings file that the path readers of ini_file.h
// use: the file is parsed again only when its bytes changed (see
// FileSnapshot), so reading a key at every use costs a look at the file's
// size and write time, not a read and a parse.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ls {

// The value of section/key as readProfileText finds it in the file's text
// (blanks and one pair of quotes removed), or nothing when the file, the
// section or the key is missing.
std::optional<std::string> cachedProfileValue(std::string_view path, std::string_view section,
                                              std::string_view key);

// Drops the parsed copy of `path`; the program's own writes call it.
void forgetProfile(std::string_view path);

}  // namespace ls
