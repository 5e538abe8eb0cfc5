// The fast scan against the literal one on generated pages: the fast code
// resumes searches where the literal code restarts them and must give
// byte-identical results.
#include <gtest/gtest.h>

#include <random>

#include "common/text.h"
#include "engine/link_extract.h"
#include "engine/page_text.h"
#include "literal_scan.h"

namespace ls {
namespace {

// Pages built from the pieces the scan reacts to, so that markers meet,
// overlap and break in every way.
std::string randomPage(std::mt19937& rng, std::size_t pieces) {
  static const char* const kPieces[] = {
      "<a href=", "<A HREF=", "href=", "HREF=", "</a>", "</A>", "</a", "<!--", "-->", "<!-", "->", "<",
      ">", "\"", "'", "=", "./", "../", "/", "http://x/", "HTTP", "x.html", "ab", "a", "b", "news",
      "2002", " ", "BASEHREF=", "basehref=", "'http://b/c/'", "\x82\xa0", "\x82", "<b>", "</b>",
      "long headline text", "-", "!", "<!",
      // Tags around an "href=": only an anchor's starts a link.
      "<link href=", "<base href=", "<AREA HREF=", "<ahref=", "<aclass=x ", "<area", "<ARE", "<aside",
      "<aUDIO", "<a\x82", "</a href=",
  };
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  std::string page;
  for (std::size_t i = 0; i < pieces; ++i) page += kPieces[pick(rng)];
  return page;
}

TEST(ScanEquivalence, CommentRemovalMatchesTheLiteralRestartingVersion) {
  std::mt19937 rng(7);
  const char alphabet[] = "<!->a";
  std::uniform_int_distribution<int> pick(0, 4), len(0, 40);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int i = len(rng); i > 0; --i) text += alphabet[pick(rng)];
    std::string fast = text, slow = text;
    removeComments(fast);
    literal::removeComments(slow);
    ASSERT_EQ(fast, slow) << "input: " << text;
  }
}

TEST(ScanEquivalence, LineJoinMatchesALineByLineJoin) {
  std::mt19937 rng(5);
  const char alphabet[] = {'\r', '\n', '\0', 'a'};
  std::uniform_int_distribution<int> pick(0, 3), len(0, 30);
  for (int round = 0; round < 20000; ++round) {
    std::string file;
    for (int i = len(rng); i > 0; --i) file += alphabet[pick(rng)];
    // Line by line: each line loses at most two returns at its own end.
    std::string slow, line;
    for (char c : file) {
      if (c == '\0') continue;
      if (c != '\n') {
        line += c;
        continue;
      }
      for (int i = 0; i < 2 && !line.empty() && line.back() == '\r'; ++i) line.pop_back();
      slow += line;
      line.clear();
    }
    slow += line;
    ASSERT_EQ(joinPageLines(file), slow);
  }
}

TEST(ScanEquivalence, RemoveAllMatchesRestartingFromTheStart) {
  std::mt19937 rng(11);
  const char alphabet[] = "abc";
  std::uniform_int_distribution<int> pick(0, 2), len(0, 30), plen(1, 4);
  for (int round = 0; round < 20000; ++round) {
    std::string text, part;
    for (int i = len(rng); i > 0; --i) text += alphabet[pick(rng)];
    for (int i = plen(rng); i > 0; --i) part += alphabet[pick(rng)];
    std::string fast = text, slow = text;
    removeAll(fast, part);
    literal::removeAll(slow, part);
    ASSERT_EQ(fast, slow) << "text: " << text << " part: " << part;
  }
}

TEST(ScanEquivalence, LinksMatchTheLiteralScanOnGeneratedPages) {
  std::mt19937 rng(2024);
  const char* const kExtracts[] = {"", "news", "news,2002", ",", "a,", "href"};
  const char* const kDeletes[] = {"", "ab", "a,b", ",", "\x82\xa0", "long"};
  const char* const kUrls[] = {"http://host/a/b/c/index.html", "http://host", "http://host/x", "nowhere"};
  for (int round = 0; round < 3000; ++round) {
    std::string page = randomPage(rng, 5 + round % 80);
    std::string extract = kExtracts[round % std::size(kExtracts)];
    HeadlineFilters filters;
    filters.deleteList = kDeletes[(round / 7) % std::size(kDeletes)];
    filters.disregardList = round % 13 == 0 ? "2002" : "";
    std::string url = kUrls[(round / 3) % std::size(kUrls)];

    std::string text = page;
    auto fast = extractLinks(text, url, extract, filters);
    auto slow = literal::extractLinks(page, url, extract, filters);
    ASSERT_EQ(fast.size(), slow.size()) << "page: " << page;
    for (std::size_t i = 0; i < fast.size(); ++i) {
      ASSERT_EQ(fast[i].headline, slow[i].headline) << "page: " << page;
      ASSERT_EQ(fast[i].url, slow[i].url) << "page: " << page;
    }
  }
}

}  // namespace
}  // namespace ls
