// Shift_JIS (CP932) <-> Unicode over the generated tables in cp932_table.inc.
#include "common/cp932.h"

#include "common/text.h"

namespace ls {
namespace {

#include "common/cp932_table.inc"

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint16_t kGeta = 0x81AC;  // 〓, stands for what Shift_JIS cannot hold

bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

void appendCode(std::string& out, std::uint16_t code) {
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

// U+0000 encodes to the byte 0, which encodeCp932Char cannot report.
void appendEncoded(std::string& out, char32_t cp) {
  if (cp == 0) {
    out.push_back('\0');
    return;
  }
  std::uint16_t code = encodeCp932Char(cp);
  appendCode(out, code != 0 ? code : kGeta);
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Walks a Shift_JIS text and hands each decoded code point to `sink`. A lead
// byte whose next byte cannot be a trail gives U+FFFD alone, so an ASCII byte
// after a broken lead byte is kept.
template <typename Sink>
void decodeEach(std::string_view sjis, Sink sink) {
  const auto* p = reinterpret_cast<const unsigned char*>(sjis.data());
  const auto* end = p + sjis.size();
  while (p < end) {
    unsigned char b = *p++;
    if (b < 0x80) {
      sink(static_cast<char32_t>(b));
    } else if (isSjisLead(b)) {
      if (p < end && isTrail(*p)) {
        sink(decodeCp932Char(static_cast<std::uint16_t>((b << 8) | *p++)));
      } else {
        sink(static_cast<char32_t>(kReplacement));
      }
    } else {
      sink(decodeCp932Char(b));
    }
  }
}

// The Shift_JIS code at a JIS row and cell, by the arithmetic alone.
std::uint16_t jisToSjis(unsigned row, unsigned cell) {
  unsigned lead = ((row + 1) >> 1) + (row <= 0x5E ? 0x70 : 0xB0);
  unsigned trail = (row & 1) ? cell + 0x1F + (cell >= 0x60) : cell + 0x7E;
  return static_cast<std::uint16_t>(lead << 8 | trail);
}

// One step of strict UTF-8 decoding (see decodeUtf8Char), here so that the
// converter below gets it inlined.
inline std::size_t utf8Step(const unsigned char* s, std::size_t n, std::size_t pos, char32_t& cp) {
  unsigned char b = s[pos];
  if (b < 0x80) {
    cp = b;
    return 1;
  }
  // Well-formed sequences after Unicode table 3-7: the second byte's range
  // depends on the first, which rules out overlongs, surrogates and values
  // beyond U+10FFFF.
  std::size_t len;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  } else {
    cp = kNoChar;
    return 1;
  }
  char32_t value = b & (0xFF >> (len + 1));
  for (std::size_t k = 1; k < len; ++k) {
    if (pos + k >= n || s[pos + k] < lo || s[pos + k] > hi) {
      cp = kNoChar;  // the well-formed prefix so far is one malformed unit
      return k;
    }
    value = (value << 6) | (s[pos + k] & 0x3F);
    lo = 0x80;
    hi = 0xBF;
  }
  cp = value;
  return len;
}

}  // namespace

const std::uint16_t* jisToCp932Table() {
  // Built once from the tables: one lookup instead of a decode and an encode
  // for every character of an EUC-JP or ISO-2022-JP page.
  struct Table {
    std::uint16_t code[94][94];
    Table() {
      for (unsigned r = 0; r < 94; ++r) {
        for (unsigned c = 0; c < 94; ++c) {
          char32_t cp = decodeCp932Char(jisToSjis(r + 0x21, c + 0x21));
          code[r][c] = cp == kReplacement ? 0 : encodeCp932Char(cp);
        }
      }
    }
  };
  static const Table table;
  return &table.code[0][0];
}

std::uint16_t jisToCp932(unsigned row, unsigned cell) {
  return jisToCp932Table()[(row - 0x21) * 94 + (cell - 0x21)];
}

char32_t decodeCp932Char(std::uint16_t code) {
  if (code < 0x80) return code;
  if (code <= 0xFF) return (code >= 0xA1 && code <= 0xDF) ? 0xFF61 + (code - 0xA1) : kReplacement;
  unsigned lead = code >> 8;
  unsigned trail = code & 0xFF;
  unsigned row = kLeadRow[lead];
  if (row == 0 || trail < kTrailFirst || trail >= kTrailFirst + kTrailCount) return kReplacement;
  char16_t cp = kDecode[row - 1][trail - kTrailFirst];
  return cp != 0 ? cp : kReplacement;
}

std::uint16_t encodeCp932Char(char32_t cp) {
  if (cp < 0x80) return static_cast<std::uint16_t>(cp);
  if (cp > 0xFFFF) return 0;
  return kEncode[kEncodeBlock[cp >> kEncodeBlockBits]][cp & ((1u << kEncodeBlockBits) - 1)];
}

std::u16string cp932ToUtf16(std::string_view sjis) {
  std::u16string out;
  out.reserve(sjis.size());
  decodeEach(sjis, [&out](char32_t cp) { out.push_back(static_cast<char16_t>(cp)); });
  return out;
}

std::string cp932ToUtf8(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 2);
  decodeEach(sjis, [&out](char32_t cp) { appendUtf8(out, cp); });
  return out;
}

std::string utf16ToCp932(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 2);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char16_t u = utf16[i];
    if (u >= 0xD800 && u <= 0xDFFF) {
      // A pair stands for a character beyond the BMP, which Shift_JIS lacks
      // as much as a lone surrogate: one 〓 either way.
      if (u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) ++i;
      appendCode(out, kGeta);
    } else {
      appendEncoded(out, u);
    }
  }
  return out;
}

