#include "engine/feed_markup.h"

#include <cstring>

#include "common/cp932.h"
#include "common/text.h"
#include "engine/byte_blocks.h"

namespace ls::xml {

namespace {

std::size_t pastOrEnd(std::string_view s, std::size_t from, std::string_view close) {
  std::size_t at = blocks::findPart(s, close, from);
  return at == npos ? s.size() : at + close.size();
}

bool isNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
         static_cast<unsigned char>(c) >= 0x80;
}

bool endsName(char c) { return isSpace(c) || c == '>' || c == '/' || c == '=' || c == '<'; }

}  // namespace

std::size_t commentEnd(std::string_view s, std::size_t i) { return pastOrEnd(s, i + 4, "-->"); }

std::size_t piEnd(std::string_view s, std::size_t i) { return pastOrEnd(s, i + 2, "?>"); }

std::size_t cdataEnd(std::string_view s, std::size_t i) {
  std::size_t walked = i + 9;  // a character boundary, never past a candidate
  for (std::size_t from = walked;;) {
    std::size_t hit = blocks::findPart(s, "]]>", from);
    if (hit == npos) return s.size();
    // After an ASCII byte (a character, or the second byte of one) a new
    // character starts; only after a possible first byte is the walk needed.
    if (hit > i + 9 && static_cast<unsigned char>(s[hit - 1]) < 0x80) return hit + 3;
    while (walked < hit) {
      std::size_t run = asciiRunEnd(s, walked);
      if (run >= hit) {
        walked = hit;  // inside a run of ASCII that began on a boundary
        break;
      }
      walked = run + (isSjisLead(static_cast<unsigned char>(s[run])) ? 2 : 1);
    }
    if (walked == hit) return hit + 3;
    from = hit + 1;  // the "]" was the second byte of a character
  }
}

std::size_t declarationEnd(std::string_view s, std::size_t i) {
  const std::size_t n = s.size();
  bool subset = false;
  for (std::size_t k = i + 2; k < n; ++k) {
    char c = s[k];
    if (c == '"' || c == '\'') {
      const void* q = std::memchr(s.data() + k + 1, c, n - k - 1);
      if (!q) return n;
      k = static_cast<std::size_t>(static_cast<const char*>(q) - s.data());
    } else if (subset && c == '<' && startsAt(s, k, "<!--")) {
      k = commentEnd(s, k) - 1;
    } else if (c == '[' && !subset) {
      subset = true;
    } else if (c == ']' && subset) {
      subset = false;
    } else if (c == '>' && !subset) {
      return k + 1;
    }
  }
  return n;
}

bool readTag(std::string_view s, std::size_t i, Tag& tag) {
  const std::size_t n = s.size();
  std::size_t k = i + 1;
  tag = Tag{};
  if (k < n && s[k] == '/') {
    tag.end = true;
    ++k;
  }
  if (k >= n || !isNameStart(s[k])) return false;
  std::size_t nameAt = k;
  while (k < n && !endsName(s[k])) ++k;
  tag.name = s.substr(nameAt, k - nameAt);
  tag.attrsAt = k;
  // The tag ends at the first '>' outside quotes; a quote that never
  // closes runs to the end of the text.
  for (; k < n; ++k) {
    char c = s[k];
    if (c == '>') {
      tag.attrsEnd = k;
      tag.selfClosing = !tag.end && k > tag.attrsAt && s[k - 1] == '/';
      if (tag.selfClosing) --tag.attrsEnd;
      tag.next = k + 1;
      return true;
    }
    if ((c == '"' || c == '\'') && !tag.end) {
      const void* q = std::memchr(s.data() + k + 1, c, n - k - 1);
      if (!q) break;
      k = static_cast<std::size_t>(static_cast<const char*>(q) - s.data());
    }
  }
  tag.attrsEnd = n;
  tag.next = n;
  return true;
}

bool attribute(std::string_view s, const Tag& tag, std::string_view name, std::string_view& value) {
  std::size_t k = tag.attrsAt;
  const std::size_t end = tag.attrsEnd;
  while (k < end) {
    while (k < end && (isSpace(s[k]) || s[k] == '/')) ++k;
    std::size_t nameAt = k;
    while (k < end && !isSpace(s[k]) && s[k] != '=' && s[k] != '/') ++k;
    std::string_view attr = s.substr(nameAt, k - nameAt);
    std::size_t eq = skipSpaces(s.substr(0, end), k);
    std::string_view val;
    if (eq < end && s[eq] == '=') {
      k = skipSpaces(s.substr(0, end), eq + 1);
      if (k < end && (s[k] == '"' || s[k] == '\'')) {
        const char q = s[k];
        std::size_t close = s.substr(0, end).find(q, k + 1);
        if (close == npos) close = end;
        val = s.substr(k + 1, close - k - 1);
        k = close + 1;
      } else {
        std::size_t at = k;
        while (k < end && !isSpace(s[k])) ++k;
        val = s.substr(at, k - at);
      }
    }
    if (attr.empty()) {
      if (k == nameAt) ++k;  // a stray byte such as '=' moves the walk on
      continue;
    }
    if (attr == name) {
      value = val;
      return true;
    }
  }
  return false;
}

}  // namespace ls::xml
