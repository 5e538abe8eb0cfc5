#include "net/url.h"

#include <cstdint>

#include "common/program.h"
#include "common/text.h"

namespace ls {

namespace {
constexpr std::string_view kScheme = "http://";
}  // namespace

std::optional<RequestTarget> splitUrl(std::string_view url) {
  if (url.size() <= kScheme.size() || !startsWithIgnoreAsciiCase(url, kScheme)) return std::nullopt;
  std::string_view rest = url.substr(kScheme.size());
  std::size_t slash = rest.find('/');
  std::string_view host = rest.substr(0, slash);
  std::string_view path = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);

  RequestTarget target;
  std::size_t colon = host.find(':');
  if (colon != std::string_view::npos) {
    // Read with the whole port text, so "h:123456" is refused rather than
    // taken as some other port.
    std::int64_t port = parseLeadingInt(host.substr(colon + 1));
    if (port < 0 || port > 65535) return std::nullopt;
    target.port = static_cast<int>(port);
    host = host.substr(0, colon);
  }
  target.host = std::string(host);
  target.path = std::string(path);
  return target;
}

std::string composeRequest(const RequestTarget& target) {
  std::string request = "GET ";
  request += target.path;
  request += " HTTP/1.0\r\nHost: ";
  request += target.host;
  request += ':';
  request += std::to_string(target.port);
  request += "\r\nUser-Agent: ";
  request += kProgramTitle;
  request += "\r\n\r\n";
  return request;
}

}  // namespace ls
