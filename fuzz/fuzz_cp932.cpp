// Fuzzes the Shift_JIS (CP932) conversions: any bytes decoded and encoded
// again through UTF-16 and through UTF-8. Every decodable character encodes
// back to a code that decodes to it; the two routes agree; an encoded text
// is a fixed point; and a text of characters at their preferred codes
// round-trips byte for byte.
//
// Input: any bytes, read as Shift_JIS.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/cp932.h"
#include "common/text.h"
#include "fuzz_input.h"

namespace {

using fuzzing::check;
using fuzzing::takeField;

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kGetaChar = 0x3013;  // 〓, what the encoder writes for what it lacks

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::u16string wide = ls::cp932ToUtf16(in);
  const std::string once = ls::utf16ToCp932(wide);
  check(ls::utf8ToCp932(ls::cp932ToUtf8(in)) == once);
  check(ls::utf16ToCp932(ls::cp932ToUtf16(once)) == once);
  check(ls::utf8ToCp932(ls::cp932ToUtf8(once)) == once);

  // Decoded again, the encoded text is the input's characters, with 〓 for
  // each byte sequence that had none.
  std::u16string expected = wide;
  for (char16_t& c : expected)
    if (c == kReplacement) c = kGetaChar;
  check(ls::cp932ToUtf16(once) == expected);

  // Character by character: decode, encode, decode gives the same character,
  // and the preferred code is its own preferred code.
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const std::uint16_t code = static_cast<std::uint16_t>(data[i] << 8 | data[i + 1]);
    const char32_t cp = ls::decodeCp932Char(code);
    if (cp == kReplacement || cp == 0) continue;  // U+0000 has no code of its own to report
    const std::uint16_t preferred = ls::encodeCp932Char(cp);
    check(preferred != 0 && ls::decodeCp932Char(preferred) == cp);
    check(ls::encodeCp932Char(ls::decodeCp932Char(preferred)) == preferred);
    // The JIS row and cell that EUC-JP would carry give a code of that character.
    const unsigned row = 0x21 + data[i] % 94, cell = 0x21 + data[i + 1] % 94;
    const std::uint16_t jis = ls::jisToCp932(row, cell);
    if (jis != 0) check(ls::decodeCp932Char(jis) != kReplacement);
  }

  // The UTF-8 reader: strict decoding never reads past the text, and the
  // page detection's converter gives the plain one's text whenever it goes on.
  for (std::size_t i = 0; i < size;) {
    char32_t cp;
    std::size_t len = ls::decodeUtf8Char(in, i, cp);
    check(len >= 1 && i + len <= size);
    check(cp == ls::kNoChar || cp <= 0x10FFFF);
    i += len;
  }
  std::string judged;
  if (ls::utf8ToCp932IfUtf8(in, judged)) check(judged == ls::utf8ToCp932(in));
  return 0;
}
