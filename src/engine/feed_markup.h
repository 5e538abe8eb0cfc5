// The few pieces of XML markup the feed reader needs, read leniently and
// byte by byte: comments, processing instructions, CDATA sections, the
// DOCTYPE and other declarations, start and end tags with their attributes.
// Every reader returns where the construct ends, or the end of the text when
// it is cut off, so a walk over any bytes moves forward and ends.
#pragma once

#include <cstddef>
#include <string_view>

namespace ls::xml {

inline constexpr std::size_t npos = std::string_view::npos;

inline bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline std::size_t skipSpaces(std::string_view s, std::size_t i) {
  while (i < s.size() && isSpace(s[i])) ++i;
  return i;
}

inline bool startsAt(std::string_view s, std::size_t i, std::string_view part) {
  return s.size() >= i && s.substr(i, part.size()) == part;
}

// Past the "-->" of the comment at i ("<!--"), past its "?>" for a
// processing instruction at i ("<?"), past the "]]>" of a CDATA section at i
// ("<![CDATA["). The CDATA end is looked for in Shift_JIS text, where a "]"
// can be the second byte of a character: only a "]]>" that starts on a
// character boundary ends the section.
std::size_t commentEnd(std::string_view s, std::size_t i);
std::size_t piEnd(std::string_view s, std::size_t i);
std::size_t cdataEnd(std::string_view s, std::size_t i);
// Past a declaration at i ("<!" not a comment or CDATA): the '>' that ends
// it outside quotes, after an internal subset in brackets if it has one.
// Nothing in the subset is read, so entities declared there never expand.
std::size_t declarationEnd(std::string_view s, std::size_t i);

struct Tag {
  std::string_view name;     // qualified name as written
  bool end = false;          // "</name>"
  bool selfClosing = false;  // "<name/>"
  std::size_t attrsAt = 0, attrsEnd = 0;  // the attribute text
  std::size_t next = 0;      // past the closing '>' (the text's end when cut off)
};

// Reads the tag at i ('<' followed by a name or by "/" and a name). False
// when the bytes there are no tag. A quoted attribute value may hold '>'.
bool readTag(std::string_view s, std::size_t i, Tag& tag);

// The value of the attribute named `name` (qualified, as written) in the
// tag's attribute text, unquoted but not decoded; false when it is absent.
bool attribute(std::string_view s, const Tag& tag, std::string_view name, std::string_view& value);

inline std::string_view localName(std::string_view qname) {
  std::size_t colon = qname.rfind(':');
  return colon == npos ? qname : qname.substr(colon + 1);
}
inline std::string_view prefixOf(std::string_view qname) {
  std::size_t colon = qname.rfind(':');
  return colon == npos ? std::string_view() : qname.substr(0, colon);
}

}  // namespace ls::xml
