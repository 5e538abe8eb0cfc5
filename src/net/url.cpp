#include "net/url.h"

#include <cstdint>

#include "common/program.h"
#include "common/text.h"

namespace ls {

namespace {
constexpr std::string_view kPlainScheme = "http://";
constexpr std::string_view kSecureScheme = "https://";

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

std::string hostAndPort(const RequestTarget& target) { return target.host + ':' + std::to_string(target.port); }

// Everything after the request target: version, Host and User-Agent.
std::string requestTail(const RequestTarget& target) {
  std::string tail = " HTTP/1.0\r\nHost: ";
  tail += hostAndPort(target);
  tail += "\r\nUser-Agent: ";
  tail += kProgramTitle;
  tail += "\r\n\r\n";
  return tail;
}

}  // namespace

std::optional<RequestTarget> splitUrl(std::string_view url) {
  RequestTarget target;
  std::string_view scheme = kPlainScheme;
  if (startsWithIgnoreAsciiCase(url, kSecureScheme)) {
    scheme = kSecureScheme;
    target.secure = true;
    target.port = 443;
  } else if (!startsWithIgnoreAsciiCase(url, kPlainScheme)) {
    return std::nullopt;
  }
  if (url.size() <= scheme.size() || holdsControlByte(url)) return std::nullopt;
  std::string_view rest = url.substr(scheme.size());
  std::size_t slash = rest.find('/');
  std::string_view host = rest.substr(0, slash);
  std::string_view path = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);

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

std::string urlOf(const RequestTarget& target) {
  return std::string(target.secure ? kSecureScheme : kPlainScheme) + hostAndPort(target) + target.path;
}

std::string composeRequest(const RequestTarget& target) { return "GET " + target.path + requestTail(target); }

std::string composeProxyRequest(const RequestTarget& target) { return "GET " + urlOf(target) + requestTail(target); }

std::string composeConnect(const RequestTarget& target) {
  return "CONNECT " + hostAndPort(target) + requestTail(target);
}

}  // namespace ls
