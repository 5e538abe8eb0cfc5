// Conversions between Shift_JIS (Windows code page 932) and Unicode, used at
// the user-interface and file-system boundary. Built on the project's own
// generated CP932 tables, so they never depend on the system code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ls {

// Shift_JIS to UTF-16. Decoding follows the Microsoft CP932 column (0x8160 is
// U+FF5E). A byte sequence with no mapping, and a lead byte at the very end,
// become U+FFFD.
std::u16string cp932ToUtf16(std::string_view sjis);

// UTF-16 to Shift_JIS. Both columns of the JIS/Microsoft differences are
// accepted; a character with no Shift_JIS form becomes 0x81AC. Unpaired
// surrogates count as characters with no Shift_JIS form.
std::string utf16ToCp932(std::u16string_view utf16);

// The same through UTF-8 (used for file names on Linux and by tools).
std::string cp932ToUtf8(std::string_view sjis);
// Malformed UTF-8 bytes each become 0x81AC.
std::string utf8ToCp932(std::string_view utf8);

// One code point each way. decodeCp932Char returns 0xFFFD for a sequence with
// no mapping; encodeCp932Char returns 0 when the code point has no Shift_JIS form,
// otherwise the one- or two-byte value (0x00-0xFF or 0x8140-0xFCFC).
char32_t decodeCp932Char(std::uint16_t code);
std::uint16_t encodeCp932Char(char32_t cp);

}  // namespace ls
