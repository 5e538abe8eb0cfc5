#include "engine/feed_detect.h"

#include "common/text.h"
#include "engine/feed_markup.h"
#include "engine/page_detect.h"

namespace ls {

namespace {

constexpr std::string_view kRss10 = "http://purl.org/rss/1.0/";
constexpr std::string_view kRss090 = "http://my.netscape.com/rdf/simple/0.9/";

}  // namespace

std::optional<FeedKind> feedKindAt(std::string_view s, std::size_t i) {
  using namespace xml;
  if (startsAt(s, i, "\xEF\xBB\xBF")) i += 3;
  for (;;) {
    i = skipSpaces(s, i);
    if (i >= s.size() || s[i] != '<') return std::nullopt;
    if (startsAt(s, i, "<?")) {
      i = piEnd(s, i);
    } else if (startsAt(s, i, "<!--")) {
      i = commentEnd(s, i);
    } else if (startsAt(s, i, "<!")) {
      if (!startsWithIgnoreAsciiCase(s.substr(i + 2), "DOCTYPE")) return std::nullopt;
      i = declarationEnd(s, i);
    } else {
      Tag tag;
      if (!readTag(s, i, tag) || tag.end) return std::nullopt;
      const std::string_view local = localName(tag.name);
      if (local == "rss") return FeedKind::kRss;
      if (local == "feed") return FeedKind::kAtom;
      if (local == "RDF") {
        const std::string_view attrs = s.substr(tag.attrsAt, tag.attrsEnd - tag.attrsAt);
        if (contains(attrs, kRss10) || contains(attrs, kRss090)) return FeedKind::kRdf;
      }
      return std::nullopt;
    }
  }
}

std::optional<FeedKind> feedKindOfPage(std::string_view fileBytes) {
  return feedKindAt(fileBytes, detect::bodyStart(fileBytes));
}

}  // namespace ls
