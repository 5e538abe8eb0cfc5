#include "engine/link_url.h"

#include <algorithm>

#include "common/text.h"

namespace ls {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::size_t kBaseOverrideLimit = 499;

bool startsAbsolute(std::string_view target) {
  return target.substr(0, 4) == "http" || target.substr(0, 4) == "HTTP";
}

// "./" cannot overlap itself, so dropping up to the first one again and
// again visits every occurrence: the count and what follows the last.
std::string_view afterDotSlashes(std::string_view target, std::size_t& count) {
  count = 0;
  std::size_t at = 0, last = npos;
  while ((at = target.find("./", at)) != npos) {
    ++count;
    last = at;
    at += 2;
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

void applyBaseOverride(std::string_view text, std::string& base) {
  std::size_t at = text.find("basehref=");
  if (at == npos) at = text.find("BASEHREF=");
  if (at == npos) return;
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
  std::string work(base);
  for (; raises > 0 && std::count(work.begin(), work.end(), '/') >= 4; --raises) {
    work.resize(work.rfind('/'));
    work.resize(work.rfind('/') + 1);
  }
  if (!target.empty() && target.front() == '/') {
    std::size_t scheme = work.find("://");
    std::size_t slash = scheme == npos ? npos : work.find('/', scheme + 3);
    if (slash != npos) work.resize(slash + 1);
    target.remove_prefix(1);
  }
  work.append(target);
  return work;
}

std::string_view relativeLink(std::string_view target) {
  if (startsAbsolute(target)) return target;
  std::size_t count = 0;
  return afterDotSlashes(target, count);
}

}  // namespace ls
