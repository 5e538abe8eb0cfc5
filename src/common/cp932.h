// Conversions between Shift_JIS (Windows code page 932) and Unicode, used at
// the user-interface and file-system boundary and by the page conversion.
// Built on the project's own generated CP932 tables, so they never depend on
// the system code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ls {

// Shift_JIS to UTF-16. Decoding follows the Microsoft CP932 column (0x8160 is
// U+FF5E). A byte sequence with no mapping, and a lead byte at the very end,
// become U+FFFD. A lead byte followed by a byte that cannot be a trail byte
// (0x40-0x7E, 0x80-0xFC) becomes U+FFFD on its own and the next byte is read
// as a character of its own, so a broken lead byte never swallows ASCII.
std::u16string cp932ToUtf16(std::string_view sjis);

// UTF-16 to Shift_JIS. Both columns of the JIS/Microsoft differences are
// accepted; a character with no Shift_JIS form becomes 0x81AC. Unpaired
// surrogates, and surrogate pairs (nothing beyond the BMP has a Shift_JIS
// form), count as characters with no Shift_JIS form.
std::string utf16ToCp932(std::u16string_view utf16);

// The same through UTF-8 (used for file names on Linux and by tools).
std::string cp932ToUtf8(std::string_view sjis);
// Each malformed unit of UTF-8 becomes 0x81AC: a byte that cannot start a
// sequence, or the longest start of a well-formed sequence that breaks off
// (so "E3 81" followed by ASCII is one 0x81AC, as browsers count it).
std::string utf8ToCp932(std::string_view utf8);
// The same appended to `out`.
void appendUtf8AsCp932(std::string& out, std::string_view utf8);
// The same conversion, done only while the text reads as UTF-8 the way the
// page detection judges it: at least one multi-byte character and at most
// one malformed unit per 16 of them, a unit cut off by the end not counted.
// False, and `out` empty, as soon as the text cannot pass; the page is then
// read no further.
bool utf8ToCp932IfUtf8(std::string_view utf8, std::string& out);

// One code point each way. decodeCp932Char returns 0xFFFD for a sequence with
// no mapping; encodeCp932Char returns 0 when the code point has no Shift_JIS form,
// otherwise the one- or two-byte value (0x00-0xFF or 0x8140-0xFCFC). U+0000
// itself also gives 0, so callers that may see it treat it apart.
char32_t decodeCp932Char(std::uint16_t code);
std::uint16_t encodeCp932Char(char32_t cp);

// One step of strict UTF-8 decoding at `pos` (< text.size()): stores the code
// point in `cp`, or kNoChar for a malformed unit, and returns the number of
// bytes taken (at least 1). Overlong forms, surrogates and values beyond
// U+10FFFF are malformed.
inline constexpr char32_t kNoChar = 0xFFFFFFFF;
std::size_t decodeUtf8Char(std::string_view text, std::size_t pos, char32_t& cp);

// The Shift_JIS code, as Windows writes it, of the character at a JIS X 0208
// row and cell (0x21-0x7E each), as EUC-JP and ISO-2022-JP carry them: the
// arithmetic that defines Shift_JIS, with NEC row 13 and, in rows 0x79-0x7C,
// the NEC-selected IBM extensions of Windows' EUC-JP (CP51932); a character
// found at several codes comes at its preferred one. 0 for an empty cell.
std::uint16_t jisToCp932(unsigned row, unsigned cell);
// The same as a table of 94 x 94 codes, row by row from row 0x21 cell 0x21,
// for converters that look up a character at a time.
const std::uint16_t* jisToCp932Table();

// The end of the run of ASCII bytes (below 0x80) that starts at `i`, eight
// bytes at a time: pages are mostly markup.
inline std::size_t asciiRunEnd(std::string_view text, std::size_t i) {
  const char* s = text.data();
  const std::size_t n = text.size();
  while (i + 8 <= n) {
    std::uint64_t word;
    std::memcpy(&word, s + i, 8);
    if (word & 0x8080808080808080ull) break;
    i += 8;
  }
  while (i < n && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

}  // namespace ls
