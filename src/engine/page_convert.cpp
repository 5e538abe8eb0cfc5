// Converting a fetched page to Shift_JIS; the encoding is told in
// page_detect.cpp. A page that names no encoding is converted while it is
// judged, so a UTF-8 or EUC-JP page is read about once.
#include "engine/page_convert.h"

#include <cstdint>
#include <cstring>

#include "common/cp932.h"
#include "common/text.h"
#include "engine/page_detect.h"

namespace ls {
namespace {

constexpr char kEsc = '\x1B';
constexpr char kShiftOut = '\x0E';
constexpr char kShiftIn = '\x0F';

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

constexpr std::uint16_t kGeta = 0x81AC;  // 〓

void appendGeta(std::string& out) { out.append("\x81\xAC", 2); }

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
// next byte is read again, so ASCII after a broken character survives. With
// a `penalty` the detection's penalty of the EUC-JP reading is counted on the
// way (see page_detect.h), so that telling and converting take one pass.
std::string eucJpToSjis(std::string_view in, long* penalty = nullptr) {
  const std::size_t n = in.size();
  // Written through a pointer into room for the worst case (a broken byte
  // gives two), then trimmed.
  std::string out(2 * n, '\0');
  char* w = &out[0];
  auto put = [&w](std::uint16_t code) {
    *w++ = static_cast<char>(code >> 8);
    *w++ = static_cast<char>(code & 0xFF);
  };
  const std::uint16_t* const jis = jisToCp932Table();
  long score = 0;
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = asciiRunEnd(in, i);
    std::memcpy(w, in.data() + i, run - i);
    w += run - i;
    i = run;
    if (i == n) break;
    // Runs of two-byte characters, the bulk of the text, in a loop of their own.
    while (i + 1 < n && isEucByte(at(in, i)) && isEucByte(at(in, i + 1))) {
      std::uint16_t code = jis[(at(in, i) - 0xA1) * 94 + (at(in, i + 1) - 0xA1)];
      if (code == 0) {
        score += detect::kUnlikely;
        code = kGeta;
      }
      put(code);
      i += 2;
    }
    if (i == n) break;
    unsigned char b = at(in, i);
    if (b < 0x80) continue;
    if (b == 0x8E && i + 1 < n && isKanaByte(at(in, i + 1))) {
      *w++ = in[i + 1];  // half-width katakana: its single byte
      score += detect::kKana;
      i += 2;
    } else if (b == 0x8F && i + 2 < n && isEucByte(at(in, i + 1)) && isEucByte(at(in, i + 2))) {
      put(kGeta);  // JIS X 0212 has no Shift_JIS form
      score += detect::kJisX0212;
      i += 3;
    } else {
      put(kGeta);
      if (endsInsideCharacter(in, i)) break;
      score += detect::kIllegal;
      ++i;
    }
  }
  out.resize(static_cast<std::size_t>(w - out.data()));
  if (penalty) *penalty = score;
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
// pass through as they are. Only half a character grows, one byte to two.
std::string iso2022JpToSjis(std::string_view in) {
  const std::size_t n = in.size();
  std::string out(2 * n, '\0');
  char* w = &out[0];
  JisMode mode = JisMode::Ascii;
  bool shifted = false;  // SO selects katakana until SI
  std::size_t i = 0;
  auto isJisByte = [](unsigned char c) { return c >= 0x21 && c <= 0x7E; };
  auto putJis = [&w](unsigned row, unsigned cell) {
    std::uint16_t code = jisToCp932(row, cell);
    if (code == 0) code = kGeta;  // an empty JIS cell, like any missing character
    *w++ = static_cast<char>(code >> 8);
    *w++ = static_cast<char>(code & 0xFF);
  };
  while (i < n) {
    unsigned char b = at(in, i);
    if (b == kEsc) {
      std::size_t len = readEscape(in, i, mode);
      if (len == 0) {
        *w++ = in[i++];
      } else {
        i += len;
        shifted = false;
      }
    } else if (b == kShiftOut || b == kShiftIn) {
      shifted = b == kShiftOut;
      ++i;
    } else if (!isJisByte(b)) {
      *w++ = in[i++];
    } else if (shifted || mode == JisMode::Kana) {
      *w++ = static_cast<char>(b <= 0x5F ? b + 0x80 : b);
      ++i;
    } else if (mode == JisMode::Ascii) {
      // Up to the next escape, shift or control byte: all copied as they are.
      std::size_t start = i;
      while (i < n && isJisByte(at(in, i))) ++i;
      std::memcpy(w, in.data() + start, i - start);
      w += i - start;
    } else if (mode == JisMode::Jis0208) {
      // A run of two-byte characters, read pair by pair.
      while (i + 1 < n && isJisByte(at(in, i)) && isJisByte(at(in, i + 1))) {
        putJis(at(in, i), at(in, i + 1));
        i += 2;
      }
      if (i < n && isJisByte(at(in, i))) {
        *w++ = '\x81';  // half a character: before a control byte or the end
        *w++ = '\xAC';
        ++i;
      }
    } else if (i + 1 < n && isJisByte(at(in, i + 1))) {
      *w++ = '\x81';  // JIS X 0212 has no Shift_JIS form
      *w++ = '\xAC';
      i += 2;
    } else {
      *w++ = '\x81';  // half a character
      *w++ = '\xAC';
      ++i;
    }
  }
  out.resize(static_cast<std::size_t>(w - out.data()));
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
    appendUtf8AsCp932(out, body);
  } else {
    out += utf16ToSjis(body, encoding == PageEncoding::Utf16Le);
  }
  return out;
}

std::size_t convertedLimit(std::size_t pageSize) { return pageSize + pageSize * 3 / 10; }

// The scan's buffer holds 1.3 times the page; only 〓 for single broken
// bytes can grow a text that far.
std::string cutToLimit(std::string out, std::size_t pageSize) {
  if (out.size() > convertedLimit(pageSize)) cutInPlace(out, convertedLimit(pageSize));
  return out;
}

// The page converted as detectPageEncoding judges it, or nothing when that
// is Shift_JIS (the page itself). The UTF-8 reading is converted while it is
// judged and dropped when a later byte rules it out; the EUC-JP reading,
// when the first 16 KB favour it, is converted while its penalty is counted
// and the Shift_JIS penalty is then counted only up to that total.
std::optional<std::string> convertedUnlessShiftJis(std::string_view page) {
  if (std::optional<PageEncoding> named = detect::declaredEncoding(page)) {
    if (*named == PageEncoding::ShiftJis) return std::nullopt;
    return convertPageAs(page, *named);
  }
  std::string out;
  if (utf8ToCp932IfUtf8(page, out)) return cutToLimit(std::move(out), page.size());
  std::string_view probe = page.substr(0, detect::kProbeBytes);
  if (detect::eucJpPenalty(probe, detect::kNoCap) < detect::shiftJisPenalty(probe, detect::kNoCap)) {
    long euc = 0;
    out = eucJpToSjis(page, &euc);
    if (detect::shiftJisPenalty(page, euc + 1) > euc) return cutToLimit(std::move(out), page.size());
    return std::nullopt;
  }
  long sjis = detect::shiftJisPenalty(page, detect::kNoCap);
  if (detect::eucJpPenalty(page, sjis) < sjis) return cutToLimit(eucJpToSjis(page), page.size());
  return std::nullopt;
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
  return cutToLimit(std::move(out), page.size());
}

std::string convertPageToSjis(std::string_view page) {
  std::optional<std::string> out = convertedUnlessShiftJis(page);
  return out ? std::move(*out) : std::string(page);
}

void convertPageToSjisInPlace(std::string& page) {
  std::optional<std::string> out = convertedUnlessShiftJis(page);
  if (out) page.swap(*out);
}

}  // namespace ls
