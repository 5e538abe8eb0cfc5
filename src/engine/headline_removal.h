// DELETE's removal from a headline, shared by the page scan and the feed
// reader: block searches instead of a search call per entry and headline.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ls {

// Removes every `part` from s[0..n) as removeAll does (the kept text as a
// stack whose tail is checked wherever the part's last byte is pushed) and
// returns the new length.
std::size_t removeAllIn(char* s, std::size_t n, std::string_view part);

inline void removeAllFrom(std::string& headline, std::string_view part) {
  headline.resize(removeAllIn(headline.data(), headline.size(), part));
}

}  // namespace ls
