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

// HTML first, then the feed types, then anything (an error page still says why).
constexpr const char* kAccept =
    "text/html, application/xhtml+xml, application/rss+xml, application/atom+xml, application/rdf+xml, "
    "application/xml;q=0.9, text/xml;q=0.9, */*;q=0.8";

// Everything after the request target: version and header lines.
std::string requestTail(const RequestTarget& target, const Validators& validators) {
  std::string tail = " HTTP/1.1\r\nHost: ";
  tail += hostHeader(target);
  tail += "\r\nUser-Agent: ";
  tail += kUserAgent;
  tail += "\r\nAccept: ";
  tail += kAccept;
  tail += "\r\nAccept-Encoding: gzip, deflate\r\n";
  if (!validators.etag.empty() && !holdsControlByte(validators.etag))
    tail += "If-None-Match: " + validators.etag + "\r\n";
  if (!validators.lastModified.empty() && !holdsControlByte(validators.lastModified))
    tail += "If-Modified-Since: " + validators.lastModified + "\r\n";
  tail += "Connection: close\r\n\r\n";
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

std::string hostHeader(const RequestTarget& target) {
  bool defaultPort = target.port == (target.secure ? 443 : 80);
  return defaultPort ? target.host : hostAndPort(target);
}

std::string composeRequest(const RequestTarget& target, const Validators& validators) {
  return "GET " + target.path + requestTail(target, validators);
}

std::string composeProxyRequest(const RequestTarget& target, const Validators& validators) {
  std::string absolute = std::string(target.secure ? kSecureScheme : kPlainScheme) + hostHeader(target) + target.path;
  return "GET " + absolute + requestTail(target, validators);
}

std::string composeConnect(const RequestTarget& target) {
  std::string authority = hostAndPort(target);
  return "CONNECT " + authority + " HTTP/1.1\r\nHost: " + authority + "\r\nUser-Agent: " + kUserAgent + "\r\n\r\n";
}

}  // namespace ls
