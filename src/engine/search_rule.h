// The search dialog's rule over the news list's headlines.
#pragma once

#include <string>

#include "engine/ports.h"

namespace ls {

// The first row from `start` on whose headline (column 0, at most 499 bytes)
// holds `text`, byte for byte; -1 for none.
int findHeadline(const NewsList& list, const std::string& text, int start);

}  // namespace ls
