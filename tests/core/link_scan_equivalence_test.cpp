// The one-walk link extraction against the literal scan, on pages built to
// hit what the walk does differently: block edges, Shift_JIS lead bytes in
// front of markup bytes, anchors around the text limit, base overrides in
// every place, and the block searches it is built from.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/text.h"
#include "engine/anchor_walk.h"
#include "engine/byte_blocks.h"
#include "engine/link_extract.h"
#include "engine/link_url.h"
#include "engine/page_text.h"
#include "literal_scan.h"

namespace ls {
namespace {

std::string visible(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

void expectSameLinks(const std::string& page, std::string_view url, std::string_view extract,
                     const HeadlineFilters& filters) {
  std::string text = page;
  const std::vector<LinkItem> fast = extractLinks(text, url, extract, filters);
  const std::vector<LinkItem> slow = literal::extractLinks(page, url, extract, filters);
  ASSERT_EQ(fast.size(), slow.size()) << "page: " << visible(page);
  for (std::size_t i = 0; i < fast.size(); ++i) {
    ASSERT_EQ(fast[i].headline, slow[i].headline) << "link " << i << " of page: " << visible(page);
    ASSERT_EQ(fast[i].url, slow[i].url) << "link " << i << " of page: " << visible(page);
  }
  // The text is left without its comments.
  std::string uncommented = page;
  literal::removeComments(uncommented);
  ASSERT_EQ(text, uncommented);
}

std::string randomText(std::mt19937& rng, std::string_view alphabet, std::size_t maxLength) {
  std::uniform_int_distribution<std::size_t> len(0, maxLength), pick(0, alphabet.size() - 1);
  std::string s;
  for (std::size_t i = len(rng); i > 0; --i) s += alphabet[pick(rng)];
  return s;
}

TEST(BlockSearch, FindPartMatchesStringFind) {
  std::mt19937 rng(31);
  const std::string_view alphabet("ab/.&;\x82\0", 8);
  std::uniform_int_distribution<int> partLength(1, 20);
  for (int round = 0; round < 40000; ++round) {
    const std::string text = randomText(rng, alphabet, 90);
    std::string part;
    if (round % 3 == 0 && text.size() > 2) {
      // A piece of the text itself, so that matches are common.
      std::uniform_int_distribution<std::size_t> at(0, text.size() - 1);
      std::size_t a = at(rng), b = at(rng);
      if (a > b) std::swap(a, b);
      part = text.substr(a, b - a + 1);
    } else {
      part = randomText(rng, alphabet.substr(0, 4), static_cast<std::size_t>(partLength(rng)));
      if (part.empty()) part = "a";
    }
    std::uniform_int_distribution<std::size_t> from(0, text.size() + 1);
    const std::size_t f = from(rng);
    ASSERT_EQ(blocks::findPart(text, part, f), std::string_view(text).find(part, f))
        << "text: " << visible(text) << " part: " << visible(part) << " from " << f;
  }
  EXPECT_EQ(blocks::findPart("abc", ""), 0u);
  EXPECT_EQ(blocks::findPart("abc", "", 3), 3u);
  EXPECT_EQ(blocks::findPart("abc", "", 4), std::string_view::npos);
}

TEST(BlockSearch, FindByteMatchesStringFind) {
  std::mt19937 rng(37);
  for (int round = 0; round < 40000; ++round) {
    const std::string text = randomText(rng, "xyz\"'", 70);
    std::uniform_int_distribution<std::size_t> from(0, text.size() + 1);
    const std::size_t f = from(rng);
    const char c = round % 2 ? '"' : '\'';
    ASSERT_EQ(blocks::findByte(text.data(), text.size(), f, c), std::string_view(text).find(c, f))
        << "text: " << visible(text) << " from " << f;
  }
}

// The feed reader's searches: the first blank, control byte, '<' or '&',
// and whether a text holds a control byte (with '<' and '&' or without).
TEST(BlockSearch, FeedSearchesMatchTheirBytes) {
  std::mt19937 rng(39);
  const std::string_view alphabet("ab< &\t\x1F\x7F\x81\xFF!=", 12);
  const auto isStop = [](unsigned char c) { return c <= ' ' || c == '<' || c == '&'; };
  const auto isControl = [](unsigned char c) { return c < 0x20 || c == 0x7F; };
  for (int round = 0; round < 40000; ++round) {
    std::string text = randomText(rng, alphabet, 50);
    // Mostly plain text, where the searches walk whole blocks.
    for (char& c : text)
      if (rng() % 4 != 0) c = 'x';
    std::uniform_int_distribution<std::size_t> from(0, text.size() + 1);
    const std::size_t f = from(rng);
    std::size_t stop = std::string_view::npos;
    for (std::size_t k = f; k < text.size(); ++k) {
      if (isStop(static_cast<unsigned char>(text[k]))) {
        stop = k;
        break;
      }
    }
    bool control = false, controlOrMarkup = false;
    for (unsigned char c : text) {
      control = control || isControl(c);
      controlOrMarkup = controlOrMarkup || isControl(c) || c == '<' || c == '&';
    }
    ASSERT_EQ(blocks::findMarkupOrBlank(text.data(), text.size(), f), stop) << visible(text) << " from " << f;
    ASSERT_EQ(blocks::holdsControlByte(text.data(), text.size()), control) << visible(text);
    ASSERT_EQ(blocks::holdsControlByte(text.data(), text.size(), true), controlOrMarkup) << visible(text);
  }
}

TEST(BlockSearch, MasksNameTheBytesTheyAreFor) {
  std::mt19937 rng(41);
  const std::string_view alphabet("<>=fF!-a\x81", 9);
  for (int round = 0; round < 20000; ++round) {
    std::string buffer = randomText(rng, alphabet, 0);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 18; ++i) buffer += alphabet[pick(rng)];
    const char* s = buffer.data() + 1;  // s[-1] and s[16] are readable
    unsigned fEquals = 0, tagOrFEquals = 0, pairs = 0, bangs = 0;
    for (int k = 0; k < 16; ++k) {
      const bool fe = s[k] == '=' && (s[k - 1] == 'f' || s[k - 1] == 'F');
      if (fe) fEquals |= 1u << k;
      if (fe || s[k] == '<' || s[k] == '>') tagOrFEquals |= 1u << k;
      if (s[k] == '<' && s[k + 1] == '!') pairs |= 1u << k;
      if (s[k] == '!') bangs |= 1u << k;
    }
    ASSERT_EQ(blocks::fEqualsMask(s), fEquals) << visible(buffer);
    ASSERT_EQ(blocks::tagOrFEqualsMask(s), tagOrFEquals) << visible(buffer);
    ASSERT_EQ(blocks::pairMask(s, '<', '!'), pairs) << visible(buffer);
    ASSERT_EQ(blocks::blockMask(s, '!'), bangs) << visible(buffer);
    for (std::size_t n = 0; n <= 15; ++n) {
      const unsigned below = (1u << n) - 1;
      ASSERT_EQ(blocks::fEqualsTailMask(s, n), fEquals & below) << visible(buffer) << " n " << n;
      ASSERT_EQ(blocks::tagOrFEqualsTailMask(s, n), tagOrFEquals & below) << visible(buffer) << " n " << n;
    }
  }
}

TEST(UrlBaseTest, GivesWhatAbsoluteUrlGives) {
  std::mt19937 rng(43);
  static const char* const kTargetPieces[] = {"./", "../", ".", "/", "//", "http", "HTTP", "x", "a.html", "?q=1", "\x82/"};
  static const char* const kBases[] = {"http://host/a/b/c/", "http://host/", "http://host", "http:/", "host/a/b/",
                                       "", "/", "x://", "a/b/c/d://e/f/", "https://h/a/b/c/d/e/"};
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kTargetPieces) - 1), count(0, 6);
  for (int round = 0; round < 20000; ++round) {
    std::string target;
    for (std::size_t i = count(rng); i > 0; --i) target += kTargetPieces[piece(rng)];
    const std::string_view base = kBases[round % std::size(kBases)];
    ASSERT_EQ(UrlBase(base).absolute(target), absoluteUrl(target, base)) << "target " << target << " base " << base;
  }
}

