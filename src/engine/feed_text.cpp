#include "engine/feed_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/cp932.h"
#include "common/text.h"
#include "engine/byte_blocks.h"
#include "engine/feed_markup.h"

namespace ls {

namespace {

struct NamedEntity {
  std::string_view name;
  char32_t cp;
};

// The XML five, and the HTML names that turn up in feeds' titles.
constexpr NamedEntity kEntities[] = {
    {"amp", '&'},        {"lt", '<'},         {"gt", '>'},         {"quot", '"'},       {"apos", '\''},
    {"nbsp", 0xA0},      {"ensp", 0x2002},    {"emsp", 0x2003},    {"thinsp", 0x2009},  {"hellip", 0x2026},
    {"mdash", 0x2014},   {"ndash", 0x2013},   {"minus", 0x2212},   {"laquo", 0xAB},     {"raquo", 0xBB},
    {"lsaquo", 0x2039},  {"rsaquo", 0x203A},  {"ldquo", 0x201C},   {"rdquo", 0x201D},   {"lsquo", 0x2018},
    {"rsquo", 0x2019},   {"sbquo", 0x201A},   {"bdquo", 0x201E},   {"copy", 0xA9},      {"reg", 0xAE},
    {"trade", 0x2122},   {"middot", 0xB7},    {"bull", 0x2022},    {"yen", 0xA5},       {"pound", 0xA3},
    {"cent", 0xA2},      {"euro", 0x20AC},    {"times", 0xD7},     {"divide", 0xF7},    {"deg", 0xB0},
    {"plusmn", 0xB1},    {"para", 0xB6},      {"sect", 0xA7},      {"larr", 0x2190},    {"rarr", 0x2192},
    {"uarr", 0x2191},    {"darr", 0x2193},    {"harr", 0x2194},    {"rArr", 0x21D2},    {"hArr", 0x21D4},
    {"hearts", 0x2665},  {"spades", 0x2660},  {"clubs", 0x2663},   {"diams", 0x2666},   {"dagger", 0x2020},
    {"Dagger", 0x2021},  {"permil", 0x2030},  {"prime", 0x2032},   {"Prime", 0x2033},   {"infin", 0x221E},
    {"ne", 0x2260},      {"le", 0x2266},      {"ge", 0x2267},      {"there4", 0x2234},  {"acute", 0xB4},
    {"uml", 0xA8},       {"shy", 0xAD},       {"zwnj", 0x200C},    {"zwj", 0x200D},     {"lrm", 0x200E},
    {"rlm", 0x200F},     {"iexcl", 0xA1},     {"iquest", 0xBF},    {"frac12", 0xBD},    {"micro", 0xB5},
};

constexpr std::size_t kLongestName = 8;

void appendBlank(std::string& out) { out.push_back(' '); }

// A decoded character in Shift_JIS.
void appendChar(std::string& out, char32_t cp) {
  switch (cp) {
    case '\t': case '\n': case '\r': case 0xA0: case 0x2002: case 0x2003: case 0x2009:
      appendBlank(out);
      return;
    case 0xAD: case 0x200B: case 0x200C: case 0x200D: case 0x200E: case 0x200F:
      return;  // invisible: soft hyphen, zero-width and direction marks
    case 0x2013:
      out.push_back('-');  // en dash: Shift_JIS has none, and 〓 reads worse
      return;
    case 0x2022:
      cp = 0x30FB;  // bullet: the katakana middle dot
      break;
    default:
      break;
  }
  if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return;
  std::uint16_t code = encodeCp932Char(cp);
  if (code == 0) code = 0x81AC;  // 〓
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isBlankByte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Removes tags as the HTML of a title holds them, in place.
void stripHtmlTags(std::string& text) {
  std::size_t w = 0, i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const char c = text[i];
    if (c == '<' && i + 1 < n) {
      const char d = text[i + 1];
      if ((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z') || d == '/' || d == '!' || d == '?') {
        const std::size_t gt = text.find('>', i + 1);
        if (gt == std::string::npos) break;  // the rest stays as it is
        i = gt + 1;
        continue;
      }
    }
    text[w++] = c;
    ++i;
  }
  if (i < n) {
    std::memmove(&text[w], &text[i], n - i);
    w += n - i;
  }
  text.resize(w);
}

// Decodes the references of a text that holds no markup.
std::string decodeReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t amp = text.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, amp - i));
    const std::size_t took = appendReference(out, text, amp);
    if (took == 0) out.push_back('&');
    i = amp + (took == 0 ? 1 : took);
  }
  return out;
}

// Every run of blanks one space, none at either end, in place.
void collapseBlanks(std::string& text) {
  std::size_t w = 0;
  bool pending = false;
  for (char c : text) {
    if (isBlankByte(c)) {
      pending = w > 0;
      continue;
    }
    if (pending) text[w++] = ' ';
    pending = false;
    text[w++] = c;
  }
  text.resize(w);
}

bool isNameByte(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c); }

