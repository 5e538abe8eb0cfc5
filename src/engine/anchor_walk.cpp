#include "engine/anchor_walk.h"

#include <cstring>

#include "common/text.h"

namespace ls {

namespace {
constexpr std::size_t npos = std::string_view::npos;

// Whether the tag whose text, from its '<', is `tag` is an anchor.
bool isAnchorTag(std::string_view tag) {
  if (tag.size() < 2 || (tag[1] | 0x20) != 'a') return false;
  static constexpr std::string_view kOtherNames[] = {"bbr",   "cronym", "ddress", "nimate", "pplet",
                                                     "rea",   "rticle", "side",   "udio"};
  for (std::string_view rest : kOtherNames) {
    if (tag.size() < 2 + rest.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < rest.size() && same; ++i) same = (tag[2 + i] | 0x20) == rest[i];
    if (same) return false;
  }
  return true;
}
}

// The first "href=" or "HREF=" at or after `from`: both end in '=', which is
// rarer in a page than any letter, so one search finds the earlier of the two.
std::size_t AnchorWalker::findStart(std::size_t from) const {
  const char* const s = text_.data();
  const std::size_t n = text_.size();
  for (std::size_t e = from + 4; e < n; ++e) {
    const void* hit = std::memchr(s + e, '=', n - e);
    if (!hit) return npos;
    e = static_cast<std::size_t>(static_cast<const char*>(hit) - s);
    if (std::memcmp(s + e - 4, "href", 4) == 0 || std::memcmp(s + e - 4, "HREF", 4) == 0) return e - 4;
  }
  return npos;
}

// The first "</a" or "</A" at or after `from`.
std::size_t AnchorWalker::findEnd(std::size_t from) const {
  const char* const s = text_.data();
  const std::size_t n = text_.size();
  for (std::size_t i = from; i + 2 < n; ++i) {
    const void* hit = std::memchr(s + i, '<', n - 2 - i);
    if (!hit) return npos;
    i = static_cast<std::size_t>(static_cast<const char*>(hit) - s);
    if (s[i + 1] == '/' && (s[i + 2] == 'a' || s[i + 2] == 'A')) return i;
  }
  return npos;
}

bool hrefStartsLink(const char* text, std::size_t from, std::size_t start, bool& inOtherTag) {
  for (std::size_t i = start; i > from;) {
    --i;
    if (text[i] == '>') {
      inOtherTag = false;
      return true;
    }
    if (text[i] == '<') {
      inOtherTag = !isAnchorTag(std::string_view(text + i, start - i));
      return !inOtherTag;
    }
  }
  return !inOtherTag;
}

bool AnchorWalker::next(std::string_view& anchor) {
  // Every search only moves forward, so the walk is linear in the text.
  std::size_t start = findStart(pos_);
  while (start != npos && !hrefStartsLink(text_.data(), pos_, start, inOtherTag_)) {
    pos_ = start + 5;
    start = findStart(pos_);
  }
  std::size_t end = start == npos ? npos : findEnd(start);
  if (end == npos) {
    pos_ = text_.size();
    return false;
  }
  anchor = text_.substr(start, end - start);
  pos_ = end;
  return true;
}

bool splitAnchor(std::string_view anchor, AnchorParts& parts) {
  // Up to and including the first '=' (the one of "href="), then one quote.
  std::size_t eq = findChar(anchor, '=');
  std::string_view rest = eq == npos ? std::string_view() : anchor.substr(eq + 1);
  if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) rest.remove_prefix(1);

  std::size_t gt = findChar(rest, '>');
  if (gt == npos) return false;
  std::string_view innerRaw = rest.substr(gt + 1);

  // Tags go: each '<' with the first '>' after it and all between. A '<'
  // without a '>' after it ends the removal.
  std::string& inner = parts.inner;
  inner.clear();
  inner.reserve(innerRaw.size());
  std::size_t i = 0;
  for (;;) {
    std::size_t lt = findChar(innerRaw, '<', i);
    if (lt == npos) {
      inner.append(innerRaw.substr(i));
      break;
    }
    std::size_t close = findChar(innerRaw, '>', lt + 1);
    if (close == npos) {
      inner.append(innerRaw.substr(i));
      break;
    }
    inner.append(innerRaw.substr(i, lt - i));
    i = close + 1;
  }
  if (inner.size() < kShortestHeadline) return false;

  // The target: what stands before the first double quote of the target
  // text (the target, the rest of the tag, '>' and the tag-free inner text);
  // failing that the first apostrophe; failing that the first '>'.
  std::string_view head = rest.substr(0, gt + 1);
  std::size_t cut = findChar(head, '"');
  if (cut == npos) {
    std::size_t q = findChar(inner, '"');
    if (q != std::string::npos) cut = head.size() + q;
  }
  if (cut == npos) {
    cut = findChar(head, '\'');
    if (cut == npos) {
      std::size_t q = findChar(inner, '\'');
      if (q != std::string::npos) cut = head.size() + q;
    }
  }
  if (cut == npos) cut = gt;
  if (cut <= head.size()) {
    parts.target.assign(head.substr(0, cut));
  } else {
    parts.target.assign(head);
    parts.target.append(inner, 0, cut - head.size());
  }
  return true;
}

}  // namespace ls
