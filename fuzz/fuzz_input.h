// What every fuzz target shares: a failed check stops the run like a crash,
// and an input is cut into NUL-separated fields.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <string_view>

namespace fuzzing {

inline void check(bool ok) {
  if (!ok) std::abort();
}

// The text up to the next NUL, taken off the front of `in`; empty when no
// NUL is left.
inline std::string_view takeField(std::string_view& in) {
  std::size_t nul = in.find('\0');
  if (nul == std::string_view::npos) return {};
  std::string_view field = in.substr(0, nul);
  in.remove_prefix(nul + 1);
  return field;
}

}  // namespace fuzzing
