// Base URLs and absolute link URLs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ls {

// The directory URL of a site URL: cut just after its last '/'. A URL with no
// '/' after "://" ("http://host") gives "http://host/".
std::string baseUrlOf(std::string_view siteUrl);

// Applies a base override found in the text: "basehref=" if it occurs, else
// "BASEHREF=". Its value runs from after the '=' to the next '>' and is cut
// to 499 bytes; a quoted value loses its quote and is cut just after its last
// '/' (a quoted value without '/' is used as it is). Without a '>' after the
// '=' the override is ignored and `base` stays.
void applyBaseOverride(std::string_view text, std::string& base);
// The same for an override already found: `at` is where its "basehref=" or
// "BASEHREF=" begins.
void applyBaseOverrideAt(std::string_view text, std::size_t at, std::string& base);

// The absolute URL of a link target: a target that begins with "http" or
// "HTTP" stays; otherwise every "./" in it (as in "../") drops the target up
// to and including it and raises the base one level while the base has four
// '/' or more; then a leading '/' keeps only scheme, host and one slash of
// the base. The result is not cut.
std::string absoluteUrl(std::string_view target, std::string_view base);

// absoluteUrl for many targets against one base (the page scan's links):
// what the base keeps for a target that begins with '/' is found once.
class UrlBase {
 public:
  explicit UrlBase(std::string_view base);
  // absoluteUrl(target, base), allocated once at its size.
  std::string absolute(std::string_view target) const;

 private:
  std::string_view base_;
  std::string_view root_;  // scheme, host and one slash, or the whole base
};

// The wizard's form of a link target: one that begins with "http" or "HTTP"
// stays; otherwise the target is dropped up to and including each "./".
std::string_view relativeLink(std::string_view target);

}  // namespace ls
