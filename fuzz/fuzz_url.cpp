// Fuzzes the URL split and the requests made from it: any URL a site file
// or a redirect can hold. A split URL gives one request line and its fixed
// header lines, nothing that could start a second request (also with
// validators that hold line ends), and the host, port and path that the URL
// holds; the proxy forms and the URL written back hold the same parts.
// Redirect targets are resolved against the URL and must split whenever the
// trail follows them.
//
// Input: the URL's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/redirect.h"
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

// The requests of one target: one line ending in CR LF each, `lines` lines
// and the empty one, and no other control byte.
void checkRequest(const std::string& request, const std::string& firstLine, std::size_t lines) {
  check(request.compare(0, firstLine.size(), firstLine) == 0);
  std::size_t lineEnds = 0;
  for (std::size_t i = request.find("\r\n"); i != std::string::npos; i = request.find("\r\n", i + 2)) ++lineEnds;
  check(lineEnds == lines + 1);
  check(request.find('\n') == request.find("\r\n") + 1);
  check(request.size() >= 4 && request.compare(request.size() - 4, 4, "\r\n\r\n") == 0);
  check(request.find("\r\n\r\n") == request.size() - 4);
  std::size_t bare = 0;
  for (char c : request) bare += (c == '\r' || c == '\n') ? 0 : (static_cast<unsigned char>(c) < 0x20);
  check(bare == 0);
}

// Input: a URL, or "URL NUL Location NUL Location ..." for a redirect trail.
void checkRedirects(std::string_view url, std::string_view rest) {
  ls::RedirectTrail trail{std::string(url)};
  std::optional<ls::RequestTarget> start = ls::splitUrl(url);
  bool secure = start && start->secure;
  for (int hop = 0; hop < 8 && !rest.empty(); ++hop) {
    std::string_view location = takeField(rest);
    if (location.data() == nullptr) {  // no NUL left: the rest is the last one
      location = rest;
      rest = {};
    }
    std::string resolved = ls::resolveLocation(trail.current(), location);
    ls::Hop next = trail.decide(301 + hop % 8, location);
    if (next.verdict != ls::HopVerdict::kFollow) continue;
    std::optional<ls::RequestTarget> t = ls::splitUrl(next.next);
    check(t.has_value());
    check(t->host == next.target.host && t->port == next.target.port && t->path == next.target.path &&
          t->secure == next.target.secure);
    check(next.next == resolved);
    check(!secure || t->secure);  // never from https down to http
    secure = t->secure;
    check(trail.hops() <= ls::kMaxRedirects);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view copy = input;
  std::string_view first = takeField(copy);
  if (copy.size() != input.size()) checkRedirects(first, copy);
  const std::string_view url = input;
  std::optional<ls::RequestTarget> target = ls::splitUrl(url);
  if (!target) return 0;
  check(!holdsControlByte(url));
  check(target->port >= 0 && target->port <= 65535);
  check(target->host.find('/') == std::string::npos && target->host.find(':') == std::string::npos);
  check(!target->path.empty() && target->path.front() == '/');
  check(target->path.find(' ') == std::string::npos);
  check(!holdsControlByte(target->host) && !holdsControlByte(target->path));

  // The path is the URL's own, spaces escaped.
  const std::size_t schemeBytes = target->secure ? 8 : 7;
  check(target->port == (target->secure ? 443 : 80) || url.substr(schemeBytes).find(':') != std::string_view::npos);
  std::string path;
  std::size_t slash = url.find('/', schemeBytes);
  for (char c : slash == std::string_view::npos ? std::string_view("/") : url.substr(slash))
    path += c == ' ' ? std::string("%20") : std::string(1, c);
  check(target->path == path);
  check(url.substr(schemeBytes, target->host.size()) == target->host);

  // The request line, Host, User-Agent, Accept, Accept-Encoding and
  // Connection; the validators only when they hold no control byte, so a
  // kept value can never add a line. Host holds the port only when it is
  // not the scheme's default.
  const std::string host = target->port == (target->secure ? 443 : 80)
                               ? target->host
                               : target->host + ":" + std::to_string(target->port);
  check(ls::composeRequest(*target).find("\r\nHost: " + host + "\r\n") != std::string::npos);
  checkRequest(ls::composeRequest(*target), "GET " + target->path + " HTTP/1.1\r\n", 6);
  const std::string absolute = (target->secure ? "https://" : "http://") + host + target->path;
  checkRequest(ls::composeProxyRequest(*target), "GET " + absolute + " HTTP/1.1\r\n", 6);
  const std::string authority = target->host + ":" + std::to_string(target->port);
  checkRequest(ls::composeConnect(*target), "CONNECT " + authority + " HTTP/1.1\r\n", 3);
  const ls::Validators fromUrl{std::string(url.substr(0, url.size() / 2)), std::string(url.substr(url.size() / 2))};
  const ls::Validators withLineEnds{"\"a\"\r\nX: b", "Tue\n"};
  checkRequest(ls::composeRequest(*target, fromUrl), "GET " + target->path + " HTTP/1.1\r\n",
               6 + !fromUrl.etag.empty() + !fromUrl.lastModified.empty());
  checkRequest(ls::composeRequest(*target, withLineEnds), "GET " + target->path + " HTTP/1.1\r\n", 6);
  // The URL written back splits into the same parts.
  std::optional<ls::RequestTarget> again = ls::splitUrl(ls::urlOf(*target));
  check(again && again->host == target->host && again->port == target->port && again->secure == target->secure &&
        again->path == target->path);
  return 0;
}
