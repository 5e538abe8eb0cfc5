// Turning the page file into the text that the page scan walks.
#pragma once

#include <string>
#include <string_view>

namespace ls {

// Joins the lines of the page file without separators: each line feed goes,
// together with at most two carriage returns directly before it (a received
// CR LF is stored as CR CR LF). Other carriage returns stay. NUL bytes are
// dropped first.
std::string joinPageLines(std::string_view fileBytes);
// The same over the text itself, which only shrinks.
void joinPageLinesInPlace(std::string& text);

// Joins the page file word by word: every blank, tab, line feed, carriage
// return, vertical tab and form feed vanishes, and so do NUL bytes.
std::string joinPageWords(std::string_view fileBytes);

// Removes every comment: from the first "<!--" through the first "-->" at or
// after it ("<!-->" is a whole comment), again and again until no "<!--" is
// left; a "<!--" without "-->" runs to the end of the text. The result is the
// same as restarting the search at the start of the text after each removal
// (a removal can bring the halves of a new "<!--" together), in one pass.
void removeComments(std::string& text);

// The received bytes of a page file, which stores each received line feed
// as CR LF.
std::string receivedBytes(std::string_view fileBytes);

// The texts the page scan and the wizard's listing walk: the page file
// joined (by lines, or by words) and converted to Shift_JIS. A UTF-16 page
// is converted first, since its NUL bytes and line-feed bytes are parts of
// characters: the line ends that storing added go, the page is converted,
// then joined.
std::string scanTextOf(std::string_view fileBytes);
// scanTextOf in the file's own buffer: a Shift_JIS page needs no second copy.
void scanTextInPlace(std::string& fileBytes);
std::string listingTextOf(std::string_view fileBytes);

}  // namespace ls
