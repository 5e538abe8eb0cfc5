// Following redirects: where a Location header points, and whether one more
// hop is taken. A fetch starts a trail at the site's URL and asks it about
// every response head; the trail remembers where it has been, so a loop ends
// as surely as a long chain.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "net/url.h"

namespace ls {

inline constexpr int kMaxRedirects = 5;

// The absolute URL that `location` names, read against the URL that was
// requested: an absolute http or https URL stays, "//host/..." takes the
// request's scheme, "/path" its scheme and host, "?query" its path, anything
// else the directory of its path (a URL of another scheme stays as it is);
// "." and ".." segments are removed and a
// fragment is dropped (it is never sent). Blanks around the value are trimmed.
std::string resolveLocation(std::string_view requestUrl, std::string_view location);

// 301, 302, 303, 307 and 308.
bool isRedirectStatus(int status);
// 301 and 308: the site has moved for good.
bool isPermanentRedirect(int status);

enum class HopVerdict {
  kFinal,      // not a redirect: this response is the page
  kFollow,     // fetch `next`
  kTooMany,    // a sixth hop, or a URL already visited
  kDowngrade,  // from https to http: not followed
  kBadTarget,  // the Location names nothing the fetcher can fetch
};

struct Hop {
  HopVerdict verdict = HopVerdict::kFinal;
  std::string next;
  RequestTarget target;  // `next` split (empty for kFinal and kBadTarget)
};

class RedirectTrail {
 public:
  explicit RedirectTrail(std::string url = {});

  // The response to the current URL had this status and Location (empty
  // when it had none). On kFollow the trail has moved on to `next`.
  Hop decide(int status, std::string_view location);

  const std::string& current() const { return current_; }
  int hops() const { return hops_; }
  // Where the site's URL should now point: the end of the leading run of
  // permanent hops, or nothing when the first hop was not permanent.
  const std::optional<std::string>& movedTo() const { return movedTo_; }

 private:
  std::string current_;
  std::set<std::string> visited_;
  int hops_ = 0;
  bool permanentSoFar_ = true;
  std::optional<std::string> movedTo_;
};

}  // namespace ls
