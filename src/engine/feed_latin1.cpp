#include "engine/feed_latin1.h"

#include "common/cp932.h"
#include "common/text.h"

namespace ls {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The characters of 0x80-0x9F; 0 where windows-1252 has none.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from, std::size_t to) {
  if (to > text.size()) to = text.size();
  for (std::size_t i = from; i + needle.size() <= to; ++i)
    if (equalsIgnoreAsciiCase(text.substr(i, needle.size()), needle)) return i;
  return npos;
}

// The value after `key` and '=' in [from, to), quotes and blanks dropped.
std::string_view valueOf(std::string_view text, std::string_view key, std::size_t from, std::size_t to) {
  std::size_t k = findNoCase(text, key, from, to);
  if (k == npos) return {};
  std::size_t p = k + key.size();
  while (p < to && (text[p] == ' ' || text[p] == '\t')) ++p;
  if (p >= to || text[p] != '=') return {};
  ++p;
  while (p < to && (text[p] == ' ' || text[p] == '\t' || text[p] == '"' || text[p] == '\'')) ++p;
  std::size_t end = p;
  while (end < to && text[end] != '"' && text[end] != '\'' && text[end] != ';' && text[end] != ' ' &&
         text[end] != '?' && text[end] != '\r' && text[end] != '\n')
    ++end;
  return text.substr(p, end - p);
}

bool isWindows1252Name(std::string_view name) {
  for (std::string_view known : {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "windows-1252", "cp1252",
                                 "x-cp1252"})
    if (equalsIgnoreAsciiCase(name, known)) return true;
  return false;
}

}  // namespace

bool declaresWindows1252(std::string_view fileBytes, std::size_t body) {
  std::size_t field = findNoCase(fileBytes, "content-type:", 0, body);
  if (field != npos) {
    std::size_t end = fileBytes.find_first_of("\r\n", field);
    if (end == npos || end > body) end = body;
    std::string_view charset = valueOf(fileBytes, "charset", field, end);
    if (!charset.empty()) return isWindows1252Name(charset);
  }
  // The XML declaration stands at the body's start, after blanks at most.
  std::size_t decl = fileBytes.find_first_not_of(" \t\r\n", body);
  if (decl == npos || findNoCase(fileBytes, "<?xml", decl, decl + 5) != decl) return false;
  std::size_t close = fileBytes.find("?>", decl);
  if (close == npos) return false;
  return isWindows1252Name(valueOf(fileBytes, "encoding", decl, close));
}

void windows1252ToSjisInPlace(std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  if (i == text.size()) return;
  std::string out(text, 0, i);
  out.reserve(text.size() + text.size() / 8);
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    const char32_t cp = c < 0xA0 ? kHighControls[c - 0x80] : c;
    std::uint16_t sjis = cp ? encodeCp932Char(cp) : 0;
    if (sjis == 0) sjis = 0x81AC;  // 〓
    if (sjis > 0xFF) out += static_cast<char>(sjis >> 8);
    out += static_cast<char>(sjis & 0xFF);
  }
  text = std::move(out);
}

}  // namespace ls
