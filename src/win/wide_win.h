// Shift_JIS texts at the Win32 boundary: the shell calls the wide functions
// and converts with the project's own tables, so Japanese shows correctly
// whatever the system code page is.
#pragma once

#include <string>
#include <string_view>

#include "common/cp932.h"
#include "common/paths.h"

namespace ls {

inline std::wstring toWide(std::string_view sjis) {
  std::u16string u = cp932ToUtf16(sjis);
  return std::wstring(u.begin(), u.end());
}

inline std::string fromWide(std::wstring_view wide) {
  return utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// Paths cross the boundary losslessly: a folder name with characters that
// Shift_JIS lacks still names the same folder on the way back.
inline std::string pathFromWide(std::wstring_view wide) {
  return pathTextFromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

inline std::wstring pathToWide(std::string_view pathText) {
  std::u16string u = pathTextToUtf16(pathText);
  return std::wstring(u.begin(), u.end());
}

}  // namespace ls
