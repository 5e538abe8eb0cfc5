// The page conversion judges and converts a page that names no encoding in
// one go; it must give exactly what converting with the plain detection's
// answer gives, on pages of every encoding, on pages whose UTF-8 breaks
// late, and on pages whose first 16 KB favour the other reading.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/cp932.h"
#include "common/text.h"
#include "engine/page_convert.h"
#include "engine/page_text.h"
#include "test_encoders.h"

namespace ls {
namespace {

// Shift_JIS text from pieces that each reading scores differently.
std::string sjisText(std::mt19937& rng, std::size_t pieces) {
  static const char* const kPieces[] = {
      "<a href=\"/n/1.html\">", "</a>", " ", "\r\n", "ニュース", "東京都内で桜が満開に", "、", "ｶﾀｶﾅ",
      "ｱ", "漢字", "～－∥", "①", "\xF0\x40", "\x88\x9F", "abc", "<meta name=x>", "\x87\x40",
  };
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  std::string text;
  for (std::size_t i = 0; i < pieces; ++i) text += kPieces[pick(rng)];
  return text;
}

std::string encoded(const std::string& sjis, int encoding) {
  switch (encoding) {
    case 0: return sjis;
    case 1: return test::sjisToEuc(sjis);
    case 2: return test::sjisToIso2022(sjis);
    default: return cp932ToUtf8(sjis);
  }
}

// Bytes that break a reading somewhere: stray high bytes, a cut character.
std::string spoiled(std::mt19937& rng, std::string page, std::size_t count) {
  static const char kBad[] = {'\xFF', '\x80', '\xE3', '\x8E', '\x8F', '\xA0', '\xFD', '\xC0'};
  for (std::size_t k = 0; k < count && !page.empty(); ++k) {
    std::uniform_int_distribution<std::size_t> at(page.size() * 3 / 4, page.size());
    page.insert(at(rng), 1, kBad[rng() % sizeof kBad]);
  }
  return page;
}

void expectSameAsPlainDetection(const std::string& page) {
  const PageEncoding detected = detectPageEncoding(page);
  const std::string expected = convertPageAs(page, detected);
  ASSERT_EQ(convertPageToSjis(page), expected) << "detected " << static_cast<int>(detected);
  std::string inPlace = page;
  convertPageToSjisInPlace(inPlace);
  ASSERT_EQ(inPlace, expected);
}

TEST(ConvertEquivalence, EveryEncodingWithAndWithoutBrokenBytes) {
  std::mt19937 rng(1215);
  for (int round = 0; round < 2000; ++round) {
    std::string page = encoded(sjisText(rng, 1 + round % 60), round % 4);
    if (round % 3 == 1) page = spoiled(rng, page, 1 + rng() % 8);
    if (round % 5 == 2) page = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n" + page;
    SCOPED_TRACE(testing::PrintToString(page));
    expectSameAsPlainDetection(page);
  }
}

// A UTF-8 page with just about as many malformed units near its end as the
// one-in-16 rule allows: the guess is ruled out late, or just holds.
TEST(ConvertEquivalence, Utf8PagesThatBreakLate) {
  std::mt19937 rng(77);
  const std::string utf8 = cp932ToUtf8("日本語のニュースです。");  // 11 characters
  for (int round = 0; round < 300; ++round) {
    std::string page;
    const int units = 10 + round;
    for (int i = 0; i < units; ++i) page += utf8 + "<p>";
    const std::size_t characters = static_cast<std::size_t>(units) * 11;
    const std::size_t bad = characters / 16 + static_cast<std::size_t>(round % 3) - 1;
    for (std::size_t k = 0; k < bad; ++k) page += round % 2 ? "\xFF" : "\xE3\x81 ";
    if (round % 4 == 0) page += "\xE3\x81";  // cut off by the end: no error
    SCOPED_TRACE(round);
    expectSameAsPlainDetection(page);
  }
}

// Pages beyond the 16 KB probe whose two halves favour different readings.
TEST(ConvertEquivalence, ThePartAfterTheProbeDecides) {
  std::mt19937 rng(9);
  for (int round = 0; round < 12; ++round) {
    std::string first, second;
    while (first.size() < 70 * 1024) first += sjisText(rng, 50);
    while (second.size() < static_cast<std::size_t>(round % 3 + 1) * 40 * 1024) second += sjisText(rng, 50);
    const int a = round % 2 ? 1 : 0;  // EUC-JP first, or Shift_JIS first
    std::string page = encoded(first, a) + encoded(second, 1 - a);
    if (round % 4 >= 2) page = spoiled(rng, page, 3);
    SCOPED_TRACE(round);
    expectSameAsPlainDetection(page);
  }
}

TEST(ConvertEquivalence, TheScanTextInPlaceMatchesJoinThenConvert) {
  std::mt19937 rng(31);
  for (int round = 0; round < 400; ++round) {
    std::string page = encoded(sjisText(rng, 1 + round % 40), round % 4);
    if (round % 3 == 0) page += std::string("a\r\r\n\0b\r\n\n", 10);
    if (round % 7 == 0) page = "\xFF\xFE" + test::utf16Bytes(u"ニュース\r\n", true) + page;
    std::string inPlace = page;
    scanTextInPlace(inPlace);
    std::string expected;
    if (round % 7 == 0) {
      // UTF-16: the CR of each stored CR LF goes, then conversion, then join.
      std::string received;
      for (std::size_t i = 0; i < page.size(); ++i)
        if (!(page[i] == '\r' && i + 1 < page.size() && page[i + 1] == '\n')) received += page[i];
      expected = joinPageLines(convertPageAs(received, PageEncoding::Utf16Le));
      expected.resize(cutLength(expected, page.size() * 13 / 10));
    } else {
      expected = convertPageAs(joinPageLines(page), detectPageEncoding(joinPageLines(page)));
    }
    ASSERT_EQ(inPlace, expected) << testing::PrintToString(page);
  }
}

}  // namespace
}  // namespace ls
