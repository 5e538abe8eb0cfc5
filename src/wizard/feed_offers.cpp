#include "wizard/feed_offers.h"

#include "common/text.h"
#include "engine/feed_markup.h"
#include "engine/feed_text.h"
#include "net/redirect.h"

namespace ls {

namespace {

// A page announces a few feeds; more are not offered.
constexpr std::size_t kMostOffers = 20;

// The format's name of an announced type, or nothing for another type.
std::string_view formatOf(std::string_view type) {
  type = trimBlanks(type);
  type = trimBlanks(type.substr(0, type.find(';')));
  if (equalsIgnoreAsciiCase(type, "application/rss+xml")) return "RSS";
  if (equalsIgnoreAsciiCase(type, "application/atom+xml")) return "Atom";
  if (equalsIgnoreAsciiCase(type, "application/rdf+xml")) return "RSS 1.0";
  return {};
}

bool holdsWord(std::string_view list, std::string_view word) {
  std::size_t i = 0;
  while (i < list.size()) {
    while (i < list.size() && xml::isSpace(list[i])) ++i;
    std::size_t at = i;
    while (i < list.size() && !xml::isSpace(list[i])) ++i;
    if (i > at && equalsIgnoreAsciiCase(list.substr(at, i - at), word)) return true;
  }
  return false;
}

// The attribute in any letter case, as HTML writes it.
bool htmlAttribute(std::string_view s, const xml::Tag& tag, std::string_view name, std::string_view& value) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return xml::attribute(s, tag, name, value) || xml::attribute(s, tag, upper, value);
}

}  // namespace

std::vector<FeedOffer> announcedFeeds(std::string_view text, std::string_view pageUrl) {
  std::vector<FeedOffer> offers;
  for (std::size_t lt = text.find('<'); lt != std::string_view::npos; lt = text.find('<', lt + 1)) {
    if (lt + 5 >= text.size() || !equalsIgnoreAsciiCase(text.substr(lt + 1, 4), "link") ||
        !xml::isSpace(text[lt + 5]))
      continue;
    xml::Tag tag;
    if (!xml::readTag(text, lt, tag)) continue;
    std::string_view rel, type, href, title;
    if (!htmlAttribute(text, tag, "rel", rel) || !holdsWord(rel, "alternate")) continue;
    if (!htmlAttribute(text, tag, "type", type)) continue;
    const std::string_view format = formatOf(type);
    if (format.empty() || !htmlAttribute(text, tag, "href", href)) continue;
    const std::string ref = urlText(href);
    if (ref.empty()) continue;
    std::string url = resolveLocation(pageUrl, ref);
    if (!startsWithIgnoreAsciiCase(url, "http://") && !startsWithIgnoreAsciiCase(url, "https://")) continue;
    bool seen = false;
    for (const FeedOffer& o : offers) seen = seen || o.url == url;
    if (seen) continue;
    FeedOffer& offer = offers.emplace_back();
    offer.title = htmlAttribute(text, tag, "title", title) ? titleText(title, TitleMarkup::kText) : std::string();
    if (offer.title.empty()) offer.title = std::string(format);
    offer.url = std::move(url);
    if (offers.size() == kMostOffers) break;
    lt = tag.next - 1;
  }
  return offers;
}

}  // namespace ls
