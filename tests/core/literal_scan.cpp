#include "literal_scan.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "common/text.h"

namespace ls::literal {

namespace {

constexpr std::size_t npos = std::string::npos;

std::vector<std::string> split(const std::string& list) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < list.size()) {
    std::size_t comma = list.find(',', pos);
    if (comma == npos) comma = list.size();
    out.push_back(list.substr(pos, comma - pos));
    pos = comma + 1;
  }
  return out;
}

struct Anchor {
  std::string inner, target;
};

// An "href=" inside a tag other than an anchor: the last '<' before it
// stands after the last '>' before it, and the tag's text up to the
// "href=" is not "<a..." or is "<area..." or another element's name.
bool insideOtherTag(const std::string& text, std::size_t start) {
  if (start == 0) return false;
  std::size_t lt = text.rfind('<', start - 1), gt = text.rfind('>', start - 1);
  if (lt == npos || (gt != npos && gt > lt)) return false;
  std::string tag = text.substr(lt, start - lt);
  for (char& c : tag) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (tag.compare(0, 2, "<a") != 0) return true;
  for (const char* other : {"<abbr", "<acronym", "<address", "<animate", "<applet", "<area", "<article", "<aside",
                            "<audio"})
    if (tag.compare(0, std::strlen(other), other) == 0) return true;
  return false;
}

bool findAnchor(const std::string& text, std::size_t& pos, std::string& anchor) {
  std::size_t start;
  for (;;) {
    std::size_t a = text.find("HREF=", pos), b = text.find("href=", pos);
    start = std::min(a, b);
    if (start == npos) return false;
    if (!insideOtherTag(text, start)) break;
    pos = start + 1;
  }
  std::size_t c = text.find("</A", start), d = text.find("</a", start);
  std::size_t end = std::min(c, d);
  if (end == npos) return false;
  anchor = text.substr(start, end - start);
  pos = end;
  return true;
}

bool headlineAndTarget(std::string anchor, Anchor& out) {
  anchor = std::string(cutToBytes(anchor, 7999));
  std::string t = anchor.substr(anchor.find('=') + 1);
  if (!t.empty() && (t[0] == '"' || t[0] == '\'')) t.erase(0, 1);
  std::size_t gt = t.find('>');
  if (gt == npos) return false;
  // Tag removal in place, as in a fixed buffer.
  std::size_t from = gt + 1;
  for (;;) {
    std::size_t lt = t.find('<', from);
    if (lt == npos) break;
    std::size_t close = t.find('>', lt);
    if (close == npos) break;
    t.erase(lt, close - lt + 1);
    from = lt;
  }
  out.inner = t.substr(gt + 1);
  if (out.inner.size() < 9) return false;
  std::size_t cut = t.find('"');
  if (cut == npos) cut = t.find('\'');
  if (cut == npos) cut = t.find('>');
  out.target = t.substr(0, cut);
  return true;
}

}  // namespace

void removeComments(std::string& text) {
  for (;;) {
    std::size_t open = text.find("<!--");
    if (open == npos) return;
    std::size_t close = text.find("-->", open);
    if (close == npos) {
      text.erase(open);
      return;
    }
    text.erase(open, close + 3 - open);
  }
}

void removeAll(std::string& text, std::string_view part) {
  if (part.empty()) return;
  for (;;) {
    std::size_t at = text.find(part);
    if (at == npos) return;
    text.erase(at, part.size());
  }
}

std::vector<LinkItem> extractLinks(std::string text, std::string_view siteUrl, std::string_view extract,
                                   const HeadlineFilters& filters) {
  removeComments(text);
  std::string base(siteUrl);
  std::size_t scheme = base.find("://");
  if (scheme != npos && base.find('/', scheme + 3) == npos) base += '/';
  std::size_t lastSlash = base.rfind('/');
  if (lastSlash != npos) base.erase(lastSlash + 1);

  std::size_t bh = text.find("basehref=");
  if (bh == npos) bh = text.find("BASEHREF=");
  if (bh != npos) {
    std::size_t gt = text.find('>', bh + 9);
    if (gt != npos) {
      std::string value(cutToBytes(text.substr(bh + 9, gt - bh - 9), 499));
      if (!value.empty() && (value[0] == '"' || value[0] == '\'')) {
        value.erase(0, 1);
        std::size_t s = value.rfind('/');
        if (s != npos) value.erase(s + 1);
      }
      base = value;
    }
  }

  std::vector<LinkItem> links;
  std::size_t pos = 0;
  std::string anchor;
  while (findAnchor(text, pos, anchor)) {
    std::string cutAnchor(cutToBytes(anchor, 7999));
    bool pass = true;
    for (const std::string& e : split(std::string(extract)))
      if (cutAnchor.find(e) == npos) {
        pass = false;
        break;
      }
    Anchor parts;
    if (!pass || !headlineAndTarget(anchor, parts)) continue;
    LinkItem item;
    item.headline = std::string(cutToBytes(parts.inner, 999));
    std::string target = parts.target;
    if (target.compare(0, 4, "http") == 0 || target.compare(0, 4, "HTTP") == 0) {
      item.url = target;
    } else {
      std::string work = base;
      std::size_t at;
      while ((at = target.find("./")) != npos) {
        target.erase(0, at + 2);
        if (std::count(work.begin(), work.end(), '/') >= 4) {
          work.erase(work.rfind('/'));
          work.erase(work.rfind('/') + 1);
        }
      }
      if (!target.empty() && target[0] == '/') {
        std::size_t sc = work.find("://");
        std::size_t sl = sc == npos ? npos : work.find('/', sc + 3);
        if (sl != npos) work.erase(sl + 1);
        target.erase(0, 1);
      }
      item.url = work + target;
    }
    item.url = std::string(cutToBytes(item.url, 499));
    for (const std::string& e : split(filters.deleteList)) removeAll(item.headline, e);
    bool ignored = false;
    for (const std::string& e : split(filters.disregardList))
      if (item.headline.find(e) != npos) ignored = true;
    if (!ignored) links.push_back(item);
  }
  return links;
}

std::vector<ListedLink> listLinks(std::string text) {
  removeComments(text);
  std::vector<ListedLink> rows;
  std::size_t pos = 0;
  std::string anchor;
  while (findAnchor(text, pos, anchor)) {
    Anchor parts;
    if (!headlineAndTarget(anchor, parts)) continue;
    std::string target = parts.target;
    if (target.compare(0, 4, "http") != 0 && target.compare(0, 4, "HTTP") != 0) {
      std::size_t at;
      while ((at = target.find("./")) != npos) target.erase(0, at + 2);
    }
    rows.insert(rows.begin(), ListedLink{std::string(cutToBytes(parts.inner, 999)),
                                         std::string(cutToBytes(target, 499))});
  }
  return rows;
}

}  // namespace ls::literal
