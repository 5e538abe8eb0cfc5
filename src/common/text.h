// Byte-wise helpers for Shift_JIS texts held as std::string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ls {

// True for a byte that starts a two-byte Shift_JIS character.
inline bool isSjisLead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of the longest prefix of `text` that has at most `limit` bytes and
// does not end in the first byte of a double-byte character. A text that
// already fits is kept whole.
std::size_t cutLength(std::string_view text, std::size_t limit);

// `text` cut to `limit` bytes at a character boundary.
inline std::string_view cutToBytes(std::string_view text, std::size_t limit) {
  return text.substr(0, cutLength(text, limit));
}
inline void cutInPlace(std::string& text, std::size_t limit) {
  text.resize(cutLength(text, limit));
}

// A comma list: entries split from left to right; a leading comma or two
// commas in a row give an empty entry (which occurs in every text), a
// trailing comma gives none, and an empty text gives no entry at all.
std::vector<std::string_view> splitCommaList(std::string_view list);

// Every entry of the comma list occurs in `text` (true for an empty list).
bool containsAll(std::string_view text, std::string_view commaList);
bool containsAll(std::string_view text, const std::vector<std::string_view>& entries);
// Some entry of the comma list occurs in `text` (false for an empty list).
bool containsAny(std::string_view text, std::string_view commaList);
bool containsAny(std::string_view text, const std::vector<std::string_view>& entries);

// text.find(c, from), for searches whose hit is usually a few bytes away (the
// parts of one anchor): the first bytes are looked at in line, and only a
// longer way goes to memchr.
inline std::size_t findChar(std::string_view text, char c, std::size_t from = 0) {
  const std::size_t n = text.size();
  const char* s = text.data();
  const std::size_t inlineEnd = from + 8 < n ? from + 8 : n;
  for (std::size_t i = from; i < inlineEnd; ++i)
    if (s[i] == c) return i;
  if (inlineEnd >= n) return std::string_view::npos;
  const void* hit = std::memchr(s + inlineEnd, c, n - inlineEnd);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s) : std::string_view::npos;
}

// Blanks are the space and the ASCII control spaces (tab to CR); none of them
// can be the second byte of a double-byte character, so trimming never cuts
// a character in half.
inline bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

inline bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Removes every occurrence of `part`, scanning left to right; the text left
// after a removal is searched again from the place of the removal, which
// gives the same result as searching again from the start. An empty part
// removes nothing.
void removeAll(std::string& text, std::string_view part);

// Removes the first occurrence of `part`, if any. An empty part removes nothing.
void removeFirst(std::string& text, std::string_view part);

// atoi-style reading: leading blanks, an optional sign, decimal digits up to
// the first non-digit; no digits gives 0. The value saturates instead of
// overflowing.
std::int64_t parseLeadingInt(std::string_view text);

// parseLeadingInt clamped into the range of int, as the settings readers use.
int parseInt(std::string_view text);

// Case-insensitive for ASCII letters; double-byte characters (whose trail
// byte may look like a letter) compare exactly.
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);
bool startsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix);

// The file-name form of a site name: each byte equal to one of / ! \ ; : , ? * " < > |
// becomes '-', byte by byte (a trail byte of a double-byte character too).
std::string fileNameForm(std::string_view siteName);

}  // namespace ls
