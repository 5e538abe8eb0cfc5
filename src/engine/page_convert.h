// The page conversion: a fetched page in any of the Japanese encodings found
// on the web, turned into the Shift_JIS text that the page scan and the
// wizard listing walk.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ls {

enum class PageEncoding { ShiftJis, EucJp, Iso2022Jp, Utf8, Utf16Le, Utf16Be };

// A byte-order mark found in the page: its encoding, where it stands and how
// many bytes it has.
struct ByteOrderMark {
  PageEncoding encoding;
  std::size_t pos;
  std::size_t size;
};

// The page text begins with the response's status line and header fields,
// which are ASCII, so a byte-order mark counts where the body starts as well
// as at the very start:
// - at the start of the text;
// - for a text that begins with "HTTP/", right after the first empty line
//   (LF, any CRs, LF) that ends the header;
// - for such a text whose line ends were removed when it was joined (no
//   empty line left), as its first non-ASCII bytes: the header fields are
//   ASCII, so the first byte of 0x80 or above is where the body's mark is.
// Not found anywhere else: EF BB BF inside a page is a character.
std::optional<ByteOrderMark> findByteOrderMark(std::string_view page);

// The page's encoding, judged in this order:
// 1. a byte-order mark (above);
// 2. a charset the page names: in the Content-Type header field, else in a
//    <meta> tag or an <?xml encoding=...?> declaration in the first 4 KB of
//    the body; names are matched case-insensitively at the start of the value,
//    since a joined header runs the value into the next field's name;
//    unknown names are passed over;
// 3. any ISO-2022-JP escape sequence (ESC $ B, ESC $ @, ESC ( J, ESC ( B,
//    ESC ( I);
// 4. UTF-8: at least one multi-byte character and at most one malformed
//    unit per 16 of them (a stray byte does not spoil a UTF-8 page);
// 5. EUC-JP against Shift_JIS: each reading collects penalties for unlikely
//    text (half-width katakana 1 per character, JIS X 0212 4, codes with no
//    character or user-defined 8) and for illegal sequences (1000, which in
//    practice rules the reading out); the lower total wins and a tie, as well
//    as plain ASCII, is Shift_JIS.
PageEncoding detectPageEncoding(std::string_view page);

// The page converted to Shift_JIS with its detected encoding. Shift_JIS text
// comes back byte for byte, invalid bytes included. What has no Shift_JIS form
// becomes 0x81AC (〓), and so do malformed sequences, one per broken or
// cut-off character; in ISO-2022-JP, control bytes, 8-bit bytes and unknown
// escapes pass through as they are. Duplicates (NEC row 13, NEC-selected IBM
// rows) come out at the code Windows prefers. Character references are left
// as they are. The result has at most floor(1.3 x page size) bytes: a longer
// one is cut at a character boundary.
std::string convertPageToSjis(std::string_view page);
// The same in the page's own buffer, which a Shift_JIS page keeps as it is.
void convertPageToSjisInPlace(std::string& page);

// The same with the encoding given. For UTF-8 and UTF-16 the byte-order mark
// that findByteOrderMark reports is dropped and the bytes before it (the
// header) are kept as they are; without a mark the whole text is read in that
// encoding.
std::string convertPageAs(std::string_view page, PageEncoding encoding);

}  // namespace ls
