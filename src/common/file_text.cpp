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
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    char32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    const char32_t least = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    multi = true;
    i += length;
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
