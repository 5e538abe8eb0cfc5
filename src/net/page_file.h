// The page file "TEMPORARY\temp.html": the raw response of the latest
// fetch, every received byte kept (NUL bytes too), each line feed stored as
// CR LF the way a text-mode write stores it, so readers that take CR LF as
// one line break see the received bytes again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ls {

// The bytes stored for one received chunk.
std::string pageFileBytes(std::string_view received);

// Appends one received chunk; false when the file cannot be opened, in which
// case the chunk is lost.
bool appendToPageFile(std::string_view path, std::string_view received);

}  // namespace ls
