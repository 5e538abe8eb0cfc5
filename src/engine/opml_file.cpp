#include "engine/opml_file.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/text.h"
#include "engine/feed_markup.h"
#include "engine/feed_text.h"
#include "engine/page_convert.h"
#include "sites/site_edit.h"

namespace ls {

namespace {

// A feed's item URL always holds it: every item.
constexpr const char* kEveryItem = "http";
constexpr const char* kExtractAttribute = "linkscout:extract";
constexpr const char* kCheckedAttribute = "linkscout:checked";

std::string sjisTextOf(std::string_view bytes) {
  std::optional<ByteOrderMark> mark = findByteOrderMark(bytes);
  if (mark && (mark->encoding == PageEncoding::Utf16Le || mark->encoding == PageEncoding::Utf16Be))
    return convertPageAs(bytes, mark->encoding);
  return convertPageToSjis(bytes);
}

std::string decoded(std::string_view raw) {
  std::string out;
  appendXmlText(out, raw);
  return out;
}

// The outline's site, or nothing for a folder or an outline without a URL
// or a name.
std::optional<Site> siteOf(std::string_view text, const xml::Tag& tag) {
  std::string_view feed, page, title, label, extract, checked;
  const bool isFeed = xml::attribute(text, tag, "xmlUrl", feed);
  const bool own = xml::attribute(text, tag, kExtractAttribute, extract);
  if (!isFeed && !(own && xml::attribute(text, tag, "htmlUrl", page))) return std::nullopt;
  Site site;
  site.url = std::string(cutToBytes(urlText(isFeed ? feed : page), kImportLimits.url));
  std::string name;
  if (xml::attribute(text, tag, "title", title)) name = titleText(title, TitleMarkup::kText);
  if (name.empty() && xml::attribute(text, tag, "text", label)) name = titleText(label, TitleMarkup::kText);
  site.name = std::string(cutToBytes(name, kImportLimits.name));
  site.extract = own ? std::string(cutToBytes(decoded(extract), kImportLimits.extract)) : kEveryItem;
  site.checked = own && xml::attribute(text, tag, kCheckedAttribute, checked) && checked == "1";
  if (site.url.empty() || site.name.empty() || site.extract.empty()) return std::nullopt;
  return site;
}

void appendEscaped(std::string& out, std::string_view sjis) {
  for (char c : cp932ToUtf8(sjis)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
}

void appendAttribute(std::string& out, const char* name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendEscaped(out, value);
  out += '"';
}

}  // namespace

OpmlRead readOpml(std::string_view bytes) {
  const std::string text = sjisTextOf(bytes);
  OpmlRead read;
  std::vector<std::string_view> open;  // the elements not yet closed, outermost first
  bool sawRoot = false, sawBody = false;
  std::size_t i = text.find('<');
  while (i != std::string::npos) {
    std::size_t past;
    if (xml::startsAt(text, i, "<!--")) {
      past = xml::commentEnd(text, i);
    } else if (xml::startsAt(text, i, "<?")) {
      past = xml::piEnd(text, i);
    } else if (xml::startsAt(text, i, "<![CDATA[")) {
      past = xml::cdataEnd(text, i);
    } else if (xml::startsAt(text, i, "<!")) {
      past = xml::declarationEnd(text, i);
    } else {
      xml::Tag tag;
      if (!xml::readTag(text, i, tag) || tag.next > text.size() || text[tag.next - 1] != '>') return {};
      if (tag.end) {
        if (open.empty() || open.back() != tag.name) return {};
        open.pop_back();
      } else {
        if (open.empty() && (sawRoot || tag.name != "opml")) return {};
        sawRoot = true;
        if (tag.name == "body" && open.size() == 1) sawBody = true;
        if (tag.name == "outline" && sawBody)
          if (std::optional<Site> site = siteOf(text, tag)) read.sites.push_back(std::move(*site));
        if (!tag.selfClosing) open.push_back(tag.name);
      }
      past = tag.next;
    }
    if (past <= i || past > text.size()) return {};
    i = text.find('<', past);
  }
  if (!sawRoot || !sawBody || !open.empty()) return {};
  read.ok = true;
  return read;
}

std::string writeOpml(const std::vector<Site>& sites) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<opml version=\"2.0\" xmlns:linkscout=\"";
  out += kOpmlNamespace;
  out += "\">\r\n<head>\r\n<title>LINKSCOUT</title>\r\n</head>\r\n<body>\r\n";
  for (const Site& site : sites) {
    const bool feed = site.extract == kEveryItem;
    out += "<outline";
    appendAttribute(out, "text", site.name);
    appendAttribute(out, "title", site.name);
    if (feed) appendAttribute(out, "type", "rss");
    appendAttribute(out, feed ? "xmlUrl" : "htmlUrl", site.url);
    appendAttribute(out, kExtractAttribute, site.extract);
    appendAttribute(out, kCheckedAttribute, site.checked ? "1" : "0");
    out += "/>\r\n";
  }
  out += "</body>\r\n</opml>\r\n";
  return out;
}

int importOpmlSites(std::vector<Site>& rows, const std::vector<Site>& sites) {
  std::vector<Site> fresh;
  for (const Site& site : sites) {
    auto sameUrl = [&](const Site& other) { return cutToBytes(other.url, kEditUrlBytes) == site.url; };
    if (std::any_of(rows.begin(), rows.end(), sameUrl) || std::any_of(fresh.begin(), fresh.end(), sameUrl)) continue;
    fresh.push_back(site);
  }
  // The merge puts each site on top: the last one first keeps the file's
  // order at the top of the list.
  std::reverse(fresh.begin(), fresh.end());
  const int added = importSites(rows, fresh);
  for (int k = 0; k < added; ++k) rows[static_cast<std::size_t>(k)].checked = fresh[fresh.size() - 1 - static_cast<std::size_t>(k)].checked;
  return added;
}

bool isOpmlFileName(std::string_view name) {
  auto endsWith = [&](std::string_view tail) {
    return name.size() >= tail.size() && equalsIgnoreAsciiCase(name.substr(name.size() - tail.size()), tail);
  };
  return endsWith(".opml") || endsWith(".xml");
}

}  // namespace ls