// The headline of a title without markup, in one pass: references decoded
// and blanks collapsed as they come. False, with `out` undefined, when the
// title needs the steps one by one: markup, or in HTML a '<' from a
// reference or a '&' that a second decoding could join to the next bytes.
bool markupFreeTitle(std::string_view raw, TitleMarkup markup, std::string& out) {
  const std::size_t n = raw.size();
  const bool html = markup == TitleMarkup::kHtml;
  out.resize(n);  // neither a reference nor a blank run writes more than it takes
  char* const begin = &out[0];
  char* w = begin;
  bool pending = false;
  std::string ref;
  // Runs of bytes that are no blank, '&' or '<' are copied as they are.
  auto put = [&](char c) {
    if (pending) *w++ = ' ';
    pending = false;
    *w++ = c;
  };
  for (std::size_t i = 0; i < n;) {
    const std::size_t stop = std::min(blocks::findMarkupOrBlank(raw.data(), n, i), n);
    if (stop > i) {
      put(raw[i]);
      std::memcpy(w, raw.data() + i + 1, stop - i - 1);
      w += stop - i - 1;
      i = stop;
      continue;
    }
    const char c = raw[i];
    if (c == '<') return false;
    if (isBlankByte(c)) {
      pending = w != begin;
      ++i;
      continue;
    }
    if (c != '&') {
      put(c);
      ++i;
      continue;
    }
    ref.clear();
    std::size_t took = appendReference(ref, raw, i);
    if (took == 0) {
      ref.push_back('&');
      took = 1;
    }
    i += took;
    for (char d : ref) {
      if (isBlankByte(d)) {
        pending = w != begin;
        continue;
      }
      if (html && (d == '<' || (d == '&' && i < n && (isNameByte(raw[i]) || raw[i] == '#' || raw[i] == '&'))))
        return false;
      put(d);
    }
  }
  out.resize(static_cast<std::size_t>(w - begin));
  return true;
}

}  // namespace

std::size_t appendReference(std::string& out, std::string_view raw, std::size_t at) {
  const std::size_t n = raw.size();
  std::size_t k = at + 1;
  if (k < n && raw[k] == '#') {
    ++k;
    const bool hex = k < n && (raw[k] == 'x' || raw[k] == 'X');
    if (hex) ++k;
    const std::size_t digitsAt = k;
    std::uint32_t cp = 0;
    for (; k < n; ++k) {
      const int v = hex ? hexValue(raw[k]) : (isDigit(raw[k]) ? raw[k] - '0' : -1);
      if (v < 0) break;
      cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
      if (cp > 0x10FFFF) return 0;
    }
    if (k == digitsAt || k >= n || raw[k] != ';') return 0;
    if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
    appendChar(out, cp);
    return k + 1 - at;
  }
  const std::size_t nameAt = k;
  while (k < n && k - nameAt <= kLongestName &&
         ((raw[k] >= 'a' && raw[k] <= 'z') || (raw[k] >= 'A' && raw[k] <= 'Z') || isDigit(raw[k])))
    ++k;
  if (k >= n || raw[k] != ';') return 0;
  const std::string_view name = raw.substr(nameAt, k - nameAt);
  for (const NamedEntity& e : kEntities) {
    if (e.name == name) {
      appendChar(out, e.cp);
      return k + 1 - at;
    }
  }
  return 0;
}

void appendXmlText(std::string& out, std::string_view raw) {
  const std::size_t n = raw.size();
  std::size_t i = 0;
  bool noGtLeft = false;  // once no '>' follows, none follows any later '<'
  while (i < n) {
    std::size_t stop = i;
    while (stop < n && raw[stop] != '<' && raw[stop] != '&') ++stop;
    out.append(raw.substr(i, stop - i));
    i = stop;
    if (i >= n) break;
    if (raw[i] == '&') {
      const std::size_t took = appendReference(out, raw, i);
      if (took == 0) out.push_back('&');
      i += took == 0 ? 1 : took;
    } else if (xml::startsAt(raw, i, "<![CDATA[")) {
      const std::size_t end = xml::cdataEnd(raw, i);
      const std::size_t contentEnd = end >= i + 12 && raw.substr(end - 3, 3) == "]]>" ? end - 3 : end;
      out.append(raw.substr(i + 9, contentEnd > i + 9 ? contentEnd - i - 9 : 0));
      i = end;
    } else if (xml::startsAt(raw, i, "<!--")) {
      i = xml::commentEnd(raw, i);
    } else {
      // Markup inside the element: a tag up to its '>' goes, a lone '<' stays.
      const std::size_t gt = noGtLeft ? std::string_view::npos : raw.find('>', i + 1);
      if (gt == std::string_view::npos) noGtLeft = true;
      const char d = i + 1 < n ? raw[i + 1] : ' ';
      const bool tag = gt != std::string_view::npos &&
                       ((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z') || d == '/' || d == '!' || d == '?' ||
                        d == '_' || d == ':');
      if (!tag) {
        out.push_back('<');
        ++i;
      } else {
        i = gt + 1;
      }
    }
  }
}

std::string titleText(std::string_view raw, TitleMarkup markup) {
  std::string text;
  // Most titles hold no markup.
  if (markupFreeTitle(raw, markup, text)) return text;
  text.clear();
  text.reserve(raw.size());
  appendXmlText(text, raw);
  if (markup == TitleMarkup::kHtml) {
    if (text.find('<') != std::string::npos) stripHtmlTags(text);
    if (text.find('&') != std::string::npos) text = decodeReferences(text);
  }
  collapseBlanks(text);
  return text;
}

bool plainUrlText(std::string_view raw, std::string_view& url) {
  raw = trimBlanks(raw);
  // Without an early exit the loop is vectorised; URLs are short.
  bool marked = false;
  for (char c : raw) marked |= (c == '<') | (c == '&') | (c == '\t') | (c == '\r') | (c == '\n');
  if (!marked) url = raw;
  return !marked;
}

std::string urlText(std::string_view raw) {
  // Most links are written plain.
  std::string_view plain;
  if (plainUrlText(raw, plain)) return std::string(plain);
  std::string text;
  appendXmlText(text, raw);
  std::size_t w = 0;
  for (char c : text)
    if (c != '\t' && c != '\n' && c != '\r') text[w++] = c;
  text.resize(w);
  return std::string(trimBlanks(text));
}

}  // namespace ls
