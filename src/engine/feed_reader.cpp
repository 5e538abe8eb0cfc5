#include "engine/feed_reader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "common/text.h"
#include "engine/anchor_walk.h"
#include "engine/byte_blocks.h"
#include "engine/feed_markup.h"
#include "engine/feed_text.h"
#include "net/redirect.h"
#include "net/url.h"

namespace ls {

namespace {

using xml::npos;
using xml::Tag;

// Element names kept for matching end tags; deeper nesting is only counted.
constexpr std::size_t kNamedDepth = 256;
// An end tag closes the nearest open element of its name among this many.
constexpr std::size_t kEndTagReach = 16;
// xml:base values in effect at once; more are not followed.
constexpr std::size_t kBaseDepth = 32;
// The children read whole: title, link, guid.
constexpr std::size_t kNoEndNames = 3;

// name == literal, compared in line: the few names the reader looks for
// are checked at every tag.
template <std::size_t N>
bool isName(std::string_view name, const char (&literal)[N]) {
  return name.size() == N - 1 && std::memcmp(name.data(), literal, N - 1) == 0;
}

// a == b for tag names, which mostly differ in size or first byte.
bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.empty() || (a[0] == b[0] && std::memcmp(a.data(), b.data(), a.size()) == 0));
}

bool isHtmlType(std::string_view type) {
  type = trimBlanks(type);
  type = type.substr(0, type.find(';'));
  type = trimBlanks(type);
  return equalsIgnoreAsciiCase(type, "text/html") || equalsIgnoreAsciiCase(type, "application/xhtml+xml");
}

TitleMarkup atomMarkup(std::string_view type) {
  type = trimBlanks(type);
  if (equalsIgnoreAsciiCase(type, "html") || equalsIgnoreAsciiCase(type, "text/html")) return TitleMarkup::kHtml;
  if (equalsIgnoreAsciiCase(type, "xhtml") || equalsIgnoreAsciiCase(type, "application/xhtml+xml"))
    return TitleMarkup::kXhtml;
  return TitleMarkup::kText;
}

// The length of an "http://" or "https://" at the start of the URL, in
// either case, else 0.
std::size_t httpSchemeSize(std::string_view url) {
  auto lower = [&](std::size_t k) { return static_cast<char>(url[k] | 0x20); };
  if (url.size() < 7 || lower(0) != 'h' || lower(1) != 't' || lower(2) != 't' || lower(3) != 'p') return 0;
  if (url.compare(4, 3, "://") == 0) return 7;
  return url.size() >= 8 && lower(4) == 's' && url.compare(5, 3, "://") == 0 ? 8 : 0;
}

// An absolute http or https URL with a path and no dot segment, which
// resolving would give back unchanged: most items' links.
bool isPlainAbsolute(std::string_view ref) {
  const std::size_t at = httpSchemeSize(ref);
  if (at == 0) return false;
  const std::size_t slash = blocks::findByte(ref.data(), ref.size(), at, '/');
  return slash != npos && slash > at && blocks::findPart(ref, "/.", slash) == npos;
}

// A reference resolved against a base, its fragment kept (the redirect
// resolver drops it, since a fragment is never sent).
std::string resolveReference(std::string_view base, std::string ref) {
  const std::size_t hash = ref.find('#');
  const std::string_view plain = std::string_view(ref).substr(0, hash);
  if (isPlainAbsolute(plain)) return ref;
  std::string url = resolveLocation(base, plain);
  if (hash != npos) url.append(ref, hash, std::string::npos);
  return url;
}

// An http or https URL with a host and nothing the fetcher would refuse;
// `clean` when it is known to hold no control byte.
bool isUsable(std::string_view url, bool clean = false) {
  const std::size_t hostAt = httpSchemeSize(url);
  if (hostAt == 0) return false;
  const std::size_t hostEnd = std::min(blocks::findByte(url.data(), url.size(), hostAt, '/'), url.size());
  // Without a port the split has nothing to refuse but control bytes.
  if (blocks::findByte(url.data(), hostEnd, hostAt, ':') == npos)
    return hostEnd > hostAt && (clean || !blocks::holdsControlByte(url.data(), url.size()));
  std::optional<RequestTarget> target = splitUrl(url);
  return target && !target->host.empty();
}

class FeedReader {
 public:
  FeedReader(std::string_view text, FeedKind kind, std::string_view pageUrl)
      : s_(text), kind_(kind), pageUrl_(pageUrl) {}

