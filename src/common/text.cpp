#include "common/text.h"

#include <cstring>
#include <limits>

namespace ls {

std::size_t cutLength(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t width = isSjisLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width > limit) break;
    i += width;
  }
  return i;
}

std::vector<std::string_view> splitCommaList(std::string_view list) {
  std::vector<std::string_view> entries;
  std::size_t pos = 0;
  while (pos < list.size()) {
    std::size_t comma = list.find(',', pos);
    if (comma == std::string_view::npos) comma = list.size();
    entries.push_back(list.substr(pos, comma - pos));
    pos = comma + 1;
  }
  return entries;
}

bool containsAll(std::string_view text, const std::vector<std::string_view>& entries) {
  for (std::string_view entry : entries)
    if (!contains(text, entry)) return false;
  return true;
}

bool containsAny(std::string_view text, const std::vector<std::string_view>& entries) {
  for (std::string_view entry : entries)
    if (contains(text, entry)) return true;
  return false;
}

bool containsAll(std::string_view text, std::string_view commaList) {
  return containsAll(text, splitCommaList(commaList));
}

bool containsAny(std::string_view text, std::string_view commaList) {
  return containsAny(text, splitCommaList(commaList));
}

void removeAll(std::string& text, std::string_view part) {
  if (part.empty()) return;
  const std::size_t first = text.find(part);
  if (first == std::string::npos) return;
  // Removing an occurrence can join the text before it with the text after
  // it into a new occurrence that starts up to part.size()-1 bytes earlier,
  // so from the first occurrence on the kept text is built as a stack whose
  // tail is checked wherever the part's last byte is pushed: one pass, and
  // the same result as searching again from the start after every removal.
  // The stack only shrinks the text, so it is written over it.
  char* const s = &text[0];
  const std::size_t n = part.size();
  const char last = part.back();
  std::size_t w = first, i = first;
  while (i < text.size()) {
    const void* hit = std::memchr(s + i, last, text.size() - i);
    std::size_t stop = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s) + 1 : text.size();
    if (w != i) std::memmove(s + w, s + i, stop - i);
    w += stop - i;
    i = stop;
    if (hit && w >= n && std::memcmp(s + w - n, part.data(), n) == 0) w -= n;
  }
  text.resize(w);
}

void removeFirst(std::string& text, std::string_view part) {
  if (part.empty()) return;
  std::size_t at = text.find(part);
  if (at != std::string::npos) text.erase(at, part.size());
}

std::int64_t parseLeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t cap = std::numeric_limits<std::int64_t>::max() / 10 - 10;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < cap) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

int parseInt(std::string_view text) {
  std::int64_t v = parseLeadingInt(text);
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

static char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (isSjisLead(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      // A trail byte may look like a letter; double-byte characters match exactly.
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (lowerAscii(a[i]) != lowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

bool startsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::string fileNameForm(std::string_view siteName) {
  static constexpr std::string_view kForbidden = "/!\\;:,?*\"<>|";
  std::string out(siteName);
  for (char& c : out)
    if (kForbidden.find(c) != std::string_view::npos) c = '-';
  return out;
}

}  // namespace ls
