#include "net/redirect.h"

#include <vector>

#include "common/text.h"
#include "net/url.h"

namespace ls {

namespace {

bool hasScheme(std::string_view url) {
  return startsWithIgnoreAsciiCase(url, "http://") || startsWithIgnoreAsciiCase(url, "https://");
}

// "mailto:x", "ftp://h/": a scheme the fetcher has none of.
bool hasOtherScheme(std::string_view url) {
  std::size_t colon = url.find(':');
  if (colon == 0 || colon == std::string_view::npos) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    char c = url[i];
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
    if (!ok) return false;
  }
  return true;
}

// The request URL cut into scheme ("https:"), authority ("//host:port") and
// the rest ("/path?query").
struct UrlParts {
  std::string_view scheme, authority, rest;
};

UrlParts partsOf(std::string_view url) {
  UrlParts p;
  std::size_t colon = url.find(':');
  if (colon == std::string_view::npos) return UrlParts{{}, {}, url};
  p.scheme = url.substr(0, colon + 1);
  std::string_view after = url.substr(colon + 1);
  if (after.substr(0, 2) == "//") {
    std::size_t end = after.find_first_of("/?", 2);
    p.authority = after.substr(0, end);
    p.rest = end == std::string_view::npos ? std::string_view() : after.substr(end);
  } else {
    p.rest = after;
  }
  return p;
}

// Removes "." and ".." segments of an absolute path; ".." above the root stays at the root.
std::string removeDotSegments(std::string_view path) {
  std::size_t queryAt = path.find('?');
  std::string_view query = queryAt == std::string_view::npos ? std::string_view() : path.substr(queryAt);
  path = path.substr(0, queryAt);
  std::vector<std::string_view> out;
  bool trailingSlash = false;
  std::size_t at = 1;  // past the leading '/'
  while (at <= path.size()) {
    std::size_t slash = path.find('/', at);
    std::string_view segment = path.substr(at, slash == std::string_view::npos ? std::string_view::npos : slash - at);
    bool last = slash == std::string_view::npos;
    trailingSlash = false;
    if (segment == ".") {
      trailingSlash = last;
    } else if (segment == "..") {
      if (!out.empty()) out.pop_back();
      trailingSlash = last;
    } else {
      out.push_back(segment);
    }
    if (last) break;
    at = slash + 1;
  }
  std::string result;
  for (std::string_view segment : out) {
    result += '/';
    result += segment;
  }
  if (trailingSlash || result.empty()) result += '/';
  result += query;
  return result;
}

}  // namespace

std::string resolveLocation(std::string_view requestUrl, std::string_view location) {
  location = trimBlanks(location);
  location = location.substr(0, location.find('#'));
  UrlParts base = partsOf(requestUrl.substr(0, requestUrl.find('#')));
  std::string prefix;
  std::string path;
  if (!hasScheme(location) && hasOtherScheme(location)) return std::string(location);
  if (hasScheme(location)) {
    UrlParts p = partsOf(location);
    prefix = std::string(p.scheme) + std::string(p.authority);
    path = p.rest.empty() ? "/" : std::string(p.rest);
  } else if (location.substr(0, 2) == "//") {
    std::string withScheme = "x:" + std::string(location);
    UrlParts p = partsOf(withScheme);
    prefix = std::string(base.scheme) + std::string(p.authority);
    path = p.rest.empty() ? "/" : std::string(p.rest);
  } else {
    prefix = std::string(base.scheme) + std::string(base.authority);
    std::string_view basePath = base.rest.empty() ? std::string_view("/") : base.rest;
    std::string_view baseNoQuery = basePath.substr(0, basePath.find('?'));
    if (location.empty()) {
      path = std::string(basePath);
    } else if (location.front() == '/') {
      path = std::string(location);
    } else if (location.front() == '?') {
      path = std::string(baseNoQuery) + std::string(location);
    } else {
      path = std::string(baseNoQuery.substr(0, baseNoQuery.rfind('/') + 1)) + std::string(location);
    }
  }
  if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
  return prefix + removeDotSegments(path);
}

bool isRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isPermanentRedirect(int status) { return status == 301 || status == 308; }

namespace {
// URLs compare in their split form, so "http://h" and "http://h:80/" are one.
std::string visitKey(const std::string& url) {
  std::optional<RequestTarget> t = splitUrl(url);
  return t ? urlOf(*t) : url;
}
}  // namespace

RedirectTrail::RedirectTrail(std::string url) : current_(std::move(url)) { visited_.insert(visitKey(current_)); }

Hop RedirectTrail::decide(int status, std::string_view location) {
  location = trimBlanks(location);
  if (!isRedirectStatus(status) || location.empty()) return Hop{};
  std::string next = resolveLocation(current_, location);
  std::optional<RequestTarget> from = splitUrl(current_);
  std::optional<RequestTarget> to = splitUrl(next);
  if (!to) return Hop{HopVerdict::kBadTarget, next, {}};
  if (from && from->secure && !to->secure) return Hop{HopVerdict::kDowngrade, next, *to};
  if (hops_ >= kMaxRedirects || !visited_.insert(urlOf(*to)).second) return Hop{HopVerdict::kTooMany, next, *to};
  ++hops_;
  permanentSoFar_ = permanentSoFar_ && isPermanentRedirect(status);
  if (permanentSoFar_) movedTo_ = next;
  current_ = next;
  return Hop{HopVerdict::kFollow, next, *to};
}

}  // namespace ls
