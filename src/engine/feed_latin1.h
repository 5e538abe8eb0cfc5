// Feeds in ISO-8859-1 or windows-1252. Such a feed is read as windows-1252
// (as browsers read both), each character put into Shift_JIS and one that
// Shift_JIS lacks ("é") becoming 〓. Only feeds are read so; a page naming
// these charsets goes through the page conversion unchanged.
#pragma once

#include <string>
#include <string_view>

namespace ls {

// Whether the page file's bytes name ISO-8859-1 or windows-1252: the
// charset of the response's Content-Type field, or when that names none,
// the encoding of the XML declaration. `body` is where the body begins.
bool declaresWindows1252(std::string_view fileBytes, std::size_t body);

// Converts windows-1252 text to Shift_JIS; ASCII stays as it is.
void windows1252ToSjisInPlace(std::string& text);

}  // namespace ls
