#include "net/page_file.h"

#include <cstring>

#include "common/file_io.h"

namespace ls {

std::string pageFileBytes(std::string_view received) {
  std::string out;
  out.reserve(received.size() + received.size() / 32 + 16);
  std::size_t from = 0;
  while (from < received.size()) {
    const void* lf = std::memchr(received.data() + from, '\n', received.size() - from);
    std::size_t at = lf ? static_cast<const char*>(lf) - received.data() : received.size();
    out.append(received.data() + from, at - from);
    if (!lf) break;
    out += "\r\n";
    from = at + 1;
  }
  return out;
}

bool appendToPageFile(std::string_view path, std::string_view received) {
  return appendToFile(path, pageFileBytes(received));
}

}  // namespace ls
