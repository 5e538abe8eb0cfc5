#include "engine/anchor_walk.h"

namespace ls {

namespace {
constexpr std::size_t npos = std::string_view::npos;
}

std::size_t AnchorWalker::nextOf(std::string_view marker, std::size_t& cache, std::size_t from) {
  if (cache != npos && cache < from) cache = text_.find(marker, from);
  return cache;
}

bool AnchorWalker::next(std::string_view& anchor) {
  if (!primed_) {
    hrefUpper_ = text_.find("HREF=");
    hrefLower_ = text_.find("href=");
    endUpper_ = text_.find("</A");
    endLower_ = text_.find("</a");
    primed_ = true;
  }
  std::size_t a = nextOf("HREF=", hrefUpper_, pos_);
  std::size_t b = nextOf("href=", hrefLower_, pos_);
  std::size_t start = a < b ? a : b;
  if (start == npos) return false;
  std::size_t c = nextOf("</A", endUpper_, start);
  std::size_t d = nextOf("</a", endLower_, start);
  std::size_t end = c < d ? c : d;
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
  std::size_t eq = anchor.find('=');
  std::string_view rest = eq == npos ? std::string_view() : anchor.substr(eq + 1);
  if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) rest.remove_prefix(1);

  std::size_t gt = rest.find('>');
  if (gt == npos) return false;
  std::string_view innerRaw = rest.substr(gt + 1);

  // Tags go: each '<' with the first '>' after it and all between. A '<'
  // without a '>' after it ends the removal.
  std::string& inner = parts.inner;
  inner.clear();
  inner.reserve(innerRaw.size());
  std::size_t i = 0;
  for (;;) {
    std::size_t lt = innerRaw.find('<', i);
    if (lt == npos) {
      inner.append(innerRaw.substr(i));
      break;
    }
    std::size_t close = innerRaw.find('>', lt + 1);
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
  std::size_t cut = head.find('"');
  if (cut == npos) {
    std::size_t q = inner.find('"');
    if (q != std::string::npos) cut = head.size() + q;
  }
  if (cut == npos) {
    cut = head.find('\'');
    if (cut == npos) {
      std::size_t q = inner.find('\'');
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
