// Encoders for test pages, written apart from the converter from the JIS
// definition of Shift_JIS, so that a mistake in one is not repeated in the
// other. Used by the tests and the benchmarks.
#pragma once

#include <string>
#include <string_view>

namespace ls::test {

inline void sjisToJisRowCell(unsigned char lead, unsigned char trail, unsigned& j1, unsigned& j2) {
  unsigned s1 = lead >= 0xE0 ? lead - 0x40 : lead;
  j1 = (s1 - 0x81) * 2 + 0x21;
  if (trail >= 0x9F) {
    ++j1;
    j2 = trail - 0x7E;
  } else {
    j2 = trail - 0x1F - (trail >= 0x80 ? 1 : 0);
  }
}

inline std::string sjisToEuc(std::string_view sjis) {
  std::string out;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    auto b = static_cast<unsigned char>(sjis[i]);
    if (b >= 0xA1 && b <= 0xDF) {
      out += '\x8E';
      out += static_cast<char>(b);
    } else if (b >= 0x80) {
      unsigned j1, j2;
      sjisToJisRowCell(b, static_cast<unsigned char>(sjis[++i]), j1, j2);
      out += static_cast<char>(j1 | 0x80);
      out += static_cast<char>(j2 | 0x80);
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

inline std::string sjisToIso2022(std::string_view sjis) {
  enum { Ascii, Kanji, Kana } mode = Ascii;
  std::string out;
  auto switchTo = [&](decltype(mode) m, const char* esc) {
    if (mode != m) out += esc;
    mode = m;
  };
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    auto b = static_cast<unsigned char>(sjis[i]);
    if (b >= 0xA1 && b <= 0xDF) {
      switchTo(Kana, "\x1B(I");
      out += static_cast<char>(b - 0x80);
    } else if (b >= 0x80) {
      switchTo(Kanji, "\x1B$B");
      unsigned j1, j2;
      sjisToJisRowCell(b, static_cast<unsigned char>(sjis[++i]), j1, j2);
      out += static_cast<char>(j1);
      out += static_cast<char>(j2);
    } else {
      switchTo(Ascii, "\x1B(B");
      out += static_cast<char>(b);
    }
  }
  switchTo(Ascii, "\x1B(B");
  return out;
}

inline std::string utf16Bytes(std::u16string_view text, bool littleEndian) {
  std::string out;
  for (char16_t u : text) {
    char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += littleEndian ? lo : hi;
    out += littleEndian ? hi : lo;
  }
  return out;
}

}  // namespace ls::test
