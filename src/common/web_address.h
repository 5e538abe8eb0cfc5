// Which texts the shell may be asked to open: web addresses only, so a page
// can never make a double click run a local program or a script.
#pragma once

#include <string_view>

#include "common/text.h"

namespace ls {

inline bool isWebAddress(std::string_view url) {
  return startsWithIgnoreAsciiCase(url, "http://") || startsWithIgnoreAsciiCase(url, "https://");
}

}  // namespace ls
