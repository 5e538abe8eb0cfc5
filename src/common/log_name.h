// The name a site's log files are built from, and the news list's own name.
// A log name never reaches a device (CON, NUL, COM1, ...: Windows opens the
// device whatever extension follows) or the news list's file.
#pragma once

#include <string>
#include <string_view>

namespace ls {

inline constexpr const char* kNewListName = "新着リスト";

// The file-name form of the site name, with '_' put after its base (the part
// before the first '.', less trailing blanks) when that base is a reserved
// device name in any letter case, or when the form would name the news
// list's file ("新着リスト" or "新着リスト.all"). Every other name keeps its
// file-name form.
std::string logNameForm(std::string_view siteName);

}  // namespace ls
