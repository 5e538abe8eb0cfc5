// Fixed texts that name the program.
#pragma once

namespace ls {

#define LINKSCOUT_NAME "LINKSCOUT"
#define LINKSCOUT_VERSION "0.3.3"

// Caption of every message box.
inline constexpr const char* kProgramTitle = LINKSCOUT_NAME " " LINKSCOUT_VERSION;
// The User-Agent of every request: a product token, name slash version.
inline constexpr const char* kUserAgent = LINKSCOUT_NAME "/" LINKSCOUT_VERSION;

// Directory of the program's home page; links under it are shown as this
// address alone.
inline constexpr const char* kHomePageAddress = "http://linkscout.example/";

}  // namespace ls