std::size_t decodeUtf8Char(std::string_view text, std::size_t pos, char32_t& cp) {
  return utf8Step(reinterpret_cast<const unsigned char*>(text.data()), text.size(), pos, cp);
}

namespace {

// The UTF-8 conversion, written through `w` into room the caller made (two
// bytes per input byte, or see utf8ToCp932IfUtf8). With kJudge it also
// counts characters and malformed units as the page detection does, and
// stops with false once the malformed ones can no longer stay within one per
// 16 characters.
template <bool kJudge>
bool convertUtf8(const unsigned char* s, std::size_t n, char*& w) {
  std::string_view text(reinterpret_cast<const char*>(s), n);
  std::size_t multi = 0, malformed = 0;
  std::size_t i = 0;
  while (i < n) {
    // Runs of ASCII, the bulk of any page, are copied without decoding.
    std::size_t run = asciiRunEnd(text, i);
    std::memcpy(w, s + i, run - i);
    w += run - i;
    i = run;
    if (i == n) break;
    // Runs of three-byte characters with no special second-byte range:
    // nearly all of Japanese, converted without the general step.
    while (i + 2 < n && s[i] >= 0xE1 && s[i] <= 0xEF && s[i] != 0xED && (s[i + 1] & 0xC0) == 0x80 &&
           (s[i + 2] & 0xC0) == 0x80) {
      char32_t c = (s[i] & 0x0Fu) << 12 | (s[i + 1] & 0x3Fu) << 6 | (s[i + 2] & 0x3Fu);
      std::uint16_t code = kEncode[kEncodeBlock[c >> kEncodeBlockBits]][c & ((1u << kEncodeBlockBits) - 1)];
      if (code == 0) code = kGeta;
      if (code > 0xFF) *w++ = static_cast<char>(code >> 8);
      *w++ = static_cast<char>(code & 0xFF);
      i += 3;
      if constexpr (kJudge) ++multi;
    }
    if (i == n || s[i] < 0x80) continue;
    char32_t cp;
    unsigned char b = s[i];
    std::size_t len;
    if (b >= 0xE1 && b <= 0xEF && b != 0xED && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 &&
        (s[i + 2] & 0xC0) == 0x80) {
      // Three bytes with no special second-byte range: nearly all of Japanese.
      cp = (b & 0x0Fu) << 12 | (s[i + 1] & 0x3Fu) << 6 | (s[i + 2] & 0x3Fu);
      len = 3;
    } else {
      len = utf8Step(s, n, i, cp);
    }
    if constexpr (kJudge) {
      if (cp != kNoChar) {
        ++multi;
      } else if (i + len < n) {  // a character cut off by the end is no error
        ++malformed;
        // Even if every byte left began a character the ratio would fail.
        if (malformed * 16 > multi + (n - i) / 2) return false;
      }
    }
    i += len;
    std::uint16_t code = cp == kNoChar ? 0 : encodeCp932Char(cp);
    if (code == 0) code = kGeta;
    if (code > 0xFF) *w++ = static_cast<char>(code >> 8);
    *w++ = static_cast<char>(code & 0xFF);
  }
  return !kJudge || (multi > 0 && malformed * 16 <= multi);
}

bool isContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

// A place at or a few bytes before p where no decoding step goes across:
// a step takes only continuation bytes after its first, four at most.
std::size_t stepBoundary(const unsigned char* s, std::size_t p) {
  for (std::size_t k = 0; k < 4; ++k)
    if (!isContinuation(s[p - k])) return p - k;
  return p;
}

}  // namespace

void appendUtf8AsCp932(std::string& out, std::string_view utf8) {
  // Written through a pointer into room for the worst case (a malformed byte
  // gives two), then trimmed. The room is made a slice at a time, so that
  // the bytes it is first filled with stay in the cache until overwritten.
  constexpr std::size_t kSlice = 1 << 14;
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  out.reserve(out.size() + n + 2 * kSlice);
  for (std::size_t i = 0; i < n;) {
    const std::size_t end = n - i > kSlice ? stepBoundary(s, i + kSlice) : n;
    const std::size_t at = out.size();
    out.resize(at + 2 * (end - i));
    char* w = &out[at];
    convertUtf8<false>(s + i, end - i, w);
    out.resize(static_cast<std::size_t>(w - out.data()));
    i = end;
  }
}

std::string utf8ToCp932(std::string_view utf8) {
  std::string out;
  appendUtf8AsCp932(out, utf8);
  return out;
}

bool utf8ToCp932IfUtf8(std::string_view utf8, std::string& out) {
  const std::size_t n = utf8.size();
  // While the ratio holds, at most one unit in 32 bytes is malformed, and
  // only those (two bytes for one) and the unit cut off by the end grow.
  out.assign(n + n / 16 + 8, '\0');
  char* w = &out[0];
  if (!convertUtf8<true>(reinterpret_cast<const unsigned char*>(utf8.data()), n, w)) {
    out.clear();
    return false;
  }
  out.resize(static_cast<std::size_t>(w - out.data()));
  return true;
}

}  // namespace ls
