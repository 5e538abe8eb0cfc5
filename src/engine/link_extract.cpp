#include "engine/link_extract.h"

#include <cstring>
#include <memory>

#include "common/text.h"
#include "engine/anchor_walk.h"
#include "engine/byte_blocks.h"
#include "engine/headline_removal.h"
#include "engine/link_url.h"
#include "engine/page_text.h"

namespace ls {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// One walk over the comment-free text does what the anchor walk, the anchor
// split and the search for a base override would do in passes of their own.
// Every "f=" or "F=" of the text is visited once (between anchors for the
// next "href=", inside them beside the '<' and '>' of the tag removal), so
// the first "basehref=" and "BASEHREF=" turn up on the way. Since the base
// is known only at the end, the links are made after the walk: the inner
// texts of the taken anchors are kept in one buffer, and the headline lists
// are applied there too, on bytes written long before they are read again.
class LinkScan {
 public:
  LinkScan(std::string_view text, std::string_view extract, const HeadlineFilters& filters)
      : s_(text.data()),
        n_(text.size()),
        required_(splitCommaList(extract)),
        removals_(splitCommaList(filters.deleteList)),
        ignored_(splitCommaList(filters.disregardList)) {}

  std::vector<LinkItem> run(std::string_view siteUrl) {
    // A link takes a hundred bytes of markup or more; room reserved and
    // never written costs no memory, and growing would move every link.
    links_.reserve(n_ / 128);
    targets_.reserve(n_ / 128);
    bool inOtherTag = false;
    for (std::size_t pos = 0;;) {
      const std::size_t start = findStart(pos);
      if (start == npos) break;
      if (!hrefStartsLink(s_, pos, start, inOtherTag)) {
        pos = start + 5;
        continue;
      }
      const std::size_t end = walkAnchor(start);
      if (end == npos) break;
      pos = end;
    }

    std::string base = baseUrlOf(siteUrl);
    const std::string_view text(s_, n_);
    if (lowerBase_ != npos) {
      applyBaseOverrideAt(text, lowerBase_, base);
    } else if (upperBase_ != npos) {
      applyBaseOverrideAt(text, upperBase_, base);
    }

    // The headline lists and the absolute URLs, in place; a disregarded
    // link gives its place to the next one kept.
    const UrlBase urlBase(base);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < links_.size(); ++i) {
      LinkItem& item = links_[i];
      std::string& headline = item.headline;
      std::size_t size = headline.size();
      for (std::string_view entry : removals_) size = removeAllIn(headline.data(), size, entry);
      headline.resize(size);
      if (holdsAny(headline)) continue;
      const Target& t = targets_[i];
      const std::string_view target = t.inUrl ? std::string_view(item.url) : std::string_view(s_ + t.at, t.size);
      std::string url = urlBase.absolute(target);
      if (url.size() > kLinkUrlLimit) cutInPlace(url, kLinkUrlLimit);
      item.url = std::move(url);
      if (kept != i) links_[kept] = std::move(item);
      ++kept;
    }
    links_.erase(links_.begin() + static_cast<std::ptrdiff_t>(kept), links_.end());
    return std::move(links_);
  }

 private:
  // Where a taken link's target is: in the text, or (when it runs on into
  // the inner text, or the anchor was cut) already in the link's url.
  struct Target {
    std::size_t at, size;
    bool inUrl;
  };
  enum class State { Head, Text, Tag };

  // Notes a "basehref=" or "BASEHREF=" whose '=' stands at e (after an 'f'
  // or 'F').
  void noteEquals(std::size_t e) {
    if (lowerBase_ != npos || e < 8) return;
    if (std::memcmp(s_ + e - 8, "basehref", 8) == 0) {
      lowerBase_ = e - 8;
    } else if (upperBase_ == npos && std::memcmp(s_ + e - 8, "BASEHREF", 8) == 0) {
      upperBase_ = e - 8;
    }
  }

  // The first "href=" or "HREF=" at or after `from`.
  std::size_t findStart(std::size_t from) {
    for (std::size_t at = from + 4; at < n_; at += blocks::kBlock) {
      unsigned m = at + blocks::kBlock <= n_ ? blocks::fEqualsMask(s_ + at) : blocks::fEqualsTailMask(s_ + at, n_ - at);
      for (; m != 0; m &= m - 1) {
        const std::size_t e = at + blocks::lowestBit(m);
        noteEquals(e);
        if (std::memcmp(s_ + e - 4, "href", 4) == 0 || std::memcmp(s_ + e - 4, "HREF", 4) == 0) return e - 4;
      }
    }
    return npos;
  }

