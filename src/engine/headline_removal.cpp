#include "engine/headline_removal.h"

#include <cstring>

#include "engine/byte_blocks.h"

namespace ls {

std::size_t removeAllIn(char* s, std::size_t n, std::string_view part) {
  constexpr std::size_t npos = std::string_view::npos;
  if (part.empty()) return n;
  // Nothing before the first occurrence moves, and most headlines have none.
  const std::size_t first = blocks::findPart(std::string_view(s, n), part);
  if (first == npos) return n;
  const std::size_t m = part.size();
  const char last = part.back();
  std::size_t w = first + m - 1, i = first + m - 1;
  while (i < n) {
    std::size_t hit = blocks::findByte(s, n, i, last);
    std::size_t stop = hit == npos ? n : hit + 1;
    if (w != i) std::memmove(s + w, s + i, stop - i);
    w += stop - i;
    i = stop;
    if (hit != npos && w >= m && std::memcmp(s + w - m, part.data(), m) == 0) w -= m;
  }
  return w;
}

}  // namespace ls
