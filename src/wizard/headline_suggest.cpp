#include "wizard/headline_suggest.h"

#include <algorithm>
#include <cstdint>
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
      if (allDigits(dirs.substr(nameAt, cuts[b] - nameAt))) break;  // a date's part
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
    if (i - at >= kShortestWord) addCandidate(out, dirs.substr(at, i - at));
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

using Bits = std::vector<std::uint64_t>;

Bits takenBy(const std::vector<ListedLink>& rows, std::string_view s) {
  Bits bits((rows.size() + 63) / 64, 0);
  for (std::size_t r = 0; r < rows.size(); ++r)
    if (rowTaken(rows[r], s)) bits[r / 64] |= std::uint64_t{1} << (r % 64);
  return bits;
}

std::size_t countOthers(const Bits& taken, const Bits& ticked) {
  std::size_t n = 0;
  for (std::size_t w = 0; w < taken.size(); ++w) n += static_cast<std::size_t>(__builtin_popcountll(taken[w] & ~ticked[w]));
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

std::string suggestForPage(const std::vector<ListedLink>& rows, const std::vector<std::size_t>& ticked,
                           const std::vector<std::string>& shared) {
  if (shared.empty()) return kEveryLink;
  // Rows that are no other link: the ticked ones, and a link listed again
  // (a picture's link beside its headline's) counts once.
  Bits tickedBits((rows.size() + 63) / 64, 0);
  std::set<std::string_view> seen;
  for (std::size_t r : ticked) seen.insert(rows[r].link);
  for (std::size_t r = 0; r < rows.size(); ++r)
    if (!seen.insert(rows[r].link).second) tickedBits[r / 64] |= std::uint64_t{1} << (r % 64);
  std::vector<Bits> taken;
  taken.reserve(shared.size());
  for (const std::string& s : shared) taken.push_back(takenBy(rows, s));

  using Score = std::tuple<std::size_t, std::size_t, std::size_t, std::string>;
  Score best{SIZE_MAX, 0, 0, std::string()};
  std::vector<const std::string*> pick;
  // Every set of one to kMostStrings strings, in index order.
  auto visit = [&](auto&& self, std::size_t from, const Bits& sofar, std::size_t length) -> void {
    for (std::size_t i = from; i < shared.size(); ++i) {
      Bits now = sofar;
      for (std::size_t w = 0; w < now.size(); ++w) now[w] &= taken[i][w];
      pick.push_back(&shared[i]);
      const std::size_t len = length + readLength(shared[i]);
      Score score{countOthers(now, tickedBits), pick.size(), len, std::string()};
      if (std::tie(std::get<0>(score), std::get<1>(score), std::get<2>(score)) <=
          std::tie(std::get<0>(best), std::get<1>(best), std::get<2>(best))) {
        std::get<3>(score) = joined(pick);
        if (score < best) best = std::move(score);
      }
      if (pick.size() < kMostStrings) self(self, i + 1, now, len);
      pick.pop_back();
    }
  };
  visit(visit, 0, Bits(tickedBits.size(), ~std::uint64_t{0}), 0);
  return std::get<3>(best);
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
    for (std::size_t r : examples) everywhere = everywhere && rows[r].link.find(s) != std::string::npos;
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