// Pieces of hostile markup: lead bytes before the bytes the walk reacts to,
// overrides in both cases, quotes, "./" chains and runs that cross blocks.
std::string hostilePage(std::mt19937& rng, std::size_t pieces) {
  static const char* const kPieces[] = {
      "<a href=", "<A HREF=", "href=", "HREF=", "hReF=", "</a>", "</A>", "</a", "</", "<", ">", "\"", "'", "=",
      "f=", "F=", "<!--", "-->", "<!-", "--", "!", "<b>", "</b>", "<br>", "basehref=", "BASEHREF=", "base",
      "BASE", "basehref='http://b/c/d'>", "BASEHREF=\"http://B/x\">", "basehref=http://n/>", "./", "../", "/",
      "http://x/", "HTTP://Y/", "news", "2002", "x.html", "&nbsp;", "&gt;", "&nb", "sp;", " ",
      "\x82\xa0", "\x82<", "\x82>", "\x82\"", "\x82'", "\x82=", "\x81" "a", "\x83/", "\xe0<", "\x9f>", "\x82",
      "\xfc", "0123456789abcdef", "long headline text that runs on", "\xe3\x81\x82",
  };
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  std::string page;
  for (std::size_t i = 0; i < pieces; ++i) page += kPieces[pick(rng)];
  return page;
}

