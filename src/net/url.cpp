#include "net/url.h"

#include <cstdint>

#include "common/program.h"
#include "common/text.h"

namespace ls {

namespace {
constexpr std::string_view kScheme = "http://";


// CR and LF would end the request line early and start a second request;
// no control byte belongs in a URL.
bool holdsControlByte(std::string_view url) {
  for (char c : url) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') return true;
  }
  return false;
}

// A space would end the request line's path; it is sent escaped.
std::string escapeSpaces(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == ' ') {
      out += "%20";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::optional<RequestTarget> splitUrl(std::string_view url) {
  if (url.size() <= kScheme.size() || !startsWithIgnoreAsciiCase(url, kScheme) || holdsControlByte(url))
    return std::nullopt;
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
  target.path = escapeSpaces(path);
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
