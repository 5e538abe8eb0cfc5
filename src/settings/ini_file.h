// The program's own private-profile (INI) reader and writer. It behaves like
// the Windows profile functions the settings file was made for:
// - section and key names match without regard to ASCII case;
// - blanks around section names, key names and values are ignored;
// - one pair of surrounding double quotes or apostrophes is removed from a
//   value when it is read;
// - a missing file, section or key gives the caller's default;
// - only the first section of a name, and within it the first key of a name,
//   counts; later duplicates are kept in the file but never read or written;
// - a write replaces the key's value in place, or adds the key at the end of
//   its section (the section at the end of the file), keeping every other
//   line, comment and the order, and creates the file when it is missing.
// Lines that start with ';' are comments; lines without '=' hold no key; keys
// before the first section belong to no section and are never found.
// Files are Shift_JIS; lines end in CR LF when written, a bare LF is accepted
// when read. Every write rewrites the whole file by temp-and-rename.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ls {

// The value of section/key, cut to at most maxBytes bytes at a character
// boundary, or `def` (with its trailing blanks removed and cut the same way)
// when the file, the section or the key is missing.
std::string readProfileString(std::string_view path, std::string_view section, std::string_view key,
                              std::string_view def, std::size_t maxBytes = SIZE_MAX);

// The value read as a signed decimal number the way atoi does (a value that
// is not a number reads as 0); `def` when the key is missing or its value is
// empty.
int readProfileInt(std::string_view path, std::string_view section, std::string_view key, int def);

// Sets section/key to value. A value, section or key that holds a line break
// or a NUL byte would not read back as one line and is refused, as is an
// empty key, a key holding '=' and a section holding ']' or ending in the
// first byte of a double-byte character (its ']' would be read as the
// second byte); a refused write
// changes nothing. Returns false when refused or when the file cannot be
// written (the old file is then kept).
bool writeProfileString(std::string_view path, std::string_view section, std::string_view key,
                        std::string_view value);

// The same two operations on the text of a file, for callers that compose
// a whole file in memory and write it once. `text` may use LF or CR LF line
// ends; after an update it uses CR LF throughout.
std::string readProfileText(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view def, std::size_t maxBytes = SIZE_MAX);
bool updateProfileText(std::string& text, std::string_view section, std::string_view key,
                       std::string_view value);

// Every key that a read can find, in file order: the keys of the first
// section of each name (later keys of a name are listed too; the first
// counts), each value with its blanks and one pair of quotes removed.
struct ProfileEntry {
  std::string_view section, key, value;
};
std::vector<ProfileEntry> profileEntries(std::string_view text);

}  // namespace ls
