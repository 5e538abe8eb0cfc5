#include "engine/link_url.h"

#include <algorithm>
#include <cstring>

#include "common/text.h"
#include "engine/byte_blocks.h"

namespace ls {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::size_t kBaseOverrideLimit = 499;

bool startsAbsolute(std::string_view target) {
  return target.size() >= 4 && (std::memcmp(target.data(), "http", 4) == 0 || std::memcmp(target.data(), "HTTP", 4) == 0);
}

// "./" cannot overlap itself, so dropping up to the first one again and
// again visits every occurrence: the count and what follows the last.
std::string_view afterDotSlashes(std::string_view target, std::size_t& count) {
  count = 0;
  std::size_t at = 0, last = npos;
  for (std::size_t dot = findChar(target, '.'); dot != npos; dot = findChar(target, '.', at)) {
    at = dot + 1;
    if (at < target.size() && target[at] == '/') {
      ++count;
      last = dot;
      ++at;
    }
  }
  return last == npos ? target : target.substr(last + 2);
}

}  // namespace

std::string baseUrlOf(std::string_view siteUrl) {
  std::size_t scheme = siteUrl.find("://");
  if (scheme != npos && siteUrl.find('/', scheme + 3) == npos) {
    std::string base(siteUrl);
    base += '/';
    return base;
  }
  std::size_t slash = siteUrl.rfind('/');
  if (slash == npos) return std::string(siteUrl);
  return std::string(siteUrl.substr(0, slash + 1));
}

namespace {

// The first "basehref=" of the text, else its first "BASEHREF=": one search
// for the '=' that ends both, instead of one pass over the text for each.
std::size_t findBaseOverride(std::string_view text) {
  const char* const s = text.data();
  const std::size_t n = text.size();
  std::size_t upper = npos;
  for (std::size_t e = 8; e < n; ++e) {
    const void* hit = std::memchr(s + e, '=', n - e);
    if (!hit) break;
    e = static_cast<std::size_t>(static_cast<const char*>(hit) - s);
    if (std::memcmp(s + e - 8, "basehref", 8) == 0) return e - 8;
    if (upper == npos && std::memcmp(s + e - 8, "BASEHREF", 8) == 0) upper = e - 8;
  }
  return upper;
}

}  // namespace

void applyBaseOverride(std::string_view text, std::string& base) {
  std::size_t at = findBaseOverride(text);
  if (at != npos) applyBaseOverrideAt(text, at, base);
}

void applyBaseOverrideAt(std::string_view text, std::size_t at, std::string& base) {
  std::size_t from = at + 9;
  std::size_t gt = text.find('>', from);
  if (gt == npos) return;
  std::string_view value = cutToBytes(text.substr(from, gt - from), kBaseOverrideLimit);
  if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
    value.remove_prefix(1);
    std::size_t slash = value.rfind('/');
    if (slash != npos) value = value.substr(0, slash + 1);
  }
  base.assign(value);
}

std::string absoluteUrl(std::string_view target, std::string_view base) {
  if (startsAbsolute(target)) return std::string(target);
  std::size_t raises = 0;
  target = afterDotSlashes(target, raises);
  // The base is only ever cut, so it is worked on as a view and copied once.
  std::string_view work = base;
  if (raises > 0) {
    // Each raise drops the last '/' with what follows it and keeps what
    // stands up to the one before.
    std::size_t slashes = static_cast<std::size_t>(std::count(work.begin(), work.end(), '/'));
    for (; raises > 0 && slashes >= 4; --raises, --slashes) {
      work = work.substr(0, work.rfind('/'));
      work = work.substr(0, work.rfind('/') + 1);
    }
  }
  if (!target.empty() && target.front() == '/') {
    std::size_t scheme = work.find("://");
    std::size_t slash = scheme == npos ? npos : findChar(work, '/', scheme + 3);
    if (slash != npos) work = work.substr(0, slash + 1);
    target.remove_prefix(1);
  }
  std::string url;
  url.reserve(work.size() + target.size());
  url.append(work).append(target);
  return url;
}

namespace {

// What a leading '/' keeps of a base: scheme, host and one slash.
std::string_view rootOf(std::string_view base) {
  std::size_t scheme = base.find("://");
  std::size_t slash = scheme == npos ? npos : findChar(base, '/', scheme + 3);
  return slash == npos ? base : base.substr(0, slash + 1);
}

}  // namespace

UrlBase::UrlBase(std::string_view base) : base_(base), root_(rootOf(base)) {}

std::string UrlBase::absolute(std::string_view target) const {
  if (startsAbsolute(target)) return std::string(target);
  // Targets without "./" (nearly all) keep the base as it is; a raise cuts
  // it, and then its root is looked for again.
  if (blocks::findPart(target, "./") != npos) return absoluteUrl(target, base_);
  std::string_view work = base_;
  if (!target.empty() && target.front() == '/') {
    work = root_;
    target.remove_prefix(1);
  }
  std::string url(work.size() + target.size(), '\0');
  if (!work.empty()) std::memcpy(&url[0], work.data(), work.size());
  if (!target.empty()) std::memcpy(&url[work.size()], target.data(), target.size());
  return url;
}

std::string_view relativeLink(std::string_view target) {
  if (startsAbsolute(target)) return target;
  std::size_t count = 0;
  return afterDotSlashes(target, count);
}

}  // namespace ls
