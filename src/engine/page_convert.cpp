// Converting a fetched page to Shift_JIS; the encoding is told in page_detect.cpp.
#include "engine/page_convert.h"

#include <cstdint>
#include <cstring>

#include "common/cp932.h"
#include "common/text.h"

namespace ls {
namespace {

constexpr char kEsc = '\x1B';
constexpr char kShiftOut = '\x0E';
constexpr char kShiftIn = '\x0F';

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

constexpr std::uint16_t kGeta = 0x81AC;  // 〓

void appendGeta(std::string& out) { out.append("\x81\xAC", 2); }

// An empty JIS cell becomes 〓 like any other character Shift_JIS cannot show.
void appendJis(std::string& out, unsigned row, unsigned cell) {
  std::uint16_t code = jisToCp932(row, cell);
  if (code == 0) {
    appendGeta(out);
  } else {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
}

bool isEucByte(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }
bool isKanaByte(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

// A character cut off by the end of the text is one 〓, not one per byte.
bool endsInsideCharacter(std::string_view in, std::size_t i) {
  unsigned char b = at(in, i);
  std::size_t left = in.size() - i - 1;
  if (b == 0x8E || isEucByte(b)) return left == 0;
  if (b == 0x8F) return left == 0 || (left == 1 && isEucByte(at(in, i + 1)));
  return false;
}

// Every broken or cut-off sequence gives one 〓 for its first byte, and the
// next byte is read again, so ASCII after a broken character survives.
std::string eucJpToSjis(std::string_view in) {
  const std::size_t n = in.size();
  // Written through a pointer into room for the worst case (a broken byte
  // gives two), then trimmed.
  std::string out(2 * n, '\0');
  char* w = &out[0];
  auto put = [&w](std::uint16_t code) {
    *w++ = static_cast<char>(code >> 8);
    *w++ = static_cast<char>(code & 0xFF);
  };
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = asciiRunEnd(in, i);
    std::memcpy(w, in.data() + i, run - i);
    w += run - i;
    i = run;
    if (i == n) break;
    unsigned char b = at(in, i);
    if (b == 0x8E && i + 1 < n && isKanaByte(at(in, i + 1))) {
      *w++ = in[i + 1];  // half-width katakana: its single byte
      i += 2;
    } else if (b == 0x8F && i + 2 < n && isEucByte(at(in, i + 1)) && isEucByte(at(in, i + 2))) {
      put(kGeta);  // JIS X 0212 has no Shift_JIS form
      i += 3;
    } else if (isEucByte(b) && i + 1 < n && isEucByte(at(in, i + 1))) {
      std::uint16_t code = jisToCp932(b - 0x80, at(in, i + 1) - 0x80);
      put(code != 0 ? code : kGeta);
      i += 2;
    } else {
      put(kGeta);
      if (endsInsideCharacter(in, i)) break;
      ++i;
    }
  }
  out.resize(static_cast<std::size_t>(w - out.data()));
  return out;
}

enum class JisMode { Ascii, Jis0208, Jis0212, Kana };

// The escape sequence at `i` (after ESC): the mode it selects and its length
// including ESC, or 0 for a sequence this converter does not know.
std::size_t readEscape(std::string_view in, std::size_t i, JisMode& mode) {
  std::string_view s = in.substr(i + 1, 3);
  struct Seq { std::string_view bytes; JisMode mode; };
  static constexpr Seq kSeqs[] = {
      {"$B", JisMode::Jis0208},  {"$@", JisMode::Jis0208},  {"$(B", JisMode::Jis0208},
      {"$(@", JisMode::Jis0208}, {"$(D", JisMode::Jis0212}, {"(B", JisMode::Ascii},
      {"(J", JisMode::Ascii},    {"(I", JisMode::Kana},
  };
  for (const Seq& seq : kSeqs) {
    if (s.substr(0, seq.bytes.size()) == seq.bytes) {
      mode = seq.mode;
      return seq.bytes.size() + 1;
    }
  }
  return 0;
}

// Bytes the escapes do not explain (controls, 8-bit bytes, unknown escapes)
// pass through as they are.
std::string iso2022JpToSjis(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  JisMode mode = JisMode::Ascii;
  bool shifted = false;  // SO selects katakana until SI
  std::size_t i = 0;
  const std::size_t n = in.size();
  auto isJisByte = [](unsigned char c) { return c >= 0x21 && c <= 0x7E; };
  while (i < n) {
    unsigned char b = at(in, i);
    if (b == kEsc) {
      std::size_t len = readEscape(in, i, mode);
      if (len == 0) {
        out.push_back(in[i++]);
      } else {
        i += len;
        shifted = false;
      }
    } else if (b == kShiftOut || b == kShiftIn) {
      shifted = b == kShiftOut;
      ++i;
    } else if (!isJisByte(b)) {
      out.push_back(in[i++]);
    } else if (shifted || mode == JisMode::Kana) {
      out.push_back(static_cast<char>(b <= 0x5F ? b + 0x80 : b));
      ++i;
    } else if (mode == JisMode::Ascii) {
      std::size_t start = i;
      while (i < n && isJisByte(at(in, i))) ++i;
      out.append(in.data() + start, i - start);
    } else if (i + 1 < n && isJisByte(at(in, i + 1))) {
      if (mode == JisMode::Jis0208) {
        appendJis(out, b, at(in, i + 1));
      } else {
        appendGeta(out);
      }
      i += 2;
    } else {
      appendGeta(out);  // half a character: before a control byte or the end
      ++i;
    }
  }
  return out;
}

void appendUnit(std::string& out, char32_t cp) {
  if (cp == 0) {
    out.push_back('\0');
    return;
  }
  std::uint16_t code = encodeCp932Char(cp);
  if (code == 0) {
    appendGeta(out);
  } else if (code > 0xFF) {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  } else {
    out.push_back(static_cast<char>(code));
  }
}

std::string utf16ToSjis(std::string_view in, bool littleEndian) {
  std::string out;
  out.reserve(in.size());
  auto unit = [&](std::size_t i) -> char32_t {
    unsigned a = at(in, i), b = at(in, i + 1);
    return littleEndian ? (b << 8 | a) : (a << 8 | b);
  };
  std::size_t i = 0;
  const std::size_t n = in.size();
  while (i + 1 < n) {
    char32_t u = unit(i);
    i += 2;
    if (u >= 0xD800 && u <= 0xDFFF) {
      // Nothing beyond the BMP has a Shift_JIS form: a pair is one 〓, as is
      // a lone surrogate.
      if (u <= 0xDBFF && i + 1 < n && unit(i) >= 0xDC00 && unit(i) <= 0xDFFF) i += 2;
      appendGeta(out);
    } else {
      appendUnit(out, u);
    }
  }
  if (i < n) appendGeta(out);  // an odd byte at the end
  return out;
}

std::string unicodePageToSjis(std::string_view page, PageEncoding encoding) {
  std::string_view head, body = page;
  if (auto mark = findByteOrderMark(page); mark && mark->encoding == encoding) {
    head = page.substr(0, mark->pos);  // the ASCII header, kept as received
    body = page.substr(mark->pos + mark->size);
  }
  std::string out(head);
  if (encoding == PageEncoding::Utf8) {
    out += utf8ToCp932(body);
  } else {
    out += utf16ToSjis(body, encoding == PageEncoding::Utf16Le);
  }
  return out;
}

}  // namespace

std::string convertPageAs(std::string_view page, PageEncoding encoding) {
  std::string out;
  switch (encoding) {
    case PageEncoding::ShiftJis:
      return std::string(page);
    case PageEncoding::EucJp:
      out = eucJpToSjis(page);
      break;
    case PageEncoding::Iso2022Jp:
      out = iso2022JpToSjis(page);
      break;
    case PageEncoding::Utf8:
    case PageEncoding::Utf16Le:
    case PageEncoding::Utf16Be:
      out = unicodePageToSjis(page, encoding);
      break;
  }
  // The scan's buffer holds 1.3 times the page; only 〓 for single broken
  // bytes can grow a text that far.
  const std::size_t limit = page.size() + page.size() * 3 / 10;
  if (out.size() > limit) cutInPlace(out, limit);
  return out;
}

std::string convertPageToSjis(std::string_view page) {
  return convertPageAs(page, detectPageEncoding(page));
}

}  // namespace ls
