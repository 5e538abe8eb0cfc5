// Shift_JIS texts at the Win32 boundary: the shell calls the wide functions
// and converts with the project's own tables, so Japanese shows correctly
// whatever the system code page is.
#pragma once

#include <string>
#include <string_view>

#include "common/cp932.h"

namespace ls {

inline std::wstring toWide(std::string_view sjis) {
  std::u16string u = cp932ToUtf16(sjis);
  return std::wstring(u.begin(), u.end());
}

inline std::string fromWide(std::wstring_view wide) {
  return utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace ls
