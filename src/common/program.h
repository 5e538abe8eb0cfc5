// Fixed texts that name the program.
#pragma once

namespace ls {

// Caption of every message box and the User-Agent of every request.
inline constexpr const char* kProgramTitle = "LINKSCOUT 0.3.3";

// Directory of the program's home page; links under it are shown as this
// address alone.
inline constexpr const char* kHomePageAddress = "http://linkscout.example/";

}  // namespace ls
