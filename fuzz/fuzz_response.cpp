// Fuzzes the check that tells a complete response from one cut short: any
// bytes from a server, split anywhere, give the same answer as whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/response_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  ls::ResponseCheck whole;
  whole.feed(bytes);
  // The first byte picks the chunk size, as the network would split it.
  std::size_t chunk = 1 + data[0] % 64;
  ls::ResponseCheck split;
  for (std::size_t at = 0; at < bytes.size(); at += chunk) split.feed(bytes.substr(at, chunk));
  if (whole.truncated() != split.truncated()) std::abort();
  if (whole.contentLength() != split.contentLength()) std::abort();
  return 0;
}
