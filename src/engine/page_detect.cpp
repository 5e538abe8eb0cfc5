// Telling which Japanese encoding a fetched page is written in.
#include <algorithm>
#include <cstdint>

#include "common/cp932.h"
#include "common/text.h"
#include "engine/page_convert.h"
#include "engine/page_detect.h"

namespace ls {
namespace {

constexpr std::size_t kMetaWindow = 4096;  // how far into the body a charset is looked for
constexpr std::size_t kNpos = std::string_view::npos;

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive search for a lower-case ASCII needle in [from, to).
std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from,
                       std::size_t to) {
  to = std::min(to, text.size());
  if (needle.empty() || to < needle.size()) return kNpos;
  for (std::size_t i = from; i + needle.size() <= to; ++i) {
    if (lower(text[i]) != needle[0]) continue;
    std::size_t k = 1;
    while (k < needle.size() && lower(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return kNpos;
}

bool hasStatusLine(std::string_view page) { return page.substr(0, 5) == "HTTP/"; }

// End of the first empty line (LF, CRs, LF), or kNpos.
std::size_t emptyLineEnd(std::string_view page) {
  for (std::size_t i = page.find('\n'); i != kNpos; i = page.find('\n', i + 1)) {
    std::size_t j = i + 1;
    while (j < page.size() && page[j] == '\r') ++j;
    if (j < page.size() && page[j] == '\n') return j + 1;
  }
  return kNpos;
}

std::optional<ByteOrderMark> markAt(std::string_view page, std::size_t pos) {
  std::string_view s = page.substr(pos);
  if (s.substr(0, 3) == "\xEF\xBB\xBF") return ByteOrderMark{PageEncoding::Utf8, pos, 3};
  if (s.substr(0, 2) == "\xFF\xFE") return ByteOrderMark{PageEncoding::Utf16Le, pos, 2};
  if (s.substr(0, 2) == "\xFE\xFF") return ByteOrderMark{PageEncoding::Utf16Be, pos, 2};
  return std::nullopt;
}

}  // namespace

std::size_t detect::bodyStart(std::string_view page) {
  if (!hasStatusLine(page)) return 0;
  std::size_t end = emptyLineEnd(page);
  if (end != kNpos) return end;
  for (std::size_t i = page.find('<'); i != kNpos; i = page.find('<', i + 1)) {
    std::size_t j = i;
    while (j > 0 && (page[j - 1] == ' ' || page[j - 1] == '\t')) --j;
    if (j == 0 || (page[j - 1] != ':' && page[j - 1] != ',')) return i;
  }
  return page.size();
}

namespace {

struct Alias {
  std::string_view name;
  PageEncoding encoding;
};

// No name begins another name of a different encoding, so the order is free.
constexpr Alias kAliases[] = {
    {"shift_jis", PageEncoding::ShiftJis},   {"shift-jis", PageEncoding::ShiftJis},
    {"x-sjis", PageEncoding::ShiftJis},      {"sjis", PageEncoding::ShiftJis},
    {"windows-31j", PageEncoding::ShiftJis}, {"cp932", PageEncoding::ShiftJis},
    {"ms932", PageEncoding::ShiftJis},       {"ms_kanji", PageEncoding::ShiftJis},
    {"csshiftjis", PageEncoding::ShiftJis},  {"x-euc-jp", PageEncoding::EucJp},
    {"euc-jp", PageEncoding::EucJp},         {"eucjp", PageEncoding::EucJp},
    {"x-eucjp", PageEncoding::EucJp},        {"cseucpkdfmtjapanese", PageEncoding::EucJp},
    {"iso-2022-jp", PageEncoding::Iso2022Jp}, {"csiso2022jp", PageEncoding::Iso2022Jp},
    {"utf-8", PageEncoding::Utf8},           {"utf8", PageEncoding::Utf8},
};

// The encoding whose name begins the value at `pos` (after blanks and a quote).
std::optional<PageEncoding> charsetValue(std::string_view text, std::size_t pos, std::size_t end) {
  end = std::min(end, text.size());
  while (pos < end && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '"' || text[pos] == '\''))
    ++pos;
  for (const Alias& a : kAliases) {
    if (pos + a.name.size() <= end && findNoCase(text, a.name, pos, pos + a.name.size()) == pos)
      return a.encoding;
  }
  return std::nullopt;
}

// The value of `key` = ... inside [from, to), e.g. charset= in a tag.
std::optional<PageEncoding> namedIn(std::string_view text, std::string_view key, std::size_t from,
                                    std::size_t to) {
  for (std::size_t k = findNoCase(text, key, from, to); k != kNpos;
       k = findNoCase(text, key, k + 1, to)) {
    std::size_t p = k + key.size();
    while (p < to && (text[p] == ' ' || text[p] == '\t')) ++p;
    if (p < to && text[p] == '=') {
      if (auto enc = charsetValue(text, p + 1, to)) return enc;
    }
  }
  return std::nullopt;
}

std::optional<PageEncoding> headerCharset(std::string_view page, std::size_t body) {
  std::size_t field = findNoCase(page, "content-type:", 0, body);
  if (field == kNpos) return std::nullopt;
  // A real header ends the value at the line end; a joined one does not, so
  // the value's length is bounded instead.
  std::size_t end = std::min(body, field + 256);
  std::size_t eol = page.substr(0, end).find_first_of("\r\n", field);
  if (eol != kNpos) end = eol;
  return namedIn(page, "charset", field, end);
}

std::optional<PageEncoding> markupCharset(std::string_view page, std::size_t body) {
  std::size_t limit = std::min(page.size(), body + kMetaWindow);
  for (std::size_t tag = page.find('<', body); tag != kNpos && tag < limit;
       tag = page.find('<', tag + 1)) {
    bool meta = findNoCase(page, "<meta", tag, tag + 5) == tag;
    bool xml = findNoCase(page, "<?xml", tag, tag + 5) == tag;
    if (!meta && !xml) continue;
    // A tag that starts in the window may end a little after it.
    std::size_t end = std::min(page.size(), limit + 1024);
    std::size_t close = page.substr(0, end).find('>', tag);
    if (close != kNpos) end = close;
    if (auto enc = namedIn(page, meta ? "charset" : "encoding", tag, end)) return enc;
  }
  return std::nullopt;
}

bool hasIso2022Escape(std::string_view page) {
  for (std::size_t i = page.find('\x1B'); i != kNpos; i = page.find('\x1B', i + 1)) {
    std::string_view seq = page.substr(i + 1, 2);
    if (seq == "$B" || seq == "$@" || seq == "(J" || seq == "(B" || seq == "(I") return true;
  }
  return false;
}

bool looksLikeUtf8(std::string_view page) {
  std::size_t multi = 0, malformed = 0;
  std::size_t i = 0;
  const std::size_t n = page.size();
  while ((i = asciiRunEnd(page, i)) < n) {
    char32_t cp;
    std::size_t len = decodeUtf8Char(page, i, cp);
    if (cp != kNoChar) {
      ++multi;
    } else if (i + len < n) {  // a character cut off by the end is not an error
      ++malformed;
      // Even if every byte left began a character the ratio would fail.
      if (malformed * 16 > multi + (n - i) / 2) return false;
    }
    i += len;
  }
  return multi > 0 && malformed * 16 <= multi;
}

using detect::kIllegal;
using detect::kJisX0212;
using detect::kKana;
using detect::kNoCap;
using detect::kUnlikely;

bool isUserDefined(std::uint16_t sjis) { return sjis >= 0xF040 && sjis <= 0xF9FC; }

long sjisCodePenalty(std::uint16_t sjis) {
  if (isUserDefined(sjis) || decodeCp932Char(sjis) == 0xFFFD) return kUnlikely;
  return 0;
}

bool isEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

}  // namespace

long detect::shiftJisPenalty(std::string_view page, long cap) {
  long penalty = 0;
  const std::size_t n = page.size();
  for (std::size_t i = 0; (i = asciiRunEnd(page, i)) < n && penalty < cap; ++i) {
    unsigned char b = at(page, i);
    if (b >= 0xA1 && b <= 0xDF) {
      penalty += kKana;
    } else if (isSjisLead(b)) {
      if (i + 1 == n) break;  // cut off by the end
      unsigned char t = at(page, i + 1);
      if (t < 0x40 || t == 0x7F || t > 0xFC) {
        penalty += kIllegal;  // the byte after a broken lead is read again on its own
      } else {
        penalty += sjisCodePenalty(static_cast<std::uint16_t>(b << 8 | t));
        ++i;
      }
    } else {
      penalty += kIllegal;  // 0x80, 0xA0, 0xFD-0xFF
    }
  }
  return penalty;
}

long detect::eucJpPenalty(std::string_view page, long cap) {
  long penalty = 0;
  const std::size_t n = page.size();
  for (std::size_t i = 0; (i = asciiRunEnd(page, i)) < n && penalty < cap; ++i) {
    unsigned char b = at(page, i);
    std::size_t left = n - i - 1;
    if (b == 0x8E) {
      if (left == 0) break;
      if (at(page, i + 1) >= 0xA1 && at(page, i + 1) <= 0xDF) {
        penalty += kKana;
        ++i;
      } else {
        penalty += kIllegal;
      }
    } else if (b == 0x8F) {
      if (left >= 2 && isEucByte(at(page, i + 1)) && isEucByte(at(page, i + 2))) {
        penalty += kJisX0212;
        i += 2;
      } else if (left == 0 || (left == 1 && isEucByte(at(page, i + 1)))) {
        break;
      } else {
        penalty += kIllegal;
      }
    } else if (isEucByte(b)) {
      if (left == 0) break;
      unsigned char t = at(page, i + 1);
      if (isEucByte(t)) {
        if (jisToCp932(b - 0x80, t - 0x80) == 0) penalty += kUnlikely;
        ++i;
      } else {
        penalty += kIllegal;
      }
    } else {
      penalty += kIllegal;
    }
  }
  return penalty;
}

// EUC-JP wins only with a lower penalty than Shift_JIS. The reading that
// looks better on the first 16 KB is counted in full, and the other one only
// until it reaches that total, which gives the same answer in about one pass.
namespace {

bool eucJpBeatsShiftJis(std::string_view page) {
  using detect::eucJpPenalty;
  using detect::shiftJisPenalty;
  std::string_view probe = page.substr(0, detect::kProbeBytes);
  if (eucJpPenalty(probe, kNoCap) < shiftJisPenalty(probe, kNoCap)) {
    long euc = eucJpPenalty(page, kNoCap);
    return shiftJisPenalty(page, euc + 1) > euc;
  }
  long sjis = shiftJisPenalty(page, kNoCap);
  return eucJpPenalty(page, sjis) < sjis;
}

}  // namespace

std::optional<ByteOrderMark> findByteOrderMark(std::string_view page) {
  if (auto m = markAt(page, 0)) return m;
  if (!hasStatusLine(page)) return std::nullopt;
  std::size_t end = emptyLineEnd(page);
  if (end != kNpos) return markAt(page, end);
  std::size_t firstHigh = 0;
  while (firstHigh < page.size() && at(page, firstHigh) < 0x80) ++firstHigh;
  return firstHigh < page.size() ? markAt(page, firstHigh) : std::nullopt;
}

std::optional<PageEncoding> detect::declaredEncoding(std::string_view page) {
  if (auto mark = findByteOrderMark(page)) return mark->encoding;
  std::size_t body = detect::bodyStart(page);
  if (auto enc = headerCharset(page, body)) return *enc;
  if (auto enc = markupCharset(page, body)) return *enc;
  if (hasIso2022Escape(page)) return PageEncoding::Iso2022Jp;
  return std::nullopt;
}

// The conversion does the same in fewer passes (convertedUnlessShiftJis);
// this is the plain order that its result must match.
PageEncoding detectPageEncoding(std::string_view page) {
  if (auto enc = detect::declaredEncoding(page)) return *enc;
  if (looksLikeUtf8(page)) return PageEncoding::Utf8;
  return eucJpBeatsShiftJis(page) ? PageEncoding::EucJp : PageEncoding::ShiftJis;
}

}  // namespace ls
