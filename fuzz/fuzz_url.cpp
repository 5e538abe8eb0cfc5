// Fuzzes the URL split and the request made from it: any URL a site file
// can hold. A split URL gives one request line and one Host line, nothing
// that could start a second request, and the host, port and path that the
// URL holds.
//
// Input: the URL's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/url.h"
#include "fuzz_input.h"

namespace {

using fuzzing::check;
using fuzzing::takeField;

bool holdsControlByte(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view url(reinterpret_cast<const char*>(data), size);
  std::optional<ls::RequestTarget> target = ls::splitUrl(url);
  if (!target) return 0;
  check(!holdsControlByte(url));
  check(target->port >= 0 && target->port <= 65535);
  check(target->host.find('/') == std::string::npos && target->host.find(':') == std::string::npos);
  check(!target->path.empty() && target->path.front() == '/');
  check(target->path.find(' ') == std::string::npos);
  check(!holdsControlByte(target->host) && !holdsControlByte(target->path));

  // The path is the URL's own, spaces escaped.
  std::string path;
  std::size_t slash = url.find('/', 7);
  for (char c : slash == std::string_view::npos ? std::string_view("/") : url.substr(slash))
    path += c == ' ' ? std::string("%20") : std::string(1, c);
  check(target->path == path);
  check(url.substr(7, target->host.size()) == target->host);

  // Exactly three lines and the empty one that ends the request.
  const std::string request = ls::composeRequest(*target);
  const std::string line = "GET " + target->path + " HTTP/1.0\r\n";
  check(request.compare(0, line.size(), line) == 0);
  std::size_t lineEnds = 0;
  for (std::size_t i = request.find("\r\n"); i != std::string::npos; i = request.find("\r\n", i + 2)) ++lineEnds;
  check(lineEnds == 4);
  check(request.find('\n') == request.find("\r\n") + 1);
  check(request.size() >= 4 && request.compare(request.size() - 4, 4, "\r\n\r\n") == 0);
  check(request.find("\r\n\r\n") == request.size() - 4);
  std::size_t bare = 0;
  for (char c : request) bare += (c == '\r' || c == '\n') ? 0 : (static_cast<unsigned char>(c) < 0x20);
  check(bare == 0);
  return 0;
}