  std::vector<LinkItem> run(std::size_t pos) {
    const std::size_t n = s_.size();
    // An item takes a few hundred bytes; growing would move every item, and
    // room reserved and never written costs no memory.
    items_.reserve(n / 256);
    while (pos < n) {
      const std::size_t lt = blocks::findByte(s_.data(), n, pos, '<');
      if (lt == npos) break;
      pos = step(lt);
    }
    if (inItem_) finishItem();
    return std::move(items_);
  }

 private:
  struct Base {
    std::size_t depth;
    std::string url;
  };
  // The content of an element read whole, up to its end tag.
  struct Content {
    std::string_view raw;
    std::size_t next;
  };

  std::size_t depth() const { return names_.size() + unnamed_; }

  const std::string& base() const { return bases_.empty() ? pageUrl_ : bases_.back().url; }

  // The base in effect inside an element: the inherited one, changed by its
  // own xml:base. A base longer than a URL may be is not taken.
  std::string elementBase(const Tag& tag) const {
    std::string_view value;
    if (!xml::attribute(s_, tag, "xml:base", value)) return base();
    std::string url = resolveReference(base(), urlText(value));
    return url.size() <= kLinkUrlLimit ? url : base();
  }

  // Handles the markup at lt ('<') and returns where reading goes on.
  std::size_t step(std::size_t lt) {
    const char after = lt + 1 < s_.size() ? s_[lt + 1] : '\0';
    if (after == '!') {
      if (xml::startsAt(s_, lt, "<!--")) return xml::commentEnd(s_, lt);
      if (xml::startsAt(s_, lt, "<![CDATA[")) return xml::cdataEnd(s_, lt);
      return xml::declarationEnd(s_, lt);
    }
    if (after == '?') return xml::piEnd(s_, lt);
    Tag tag;
    if (!xml::readTag(s_, lt, tag)) return lt + 1;
    if (tag.end) {
      endTag(tag.name);
      return tag.next;
    }
    return startTag(tag);
  }

  void open(const Tag& tag) {
    if (tag.selfClosing) return;
    std::string_view value;
    // `xml:base="x"` needs a dozen bytes; most tags have no attributes.
    const bool hasBase = tag.attrsEnd - tag.attrsAt >= 12 && xml::attribute(s_, tag, "xml:base", value);
    std::string url = hasBase && bases_.size() < kBaseDepth ? elementBase(tag) : std::string();
    if (names_.size() < kNamedDepth && unnamed_ == 0) {
      names_.push_back(tag.name);
    } else {
      ++unnamed_;
    }
    if (!url.empty()) bases_.push_back(Base{depth(), std::move(url)});
  }

  // Closes elements until `d` are open.
  void closeTo(std::size_t d) {
    if (depth() <= d) return;
    const std::size_t drop = depth() - d;
    const std::size_t deep = drop < unnamed_ ? drop : unnamed_;
    unnamed_ -= deep;
    names_.resize(names_.size() - (drop - deep));
    while (!bases_.empty() && bases_.back().depth > d) bases_.pop_back();
    if (inItem_ && depth() < itemDepth_) finishItem();
  }

  void endTag(std::string_view name) {
    if (inItem_ && sameName(name, itemName_) && depth() >= itemDepth_) {
      closeTo(itemDepth_ - 1);
      return;
    }
    if (unnamed_ > 0) {
      closeTo(depth() - 1);
      return;
    }
    // An end tag with no open element of its name nearby is stray.
    for (std::size_t k = names_.size(), reach = 0; k > 0 && reach < kEndTagReach; --k, ++reach) {
      if (sameName(names_[k - 1], name)) {
        closeTo(k - 1);
        return;
      }
    }
  }

  bool isItem(std::string_view local) const {
    return kind_ == FeedKind::kAtom ? isName(local, "entry") : isName(local, "item");
  }

  // Returns where reading goes on: past the tag, or past the element when
  // it was read whole.
  std::size_t startTag(const Tag& tag) {
    const std::string_view local = xml::localName(tag.name);
    // The prefix is what the local name leaves, its colon aside.
    const std::string_view prefix =
        local.size() < tag.name.size() ? tag.name.substr(0, tag.name.size() - local.size() - 1) : std::string_view();
    if (isItem(local)) {
      if (inItem_) closeTo(itemDepth_ - 1);
      if (tag.selfClosing) return tag.next;
      open(tag);
      inItem_ = true;
      itemDepth_ = depth();
      itemName_ = tag.name;
      itemPrefix_ = prefix;
      title_ = {};
      hasTitle_ = false;
      link_.clear();
      guid_.clear();
      noEnd_.clear();
      return tag.next;
    }
    if (inItem_ && depth() == itemDepth_ && prefix == itemPrefix_) {
      std::size_t next = itemChild(tag, local);
      if (next == npos) {
        open(tag);
        next = tag.next;
      }
      // Once the item has its title and its link, the rest of it is
      // passed over up to its end.
      return hasTitle_ && !link_.empty() ? itemEnd(next) : next;
    }
    open(tag);
    return tag.next;
  }

