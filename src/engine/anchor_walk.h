// The anchor walk shared by the page scan and the wizard's link listing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ls {

// Finds anchors: each runs from the earlier of the next "HREF=" and "href="
// up to the earlier of the next "</A" and "</a"; the walk goes on at that
// end, so links that begin inside an anchor are not visited on their own.
// An "href=" inside a tag other than an anchor starts nothing (see
// hrefStartsLink); the walk goes on after it.
// Each search finds the earlier of its two markers at once and starts where
// the walk stands, so a page is walked in one linear pass even when one of
// the markers never occurs.
class AnchorWalker {
 public:
  explicit AnchorWalker(std::string_view text) : text_(text) {}

  // The next anchor text, or false when the walk ends.
  bool next(std::string_view& anchor);

 private:
  std::size_t findStart(std::size_t from) const;
  std::size_t findEnd(std::size_t from) const;

  std::string_view text_;
  std::size_t pos_ = 0;
  bool inOtherTag_ = false;
};

// Whether the "href=" at `start` starts a link. It does not when it stands
// inside a tag that is not an anchor: the last '<' before it comes after the
// last '>' before it (quotes are not looked at), and the bytes from that '<'
// up to the "href=" do not open with "<a" or "<A", or open with the name of
// another element beginning with 'a' (abbr, acronym, address, animate,
// applet, area, article, aside, audio; any letter case). Names are matched
// as prefixes, so the rule is the same on the scan's text, whose joined
// lines may run a name into the next attribute, and on the listing's, which
// has lost its blanks. So <link href>, <base href>, <area href> and
// </a href> start nothing; an "href=" outside every tag still does.
// Only [from, start) is looked at: `from` is where the walk stood, and
// `inOtherTag` says whether it stood inside such a tag (set on return), so
// a walk over a text looks at each byte once.
bool hrefStartsLink(const char* text, std::size_t from, std::size_t start, bool& inOtherTag);

// An anchor text is cut to this many bytes; the walk still goes on at the
// real anchor end.
inline constexpr std::size_t kAnchorTextLimit = 7999;
inline constexpr std::size_t kHeadlineLimit = 999;
inline constexpr std::size_t kLinkUrlLimit = 499;
// Fewer inner-text bytes than this and the anchor is no headline.
inline constexpr std::size_t kShortestHeadline = 9;

// The parts of one anchor that make a headline and a link.
struct AnchorParts {
  std::string inner;   // inner text with every tag removed, not cut
  std::string target;  // the link target as written
};

// Splits an anchor text into its tag-free inner text and its link target.
// False when the anchor has no '>' (no inner text) or its inner text is
// shorter than kShortestHeadline bytes.
bool splitAnchor(std::string_view anchor, AnchorParts& parts);

}  // namespace ls
