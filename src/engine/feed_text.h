// The text of a feed's elements as a reader sees it: CDATA unwrapped,
// references decoded, markup removed, white space made one blank. Input and
// output are Shift_JIS.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ls {

// How a title is written.
enum class TitleMarkup {
  kText,   // plain text (Atom's default)
  kHtml,   // escaped HTML: Atom type="html", and every RSS title
  kXhtml,  // markup inside the element (Atom type="xhtml")
};

// Character data of an element's content: CDATA sections are copied as they
// are; outside them, tags and comments are removed and references decoded
// (see appendReference).
void appendXmlText(std::string& out, std::string_view raw);

// Decodes the reference at raw[at] ('&') onto `out` and returns the bytes it
// took, or 0 when it is no reference the reader knows (then the '&' is text):
// - "&#NNN;" and "&#xHH;": the character in Shift_JIS; 〓 when it has none;
//   tab, line feed, carriage return and the no-break and typographic spaces
//   give a blank, other control characters nothing;
// - the five of XML (&lt; &gt; &amp; &quot; &apos;) and the HTML names that
//   feeds carry (&nbsp; &hellip; &mdash; &copy; ...).
// A name without its ';', a number out of range or a surrogate is no
// reference. Nothing declared in a DOCTYPE is ever expanded.
std::size_t appendReference(std::string& out, std::string_view raw, std::size_t at);

// The headline of a title's raw content: its character data (above); for an
// HTML title, then its tags removed (a '<' before a letter, '/', '!' or '?'
// up to the next '>'; a '<' without a '>' after it ends the removal) and its
// references decoded once more; then every run of blanks one space, trimmed.
std::string titleText(std::string_view raw, TitleMarkup markup);

// A URL written as element content or an attribute value: character data,
// without tabs and line breaks, trimmed.
std::string urlText(std::string_view raw);

// The same without a copy for a URL written plain (no markup, reference,
// tab or line break): false for any other.
bool plainUrlText(std::string_view raw, std::string_view& url);

}  // namespace ls
