#include "wizard/headline_suggest.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string_view>
#include <tuple>

#include "common/text.h"

namespace ls {

namespace {

// A few dozen strings are plenty for a handful of links; the cap keeps a
// hostile page's listing from making the search of pairs and triples slow.
constexpr std::size_t kMostCandidates = 40;
constexpr std::size_t kMostStrings = 3;
// Shorter words of a path are parts of names rather than names.
constexpr std::size_t kShortestWord = 4;
// A year has four digits, an article id more.
constexpr std::size_t kLongNumber = 4;
// A feed's item URL always holds it: the item list as it is.
constexpr const char* kEveryItem = "http";
// Every listed anchor holds the '>' that ends its tag.
constexpr const char* kEveryLink = ">";

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Dates and article ids: tomorrow's headlines hold other numbers.
bool holdsLongNumber(std::string_view s) {
  int run = 0;
  for (char c : s) {
    run = isDigit(c) ? run + 1 : 0;
    if (run >= 3) return true;
  }
  return false;
}

// How long a string reads, for choosing between sets that take the same
// links: a directory as it is, a bare word as the directory it names
// ("/news/" before "news"), an extension after them (a site's other pages
// end in ".html" too), and the start of a file name or a number ("/k", "/2")
// last, since it says least about what it takes.
std::size_t readLength(std::string_view s) {
  constexpr std::size_t kExtension = 8;
  constexpr std::size_t kVague = 16;
  if (s.back() == '/') return s.size();
  bool letters = true;
  for (char c : s) letters = letters && isLetter(c);
  if (letters) return s.size() + 2;
  if (s[0] == '.') return s.size() + kExtension;
  if (s[0] == '/' && s.find_first_of("/.?=", 1) == std::string_view::npos) return s.size() + kVague;
  return s.size();
}

bool allDigits(std::string_view s) {
  for (char c : s)
    if (!isDigit(c)) return false;
  return true;
}

// A month's name ("nov", "November") in a path is a date's part: next
// month's headlines hold another.
bool isMonth(std::string_view s) {
  constexpr std::string_view kMonths[] = {"january", "february", "march",     "april",   "may",      "june",
                                          "july",    "august",   "september", "october", "november", "december"};
  if (s.size() < 3) return false;
  for (std::string_view m : kMonths) {
    if (s.size() != 3 && s.size() != m.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < s.size() && same; ++i) same = (s[i] | 0x20) == m[i];
    if (same) return true;
  }
  return false;
}

// Where the part of a link that strings may come from begins: after an
// absolute link's scheme and host (also "//host/..."), else at its start.
std::size_t pathStart(std::string_view link) {
  std::size_t from = std::string_view::npos;
  if (link.substr(0, 2) == "//") {
    from = 2;
  } else {
    std::size_t i = 0;
    while (i < link.size() && isLetter(link[i])) ++i;
    if (i > 0 && link.substr(i, 3) == "://") from = i + 3;
  }
  if (from == std::string_view::npos) return 0;
  std::size_t slash = link.find('/', from);
  return slash == std::string_view::npos ? link.size() : slash;
}

// Strings no extraction test should rest on: they occur in every link.
bool tooCommon(std::string_view s) {
  constexpr std::string_view kEverywhere[] = {"https://", "href=", "HREF="};
  for (std::string_view w : kEverywhere)
    if (w.find(s) != std::string_view::npos) return true;
  return false;
}

void addCandidate(std::set<std::string>& out, std::string_view s) {
  if (s.size() < 2 || s.find(',') != std::string_view::npos || holdsLongNumber(s) || tooCommon(s)) return;
  out.emplace(s);
}

// The readable pieces of one link's path: directories (one to three levels,
// with their slashes), the file name, its leading letters, its extension and
// the query's keys.
void candidatesOf(std::string_view link, std::set<std::string>& out) {
  const std::string_view path = link.substr(pathStart(link));
  const std::size_t pathEnd = std::min(path.find('?'), path.find('#'));
  const std::string_view dirs = path.substr(0, pathEnd);

  std::vector<std::size_t> cuts;  // where each directory begins, and the slashes ending them
  if (!dirs.empty() && dirs[0] != '/') cuts.push_back(0);
  for (std::size_t i = 0; i < dirs.size(); ++i)
    if (dirs[i] == '/') cuts.push_back(i);
  for (std::size_t a = 0; a < cuts.size(); ++a) {
    for (std::size_t b = a + 1; b < cuts.size() && b <= a + 3; ++b) {
      if (dirs[cuts[b]] != '/' || cuts[b] == cuts[b - 1] + 1) break;  // an empty directory
      const std::size_t nameAt = dirs[cuts[b - 1]] == '/' ? cuts[b - 1] + 1 : cuts[b - 1];
      const std::string_view name = dirs.substr(nameAt, cuts[b] - nameAt);
      if (allDigits(name) || isMonth(name)) break;  // a date's part
      addCandidate(out, dirs.substr(cuts[a], cuts[b] - cuts[a] + 1));
    }
  }

  // A directory or file name that starts with a long number (a year, an
  // article id): its slash and first digit, the only part that stays for
  // years. A month's or a day's first digit changes within the year.
  for (std::size_t i = 0; i + 1 < dirs.size(); ++i) {
    if (dirs[i] != '/') continue;
    std::size_t digits = 0;
    while (i + 1 + digits < dirs.size() && isDigit(dirs[i + 1 + digits])) ++digits;
    if (digits >= kLongNumber) addCandidate(out, dirs.substr(i, 2));
  }

  const std::size_t lastSlash = dirs.rfind('/');
  // The words of the directories: "/article/" and "/articles/" share one.
  for (std::size_t i = 0; lastSlash != std::string_view::npos && i < lastSlash;) {
    if (!isLetter(dirs[i])) {
      ++i;
      continue;
    }
    std::size_t at = i;
    while (i < lastSlash && isLetter(dirs[i])) ++i;
    if (i - at >= kShortestWord && !isMonth(dirs.substr(at, i - at))) addCandidate(out, dirs.substr(at, i - at));
  }

  const std::size_t fileAt = lastSlash == std::string_view::npos ? 0 : lastSlash;
  const std::string_view file = dirs.substr(fileAt);  // with its slash when it has one
  const std::size_t nameAt = file.empty() || file[0] != '/' ? 0 : 1;
  if (file.size() > nameAt) {
    addCandidate(out, file);
    std::size_t letters = nameAt;
    while (letters < file.size() && isLetter(file[letters])) ++letters;
    if (letters > nameAt && letters < file.size()) addCandidate(out, file.substr(0, letters));
    const std::size_t dot = file.rfind('.');
    if (dot != std::string_view::npos && dot > nameAt) addCandidate(out, file.substr(dot));
  }

  if (pathEnd < path.size() && path[pathEnd] == '?') {
    // "?key=" as written; after '&' (also "&amp;") just "key=".
    const std::string_view query = path.substr(pathEnd);
    std::size_t keyAt = 0;  // the delimiter before a key
    while (keyAt < query.size()) {
      const std::size_t eq = query.find('=', keyAt);
      const std::size_t next = query.find_first_of("&;#", keyAt + 1);
      if (eq != std::string_view::npos && eq < next && eq > keyAt + 1) {
        if (query[keyAt] == '?')
          addCandidate(out, query.substr(keyAt, eq + 1 - keyAt));
        else
          addCandidate(out, query.substr(keyAt + 1, eq - keyAt));
      }
      if (next == std::string_view::npos || query[next] == '#') break;
      keyAt = next;
    }
  }
}

// A link's path as its kind of page: each run of letters (with '-' and
// '_') one 'a', each run of digits one '9', the rest as written, so
// "/docs/news/1171224.html" and "/docs/interview/1131516.html" read
// "/a/a/9.a", and the page's "/docs/static/ranking/index-168.html" does not.
// With `firstDirectory` the first word stays as written when it names a
// directory ("/news/a.html" reads "/news/a.a", "/about/team.html" not).
std::string linkShape(std::string_view link, bool firstDirectory) {
  std::string_view path = link.substr(pathStart(link));
  path = path.substr(0, std::min(path.find('?'), path.find('#')));
  auto wordly = [](char c) { return isLetter(c) || c == '-' || c == '_'; };
  std::string shape;
  bool firstWord = true;
  for (std::size_t i = 0; i < path.size();) {
    std::size_t end = i + 1;
    if (wordly(path[i])) {
      while (end < path.size() && wordly(path[end])) ++end;
      const bool kept = firstDirectory && firstWord && end < path.size() && path[end] == '/';
      shape += kept ? std::string(path.substr(i, end - i)) : std::string("a");
      firstWord = false;
    } else if (isDigit(path[i])) {
      while (end < path.size() && isDigit(path[end])) ++end;
      shape += '9';
    } else {
      shape += path[i];
    }
    i = end;
  }
  return shape;
}

using Bits = std::vector<std::uint64_t>;

void setBit(Bits& bits, std::size_t r) { bits[r / 64] |= std::uint64_t{1} << (r % 64); }

Bits takenBy(const std::vector<ListedLink>& rows, std::string_view s) {
  Bits bits((rows.size() + 63) / 64, 0);
  for (std::size_t r = 0; r < rows.size(); ++r)
    if (rowTaken(rows[r], s)) setBit(bits, r);
  return bits;
}

std::size_t countOf(const Bits& a, const Bits& b) {
  std::size_t n = 0;
  for (std::size_t w = 0; w < a.size(); ++w) n += static_cast<std::size_t>(__builtin_popcountll(a[w] & b[w]));
  return n;
}

std::string joined(const std::vector<const std::string*>& parts) {
  std::string s;
  for (const std::string* p : parts) {
    if (!s.empty()) s += ',';
    s += *p;
  }
  return s;
}

std::string suggestForFeed(const std::vector<std::string>& shared) {
  // The longest directory the ticked items share.
  std::string best = kEveryItem;
  bool found = false;
  for (const std::string& s : shared) {
    if (s.front() != '/' || s.back() != '/') continue;
    if (!found || s.size() > best.size()) best = s;
    found = true;
  }
  return best;
}

// What a set of strings takes, counted in distinct links: all of them, those
// shaped like an example (the likely list), and those not ticked.
struct Take {
  std::size_t links = 0, likely = 0, others = 0, strings = 0, length = 0;
};

// The better set: the one whose links best match the likely list (the
// higher F1 of the two against it, compared without division), then the one
// that takes fewer links not ticked, fewer strings, a shorter reading.
bool better(const Take& a, const Take& b, std::size_t likelyTotal) {
  const std::size_t fa = a.likely * (b.links + likelyTotal), fb = b.likely * (a.links + likelyTotal);
  if (fa != fb) return fa > fb;
  return std::tie(a.others, a.strings, a.length) < std::tie(b.others, b.strings, b.length);
}

std::string suggestForPage(const std::vector<ListedLink>& rows, const std::vector<std::size_t>& ticked,
                           const std::vector<std::string>& shared) {
  if (shared.empty()) return kEveryLink;
  // Each link counts once (a picture's link beside its headline's is listed
  // twice): on its first row.
  const std::size_t words = (rows.size() + 63) / 64;
  Bits counted(words, 0), likely(words, 0), others(words, 0);
  // The likely list: the links shaped like an example, keeping the first
  // directory when the examples of that shape all share it.
  std::set<std::string_view> tickedLinks, seen;
  std::map<std::string, std::set<std::string>> kinds;  // each example's shape, the shapes keeping its directory
  for (std::size_t r : ticked) {
    tickedLinks.insert(rows[r].link);
    kinds[linkShape(rows[r].link, false)].insert(linkShape(rows[r].link, true));
  }
  std::set<std::string> shapes, shapesWithDirectory;
  for (const auto& [shape, withDirectory] : kinds) {
    if (withDirectory.size() == 1)
      shapesWithDirectory.insert(*withDirectory.begin());
    else
      shapes.insert(shape);
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (!seen.insert(rows[r].link).second) continue;
    setBit(counted, r);
    const bool example = tickedLinks.count(rows[r].link) > 0;
    if (!example) setBit(others, r);
    if (example || shapes.count(linkShape(rows[r].link, false)) ||
        shapesWithDirectory.count(linkShape(rows[r].link, true)))
      setBit(likely, r);
  }
  const std::size_t likelyTotal = countOf(likely, counted);
  std::vector<Bits> taken;
  taken.reserve(shared.size());
  for (const std::string& s : shared) taken.push_back(takenBy(rows, s));

  Take best;
  bool found = false;
  std::string bestStrings;
  std::vector<const std::string*> pick;
  // Every set of one to kMostStrings strings, in index order.
  auto visit = [&](auto&& self, std::size_t from, const Bits& sofar, std::size_t length) -> void {
    for (std::size_t i = from; i < shared.size(); ++i) {
      Bits now = sofar;
      for (std::size_t w = 0; w < now.size(); ++w) now[w] &= taken[i][w];
      pick.push_back(&shared[i]);
      const std::size_t len = length + readLength(shared[i]);
      const Take take{countOf(now, counted), countOf(now, likely), countOf(now, others), pick.size(), len};
      if (!found || better(take, best, likelyTotal) ||
          (!better(best, take, likelyTotal) && joined(pick) < bestStrings)) {
        best = take;
        bestStrings = joined(pick);
        found = true;
      }
      if (pick.size() < kMostStrings) self(self, i + 1, now, len);
      pick.pop_back();
    }
  };
  visit(visit, 0, counted, 0);
  return bestStrings;
}

}  // namespace

std::string suggestHeadlineStrings(const std::vector<ListedLink>& rows, const std::vector<std::size_t>& ticked) {
  std::vector<std::size_t> examples;
  for (std::size_t r : ticked)
    if (r < rows.size() && rows[r].kind != RowKind::kFeedOffer &&
        std::find(examples.begin(), examples.end(), r) == examples.end())
      examples.push_back(r);
  if (examples.size() < 2) return {};

  std::set<std::string> pieces;
  for (std::size_t r : examples) candidatesOf(rows[r].link, pieces);
  std::vector<std::string> shared;
  for (const std::string& s : pieces) {
    bool everywhere = true;
    for (std::size_t r : examples) everywhere = everywhere && rowTaken(rows[r], s);
    if (everywhere) shared.push_back(s);
  }
  // The shortest first: a hostile listing keeps its most readable strings.
  std::stable_sort(shared.begin(), shared.end(),
                   [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  if (shared.size() > kMostCandidates) shared.resize(kMostCandidates);

  bool feed = true;
  for (std::size_t r : examples) feed = feed && rows[r].kind == RowKind::kFeedItem;
  return feed ? suggestForFeed(shared) : suggestForPage(rows, examples, shared);
}

}  // namespace ls