  // The name of the tag at lt ('<'): "</name" or "<name".
  struct TagName {
    bool end;
    std::string_view name;
    std::size_t after;  // just past the name
  };
  TagName tagNameAt(std::size_t lt) const {
    const std::size_t n = s_.size();
    const bool end = lt + 1 < n && s_[lt + 1] == '/';
    const std::size_t at = lt + (end ? 2 : 1);
    std::size_t k = at;
    while (k < n && !xml::isSpace(s_[k]) && s_[k] != '>' && s_[k] != '/' && s_[k] != '<') ++k;
    return TagName{end, s_.substr(at, k - at), k};
  }

  // The item's end tag, or the start of another item.
  bool endsItem(const TagName& t) const {
    return t.end ? sameName(t.name, itemName_) : isItem(xml::localName(t.name));
  }

  // Where the current item ends, from `pos` on, outside CDATA sections and
  // comments: its end tag, or another item's start tag written the same
  // way; the text's end when neither comes. One walk from '<' to '<', which
  // jumps over CDATA sections and comments: linear, and each byte is looked
  // at once.
  std::size_t itemEnd(std::size_t pos) {
    const std::size_t n = s_.size();
    const char* const text = s_.data();
    const std::size_t nameSize = itemName_.size();
    // Few tags share the item name's first byte: the call is made for those.
    const char first = itemName_[0];
    while (pos < n) {
      const std::size_t lt = blocks::findByte(text, n, pos, '<');
      if (lt == npos) return n;
      const std::size_t rest = n - lt;
      if (rest > 1 && text[lt + 1] == '/') {
        // "</name" ending the name: the item's own end tag.
        const std::size_t after = lt + 2 + nameSize;
        if (rest >= 2 + nameSize && text[lt + 2] == first &&
            std::memcmp(text + lt + 2, itemName_.data(), nameSize) == 0 &&
            (after >= n || xml::isSpace(text[after]) || text[after] == '>' || text[after] == '/'))
          return lt;
      } else if (rest > 1 && text[lt + 1] == '!') {
        if (xml::startsAt(s_, lt, "<![CDATA[")) {
          pos = xml::cdataEnd(s_, lt);
          continue;
        }
        if (xml::startsAt(s_, lt, "<!--")) {
          pos = xml::commentEnd(s_, lt);
          continue;
        }
      } else if (rest >= 1 + nameSize && text[lt + 1] == first &&
                 std::memcmp(text + lt + 1, itemName_.data(), nameSize) == 0) {
        return lt;  // "<name...": another item written the same way
      }
      pos = lt + 1;
    }
    return n;
  }

  // A direct child of the item: where reading goes on when it was read
  // whole, else npos.
  std::size_t itemChild(const Tag& tag, std::string_view local) {
    std::string_view value;
    if (isName(local, "title") && !hasTitle_) {
      markup_ = TitleMarkup::kHtml;
      if (kind_ == FeedKind::kAtom) markup_ = atomMarkup(xml::attribute(s_, tag, "type", value) ? value : "");
      Content c;
      if (!content(tag, c)) return npos;
      title_ = c.raw;
      hasTitle_ = true;
      return c.next;
    }
    if (kind_ == FeedKind::kAtom) {
      if (isName(local, "link") && link_.empty()) {
        std::string_view rel, type, href;
        const bool alternate = !xml::attribute(s_, tag, "rel", rel) || trimBlanks(rel) == "alternate";
        const bool html = !xml::attribute(s_, tag, "type", type) || isHtmlType(type);
        if (alternate && html && xml::attribute(s_, tag, "href", href)) take(link_, &tag, href);
      }
      return npos;
    }
    if (isName(local, "link") && link_.empty()) {
      Content c;
      if (!content(tag, c)) return npos;
      take(link_, &tag, c.raw);
      return c.next;
    }
    if (isName(local, "guid") && guid_.empty()) {
      Content c;
      if (!content(tag, c)) return npos;
      const bool marked = xml::attribute(s_, tag, "isPermaLink", value);
      const bool permalink = !marked || !equalsIgnoreAsciiCase(trimBlanks(value), "false");
      std::string_view plain;
      const bool isPlain = plainUrlText(c.raw, plain);
      const std::string ref = isPlain ? std::string() : urlText(c.raw);
      const std::string_view text = isPlain ? plain : ref;
      // A guid is an identifier: an absolute URL is a link, and so is a
      // relative one marked as a permalink, or one written as a path ("/",
      // "./", "../") without the mark; a bare "12345" or "tag:" is none.
      const bool path = !text.empty() && (text[0] == '/' || text.substr(0, 2) == "./" || text.substr(0, 3) == "../");
      const bool relativeLink = marked ? permalink : path;
      if (permalink && (httpSchemeSize(text) != 0 || relativeLink)) take(guid_, &tag, c.raw);
      return c.next;
    }
    return npos;
  }

