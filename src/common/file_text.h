// Text files the user may have edited and saved in another encoding: the
// settings file, the site file and site files to import. The program writes
// them in Shift_JIS without a byte-order mark; an editor may save them as
// UTF-8 instead, with or without a mark.
#pragma once

#include <string>
#include <string_view>

namespace ls {

// Whether every byte of `bytes` belongs to a whole Shift_JIS (CP932)
// character: ASCII, half-width katakana (0xA1-0xDF), or a lead byte
// (0x81-0x9F, 0xE0-0xFC) followed by a trail byte (0x40-0x7E, 0x80-0xFC).
bool isWellFormedSjis(std::string_view bytes);

// Whether `bytes` is well-formed UTF-8 (no overlong form, no surrogate,
// nothing past U+10FFFF) holding at least one multi-byte character.
bool isMultiByteUtf8(std::string_view bytes);

// The file's text as Shift_JIS: well-formed UTF-8 after a byte-order mark,
// or well-formed multi-byte UTF-8 that is no well-formed Shift_JIS, is
// converted (a character Shift_JIS lacks becomes 0x81AC); anything else is
// the program's own format and stays as it is.
std::string fileTextToSjis(std::string bytes);

}  // namespace ls