  // Walks the anchor that begins at `start` up to its end, the first "</a"
  // or "</A", and takes it when it makes a link. Returns the end, or npos
  // when the text has none.
  std::size_t walkAnchor(std::size_t start) {
    // After "href=" and one quote comes the target; the first '>' ends the
    // tag, then the inner text loses every '<' with the first '>' after it.
    std::size_t rest = start + 5;
    if (rest < n_ && (s_[rest] == '"' || s_[rest] == '\'')) ++rest;
    State state = State::Head;
    std::size_t gt = npos, kept = 0, tagAt = 0;
    bool tooLong = false;  // past the anchor text limit: only the end is looked for
    innerSize_ = 0;
    for (std::size_t at = rest; at < n_; at += blocks::kBlock) {
      unsigned m = at + blocks::kBlock <= n_ ? blocks::tagOrFEqualsMask(s_ + at)
                                             : blocks::tagOrFEqualsTailMask(s_ + at, n_ - at);
      for (; m != 0; m &= m - 1) {
        const std::size_t e = at + blocks::lowestBit(m);
        const char c = s_[e];
        if (c == '=') {
          noteEquals(e);
          continue;
        }
        if (c == '<' && e + 2 < n_ && s_[e + 1] == '/' && (s_[e + 2] | 0x20) == 'a') {
          if (e - start > kAnchorTextLimit) {
            takeCut(std::string_view(s_ + start, e - start));
          } else if (state != State::Head) {
            appendInner(state == State::Tag ? tagAt : kept, e);
            takeWhole(start, e, rest, gt);
          }
          return e;
        }
        if (tooLong) continue;
        if (e - start >= kAnchorTextLimit) {
          tooLong = true;
          continue;
        }
        if (c == '<') {
          if (state == State::Text) {
            appendInner(kept, e);
            tagAt = e;
            state = State::Tag;
          }
        } else if (state == State::Head) {
          gt = e;
          kept = e + 1;
          state = State::Text;
        } else if (state == State::Tag) {
          kept = e + 1;
          state = State::Text;
        }
      }
    }
    return npos;
  }

  void appendInner(std::size_t from, std::size_t to) {
    std::memcpy(inner_.get() + innerSize_, s_ + from, to - from);
    innerSize_ += to - from;
  }

  // The extraction test: every entry occurs in the anchor text.
  bool holdsAll(std::string_view anchor) const {
    for (std::string_view entry : required_)
      if (!blocks::containsPart(anchor, entry)) return false;
    return true;
  }

  // The DISREGARD test: some entry occurs in the headline.
  bool holdsAny(std::string_view headline) const {
    for (std::string_view entry : ignored_)
      if (blocks::containsPart(headline, entry)) return true;
    return false;
  }

  // An anchor within the text limit, walked whole: inner_ holds its inner
  // text with the tags removed.
  void takeWhole(std::size_t start, std::size_t end, std::size_t rest, std::size_t gt) {
    if (innerSize_ < kShortestHeadline) return;
    if (!holdsAll(std::string_view(s_ + start, end - start))) return;
    // The target: up to the first double quote of the tag's rest and the
    // inner text, failing that the first apostrophe, failing that the '>'.
    const std::string_view head(s_ + rest, gt + 1 - rest);
    const std::string_view inner(inner_.get(), innerSize_);
    std::size_t cut = blocks::findByte(head.data(), head.size(), 0, '"');
    if (cut == npos) {
      std::size_t q = blocks::findByte(inner.data(), inner.size(), 0, '"');
      if (q != npos) cut = head.size() + q;
    }
    if (cut == npos) {
      cut = blocks::findByte(head.data(), head.size(), 0, '\'');
      if (cut == npos) {
        std::size_t q = blocks::findByte(inner.data(), inner.size(), 0, '\'');
        if (q != npos) cut = head.size() + q;
      }
    }
    if (cut == npos) cut = gt - rest;
    // Each link holds its own strings from here on: a shared store beside
    // them would add its size to the scan's peak memory.
    LinkItem& link = links_.emplace_back();
    link.headline.assign(inner_.get(), cutLength(inner, kHeadlineLimit));
    if (cut <= head.size()) {
      targets_.push_back(Target{rest, cut, false});
    } else {
      link.url.reserve(cut);
      link.url.append(head).append(inner.substr(0, cut - head.size()));
      targets_.push_back(Target{0, 0, true});
    }
  }

  // An anchor longer than the text limit: cut, then split as the walk of
  // the wizard's listing does.
  void takeCut(std::string_view anchor) {
    anchor = cutToBytes(anchor, kAnchorTextLimit);
    if (!holdsAll(anchor) || !splitAnchor(anchor, parts_)) return;
    LinkItem& link = links_.emplace_back();
    link.headline = std::string(cutToBytes(parts_.inner, kHeadlineLimit));
    link.url = parts_.target;
    targets_.push_back(Target{0, 0, true});
  }

  const char* const s_;
  const std::size_t n_;
  const std::vector<std::string_view> required_, removals_, ignored_;
  std::size_t lowerBase_ = npos, upperBase_ = npos;
  // The inner text of the anchor being walked, tags removed; an anchor
  // within the text limit never has more.
  std::unique_ptr<char[]> inner_{new char[kAnchorTextLimit]};
  std::size_t innerSize_ = 0;
  AnchorParts parts_;
  std::vector<LinkItem> links_;
  std::vector<Target> targets_;
};

}  // namespace

std::vector<LinkItem> extractLinks(std::string& text, std::string_view siteUrl, std::string_view extract,
                                   const HeadlineFilters& filters) {
  removeComments(text);
  return LinkScan(text, extract, filters).run(siteUrl);
}

}  // namespace ls