  // The URL of `raw` into the slot when it is usable, resolved against the
  // base inside `tag` (the inherited one without a tag).
  void take(std::string& slot, const Tag* tag, std::string_view raw) {
    // Most links are absolute and written plain: taken as they are.
    const std::string_view plain = trimBlanks(raw);
    if (!blocks::holdsControlByte(plain.data(), plain.size(), true) &&
        isPlainAbsolute(plain.substr(0, blocks::findByte(plain.data(), plain.size(), 0, '#')))) {
      if (isUsable(plain, true)) slot.assign(plain);
      return;
    }
    std::string url = urlText(raw);
    if (url.empty()) return;
    url = resolveReference(tag ? elementBase(*tag) : base(), std::move(url));
    if (isUsable(url)) slot = std::move(url);
  }

  // The content of the item's child whose start tag is `tag`, up to its
  // end tag outside CDATA sections. False when no end tag comes before the
  // item ends (its own end tag, or the start of another item): the element
  // is then read as any other. So a search never passes the item's end, and
  // a name looked for in vain is not looked for again in the same item: a
  // feed full of unclosed titles is still read in linear time.
  bool content(const Tag& tag, Content& c) {
    if (tag.selfClosing) {
      c = Content{std::string_view(), tag.next};
      return true;
    }
    for (std::string_view name : noEnd_)
      if (sameName(name, tag.name)) return false;
    const std::size_t n = s_.size();
    for (std::size_t at = tag.next; at < n;) {
      const std::size_t lt = blocks::findByte(s_.data(), n, at, '<');
      if (lt == npos) break;
      if (xml::startsAt(s_, lt, "<![CDATA[")) {
        at = xml::cdataEnd(s_, lt);
        continue;
      }
      const TagName t = tagNameAt(lt);
      if (t.end && sameName(t.name, tag.name)) {
        const std::size_t gt = blocks::findByte(s_.data(), n, t.after, '>');
        c = Content{s_.substr(tag.next, lt - tag.next), gt == npos ? n : gt + 1};
        return true;
      }
      if (endsItem(t)) break;
      at = t.after > lt + 1 ? t.after : lt + 1;
    }
    if (noEnd_.size() < kNoEndNames) noEnd_.push_back(tag.name);
    return false;
  }

  void finishItem() {
    inItem_ = false;
    const std::string& url = link_.empty() ? guid_ : link_;
    if (!hasTitle_ || url.empty()) return;
    std::string headline = titleText(title_, markup_);
    if (headline.size() < kShortestHeadline) return;
    cutInPlace(headline, kHeadlineLimit);
    LinkItem& item = items_.emplace_back();
    item.headline = std::move(headline);
    item.url = std::move(link_.empty() ? guid_ : link_);
    cutInPlace(item.url, kLinkUrlLimit);
  }

  const std::string_view s_;
  const FeedKind kind_;
  const std::string pageUrl_;
  std::vector<std::string_view> names_;
  std::size_t unnamed_ = 0;
  std::vector<Base> bases_;
  // Names of the current item's children whose end tag was looked for in vain.
  std::vector<std::string_view> noEnd_;

  bool inItem_ = false;
  std::size_t itemDepth_ = 0;
  std::string_view itemName_, itemPrefix_;
  std::string_view title_;
  bool hasTitle_ = false;
  TitleMarkup markup_ = TitleMarkup::kHtml;
  std::string link_, guid_;
  std::vector<LinkItem> items_;
};

}  // namespace

std::vector<LinkItem> readFeedItems(std::string_view text, std::size_t from, FeedKind kind,
                                    std::string_view pageUrl) {
  return FeedReader(text, kind, pageUrl).run(from);
}

}  // namespace ls
