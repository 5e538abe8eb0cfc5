// Fuzzes the check that tells a complete response from one cut short: any
// bytes from a server, split anywhere, give the same answer as whole: the
// same length check, status code and Location.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
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
  // The head's status and Location, which decide a redirect, too.
  if (whole.headDone() != split.headDone() || whole.status() != split.status() ||
      whole.location() != split.location())
    std::abort();
  if (whole.status() != 0 && (whole.status() < 0 || whole.status() > 999)) std::abort();
  if (whole.location().find('\n') != std::string::npos) std::abort();
  return 0;
}
