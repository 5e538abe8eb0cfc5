// Fuzzes the response decoder (chunked and compressed bodies): any bytes
// from a server, split anywhere, give the same page and the same failure as
// whole, and the decoded body never passes the size limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/response_decoder.h"

namespace {

struct Result {
  std::string page, failure;
  bool ok = true, ended = false;
};

Result decode(std::string_view bytes, std::size_t chunk, std::uint64_t limit) {
  ls::ResponseDecoder r(limit);
  Result out;
  for (std::size_t at = 0; at < bytes.size() && out.ok && !r.ended(); at += chunk)
    out.ok = r.feed(bytes.substr(at, chunk), out.page);
  out.ended = r.ended();
  if (out.ok) out.ok = r.finish();
  out.failure = r.failure();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first byte picks the chunk size, as the network would split it; the
  // second a small page limit, so bombs meet it.
  std::size_t chunk = 1 + data[0] % 64;
  std::uint64_t limit = 64 + std::uint64_t{data[1]} * 512;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  Result whole = decode(bytes, bytes.size() + 1, limit);
  Result split = decode(bytes, chunk, limit);
  if (whole.ok != split.ok || whole.failure != split.failure) std::abort();
  // A failure stops the feeding wherever it comes, so only whole pages compare.
  if (whole.ok && (whole.page != split.page || whole.ended != split.ended)) std::abort();
  if (whole.ok != whole.failure.empty()) std::abort();
  // Head bytes as received plus a body within the limit.
  if (whole.page.size() > bytes.size() + limit) std::abort();
  return 0;
}
