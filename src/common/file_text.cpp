#include "common/file_text.h"

#include "common/cp932.h"

namespace ls {

bool isWellFormedSjis(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
    if (!((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) || i + 1 >= bytes.size()) return false;
    const unsigned char t = static_cast<unsigned char>(bytes[++i]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
  }
  return true;
}

namespace {

// Whether `bytes` is well-formed UTF-8; `multi` tells whether it holds a
// multi-byte character.
bool isUtf8(std::string_view bytes, bool& multi) {
  multi = false;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp;
    const std::size_t taken = decodeUtf8Char(bytes, i, cp);
    if (cp == kNoChar) return false;
    multi = multi || taken > 1;
    i += taken;
  }
  return true;
}
}  // namespace

bool isMultiByteUtf8(std::string_view bytes) {
  bool multi = false;
  return isUtf8(bytes, multi) && multi;
}

std::string fileTextToSjis(std::string bytes) {
  const std::string_view text(bytes);
  bool multi = false;
  if (text.substr(0, 3) == "\xEF\xBB\xBF" && isUtf8(text.substr(3), multi)) return utf8ToCp932(text.substr(3));
  if (isMultiByteUtf8(text) && !isWellFormedSjis(text)) return utf8ToCp932(text);
  return bytes;
}

}  // namespace ls