TEST(LinkScanEquivalence, HostilePagesMatchTheLiteralScan) {
  std::mt19937 rng(2026);
  const char* const kExtracts[] = {"", "news", "news,2002", ",", "href", "\x82<", "/,.", "</"};
  const char* const kDeletes[] = {"", "&nbsp;,&gt;", "nbsp", "&nb,sp;", "\x82\xa0", "a,", ">", "news,ne"};
  const char* const kDisregards[] = {"", "2002", "\x82", "zz,long"};
  const char* const kUrls[] = {"http://host/a/b/c/index.html", "http://host", "http://host/x", "nowhere", ""};
  for (int round = 0; round < 6000; ++round) {
    const std::string page = hostilePage(rng, 1 + round % 120);
    HeadlineFilters filters;
    filters.deleteList = kDeletes[(round / 3) % std::size(kDeletes)];
    filters.disregardList = kDisregards[(round / 5) % std::size(kDisregards)];
    expectSameLinks(page, kUrls[(round / 2) % std::size(kUrls)], kExtracts[round % std::size(kExtracts)], filters);
    if (HasFatalFailure()) return;
  }
}

TEST(LinkScanEquivalence, AnchorsAroundTheTextLimitMatchTheLiteralScan) {
  // Anchors of about kAnchorTextLimit bytes, with a tag, a quote, a "</a"
  // look-alike or a lead byte put near the cut.
  std::mt19937 rng(5);
  const char* const kNearCut[] = {"<b>", "<", ">", "\"", "'", "\x82", "\x82\xa0", "</", "<!--", "-->", "basehref=x>", ""};
  for (std::size_t length = kAnchorTextLimit - 12; length <= kAnchorTextLimit + 12; ++length) {
    for (std::size_t k = 0; k < std::size(kNearCut); ++k) {
      std::uniform_int_distribution<int> shift(-20, 4);
      const std::string head = k % 2 ? "href=\"/a/b.html\" x=y>" : "href=/a/b.html>";
      std::string inner(length - head.size(), 'h');
      // Shift_JIS characters all through, so that the cut has to find a boundary.
      for (std::size_t i = 3 + k % 3; i + 1 < inner.size(); i += 7) {
        inner[i] = '\x82';
        inner[i + 1] = '\xa0';
      }
      const std::string piece = kNearCut[k];
      const std::size_t at = static_cast<std::size_t>(static_cast<int>(kAnchorTextLimit - head.size()) + shift(rng));
      if (at + piece.size() <= inner.size()) inner.replace(at, piece.size(), piece);
      const std::string page = "<p><a " + head + inner + "</a> and <a href=next.html>the next headline</a>";
      HeadlineFilters filters;
      filters.deleteList = k % 3 ? "hh" : "";
      expectSameLinks(page, "http://host/n/index.html", k % 4 ? "" : "/a/", filters);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(LinkScanEquivalence, HeadlinesAndUrlsAroundTheirLimitsMatchTheLiteralScan) {
  for (std::size_t size = kHeadlineLimit - 4; size <= kHeadlineLimit + 4; ++size) {
    for (int lead = 0; lead < 2; ++lead) {
      std::string headline(size, 'x');
      if (lead) headline[size - 1 - size % 2] = '\x82';
      std::string target = "/" + std::string(kLinkUrlLimit - 20 + size % 5, 'u');
      if (lead) target[target.size() - 3] = '\x82';
      const std::string page = "<a href=\"" + target + "\">" + headline + "</a>";
      HeadlineFilters filters;
      filters.deleteList = "xx";
      expectSameLinks(page, "http://host/dir/", "", {});
      expectSameLinks(page, "http://host/dir/", "", filters);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(LinkScanEquivalence, BaseOverridesAnywhereMatchTheLiteralScan) {
  const std::string anchor = "<a href=\"../x/y.html\">a long enough headline</a>";
  const char* const kPages[] = {
      // Between anchors, before and after them.
      "<base basehref=\"http://b/c/d/e.html\">@",
      "@<BASEHREF='http://B/C/D/'>",
      "<base BASEHREF=\"http://U/1/2/\">@<base basehref=\"http://L/1/2/\">",
      // (An override tag is an anchor start too: closed, it leaves the
      // anchors after it to the base.)
      "<base BASEHREF=\"http://U/1/2/\"></a>@<base basehref=\"http://L/1/2/\"></a>@",
      // Inside an anchor's own text, inside its inner text, inside a tag.
      "<a href=basehref=\"http://i/j/k/\">headline text here</a>@",
      "<a href=x.html>headline basehref=http://t/u/v/> text</a>@",
      "<a href=x.html>headline <i basehref='http://g/h/i/'> text</a>@",
      // In a comment (gone), and made by removing one.
      "<!-- basehref=\"http://c/\"> -->@",
      "base<!-- x -->href=\"http://j/o/i/n/\">@",
      // After the last closed anchor, in an unclosed one, without '>'.
      "@<a href=open.html>unclosed basehref='http://z/y/x/'>",
      "@basehref=\"http://no/bracket/",
      "@basehref=\"http://no/bracket/ BASEHREF=\"http://Up/p/\">",
      // Right at the start and at the very end.
      "basehref=>@",
      "@BASEHREF=",
  };
  for (const char* shape : kPages) {
    std::string page;
    for (const char* p = shape; *p; ++p) {
      if (*p == '@') {
        page += anchor;
      } else {
        page += *p;
      }
    }
    for (const char* url : {"http://host/a/b/c/index.html", "http://host"}) {
      expectSameLinks(page, url, "", {});
      if (HasFatalFailure()) return;
    }
  }
}

TEST(LinkScanEquivalence, TextEndsInsideMarkersMatchTheLiteralScan) {
  const std::string anchor = "<a href=\"/n/1.html\">the first headline</a>";
  const char* const kEnds[] = {"h", "hr", "href", "href=", "href=\"", "href=x", "href=x>", "href=x>long headline",
                               "href=x>long headline<", "href=x>long headline</", "href=x>long headline</a",
                               "href=x>long headline</A", "href=x>long <b", "f", "F=", "basehref", "basehref=x"};
  for (const char* end : kEnds) {
    for (std::size_t pad = 0; pad < 40; ++pad) {
      // Every position of the end against the blocks of the walk.
      const std::string page = anchor + std::string(pad, '.') + end;
      expectSameLinks(page, "http://host/", "", {});
      if (HasFatalFailure()) return;
    }
  }
}

TEST(LinkScanEquivalence, CommentRemovalMatchesTheLiteralVersionOnLongerTexts) {
  std::mt19937 rng(13);
  for (int round = 0; round < 20000; ++round) {
    // Long runs between markers, so that the block sifting does the finding.
    std::string text;
    std::uniform_int_distribution<int> kind(0, 9), run(0, 40);
    for (int pieces = run(rng) / 4 + 1; pieces > 0; --pieces) {
      static const char* const kMarkers[] = {"<!--", "-->", "<!-", "->", "<!", "--", "-", "<", "!", ">"};
      text += std::string(static_cast<std::size_t>(run(rng)), 'x');
      text += kMarkers[kind(rng)];
    }
    std::string fast = text, slow = text;
    removeComments(fast);
    literal::removeComments(slow);
    ASSERT_EQ(fast, slow) << "input: " << text;
  }
}

}  // namespace
}  // namespace ls
