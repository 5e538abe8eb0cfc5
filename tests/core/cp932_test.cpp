// CP932 tables and the conversions built on them.
#include "common/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace ls {
namespace {

std::string bytes(std::initializer_list<unsigned char> list) {
  return std::string(list.begin(), list.end());
}

const std::string kGeta = bytes({0x81, 0xAC});

bool isTrail(int t) { return t >= 0x40 && t <= 0xFC && t != 0x7F; }

// Every mapped double-byte code decodes to a character that encodes back to
// it, unless Windows prefers another code for that character (NEC row 13
// copies, NEC-selected IBM rows), in which case that code decodes to the same
// character.
TEST(Cp932Table, EveryMappedCodeRoundTrips) {
  int mapped = 0, decodeOnly = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (!isTrail(trail)) continue;
      auto code = static_cast<std::uint16_t>(lead << 8 | trail);
      char32_t cp = decodeCp932Char(code);
      if (cp == 0xFFFD) continue;
      ++mapped;
      std::uint16_t back = encodeCp932Char(cp);
      ASSERT_NE(back, 0) << std::hex << code;
      if (back != code) {
        ++decodeOnly;
        EXPECT_EQ(decodeCp932Char(back), cp) << std::hex << code;
        // Only NEC row 13, the NEC-selected rows and the first IBM row hold copies.
        EXPECT_TRUE(lead == 0x87 || lead == 0xED || lead == 0xEE || lead == 0xFA) << std::hex << code;
      }
    }
  }
  // JIS X 0208 alone has 6879 characters; with the Windows rows and the
  // 1880 user-defined codes there are far more.
  EXPECT_GT(mapped, 6879 + 1880);
  EXPECT_GT(decodeOnly, 300);  // the 374 NEC-selected duplicates and row 13 copies
}

TEST(Cp932Table, SingleBytes) {
  for (int b = 0; b < 0x80; ++b) {
    EXPECT_EQ(decodeCp932Char(static_cast<std::uint16_t>(b)), static_cast<char32_t>(b));
    if (b != 0) {
      EXPECT_EQ(encodeCp932Char(static_cast<char32_t>(b)), b);
    }
  }
  for (int b = 0xA1; b <= 0xDF; ++b) {  // half-width katakana
    char32_t cp = 0xFF61 + (b - 0xA1);
    EXPECT_EQ(decodeCp932Char(static_cast<std::uint16_t>(b)), cp);
    EXPECT_EQ(encodeCp932Char(cp), b);
  }
  for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF, 0x81, 0x9F, 0xE0, 0xFC}) {
    EXPECT_EQ(decodeCp932Char(static_cast<std::uint16_t>(b)), 0xFFFDu) << b;
  }
}

TEST(Cp932Table, KnownCharactersAtTheEdgesOfTheRows) {
  struct Case { std::uint16_t code; char32_t cp; };
  for (Case c : {Case{0x8140, 0x3000}, Case{0x82A0, 0x3042}, Case{0x889F, 0x4E9C},
                 Case{0x9FFC, 0x6ECC}, Case{0xE040, 0x6F3E}, Case{0xEAA4, 0x7199},
                 Case{0x8740, 0x2460}, Case{0xED40, 0x7E8A}, Case{0xFA40, 0x2170},
                 Case{0xFC4B, 0x9ED1}, Case{0xF040, 0xE000}, Case{0xF9FC, 0xE757}}) {
    EXPECT_EQ(decodeCp932Char(c.code), c.cp) << std::hex << c.code;
  }
  // Codes that look like characters but have none.
  for (std::uint16_t code : {0x8540, 0x86FC, 0x81AD, 0xEAA5, 0xEB40, 0xEF40, 0xFC4C, 0xFCFC,
                             0x817F, 0x8130, 0x81FD}) {
    EXPECT_EQ(decodeCp932Char(code), 0xFFFDu) << std::hex << code;
  }
}

TEST(Cp932Table, DisputedPositionsDecodeMicrosoftAndEncodeBothColumns) {
  struct Case { std::uint16_t code; char32_t microsoft; char32_t jis; };
  for (Case c : {Case{0x8160, 0xFF5E, 0x301C}, Case{0x815C, 0x2015, 0x2014},
                 Case{0x8161, 0x2225, 0x2016}, Case{0x817C, 0xFF0D, 0x2212},
                 Case{0x8191, 0xFFE0, 0x00A2}, Case{0x8192, 0xFFE1, 0x00A3},
                 Case{0x81CA, 0xFFE2, 0x00AC}}) {
    EXPECT_EQ(decodeCp932Char(c.code), c.microsoft) << std::hex << c.code;
    EXPECT_EQ(encodeCp932Char(c.microsoft), c.code) << std::hex << c.code;
    EXPECT_EQ(encodeCp932Char(c.jis), c.code) << std::hex << c.code;
  }
  EXPECT_EQ(encodeCp932Char(0x00A5), 0x5C);  // YEN SIGN
  EXPECT_EQ(encodeCp932Char(0x203E), 0x7E);  // OVERLINE
  EXPECT_EQ(decodeCp932Char(0x5C), 0x5Cu);   // but 0x5C reads back as backslash
}

TEST(Cp932Table, DuplicatesEncodeWhereWindowsPutsThem) {
  EXPECT_EQ(encodeCp932Char(0x2252), 0x81E0);  // ≒: JIS X 0208 before NEC row 13 (0x8790)
  EXPECT_EQ(encodeCp932Char(0x2235), 0x81E6);  // ∵: not 0x879A nor 0xFA5B
  EXPECT_EQ(encodeCp932Char(0xFFE2), 0x81CA);  // ￢: not 0xEEF9 nor 0xFA54
  EXPECT_EQ(encodeCp932Char(0x2160), 0x8754);  // Ⅰ: NEC row 13 before IBM 0xFA4A
  EXPECT_EQ(encodeCp932Char(0x2170), 0xFA40);  // ⅰ: IBM row, not NEC-selected 0xEEEF
  EXPECT_EQ(encodeCp932Char(0xFFE4), 0xFA55);  // ￤: not 0xEEFA
  EXPECT_EQ(encodeCp932Char(0x7E8A), 0xFA5C);  // 纊: not 0xED40
  EXPECT_EQ(encodeCp932Char(0x9ED1), 0xFC4B);
  EXPECT_EQ(encodeCp932Char(0xE000), 0xF040);  // user-defined area
  EXPECT_EQ(encodeCp932Char(0xE757), 0xF9FC);
}

TEST(Cp932Table, CharactersWithoutShiftJisForm) {
  for (char32_t cp : {0x00E9u, 0x4E02u, 0xFEFFu, 0xFFFDu, 0xE758u, 0x0080u, 0xF8F0u, 0xFFFFu,
                      0x10000u, 0x1F600u, 0x10FFFFu, 0x110000u}) {
    EXPECT_EQ(encodeCp932Char(cp), 0) << std::hex << cp;
  }
}

TEST(Cp932Convert, UnmappableBecomesGeta) {
  EXPECT_EQ(utf8ToCp932(u8"caf\u00E9"), "caf" + kGeta);
  EXPECT_EQ(utf8ToCp932(u8"a\U0001F600b"), "a" + kGeta + "b");  // one per character
  EXPECT_EQ(utf16ToCp932(u"x\u4E02y"), "x" + kGeta + "y");
  EXPECT_EQ(utf16ToCp932(u"\U0001F600"), kGeta);
}

TEST(Cp932Convert, CompilerLiteralsAgreeWithTheTables) {
  // Narrow literals are CP932 bytes made by the compiler's own converter.
  EXPECT_EQ(utf8ToCp932(u8"日本語のニュース、ｶﾀｶﾅ ～－∥￠￡￢―"),
            "日本語のニュース、ｶﾀｶﾅ ～－∥￠￡￢―");
  EXPECT_EQ(cp932ToUtf8("新着リスト①Ⅰ㈱"), std::string(u8"新着リスト①Ⅰ㈱"));
  EXPECT_EQ(cp932ToUtf16("見出し"), u"見出し");
}

TEST(Cp932Convert, AllMappedCodesThroughUtf8AndUtf16) {
  std::string all;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      auto code = static_cast<std::uint16_t>(lead << 8 | trail);
      char32_t cp = decodeCp932Char(code);
      if (!isTrail(trail) || cp == 0xFFFD) continue;
      std::uint16_t preferred = encodeCp932Char(cp);
      all.push_back(static_cast<char>(preferred >> 8));
      all.push_back(static_cast<char>(preferred & 0xFF));
    }
  }
  for (int b = 0x01; b <= 0xDF; ++b) {
    if (b < 0x80 || b >= 0xA1) all.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(utf8ToCp932(cp932ToUtf8(all)), all);
  EXPECT_EQ(utf16ToCp932(cp932ToUtf16(all)), all);
}

// Long texts are converted in slices; whichever unit a slice's end falls
// in, the text converts as its units one by one.
TEST(Cp932Encode, LongUtf8ConvertsAsItsUnits) {
  const std::string units[] = {"a", u8"\u00E9", u8"\u3042", u8"\U0001F600", bytes({0x80, 0x80, 0x80, 0x80, 0x80}),
                               bytes({0xE3, 0x81, 'a'}), bytes({0xFF}), bytes({0xF0, 0x9F, 0x98, 'b'})};
  std::string text, expected;
  unsigned state = 1;
  while (text.size() < 200000) {
    state = state * 1103515245u + 12345u;
    const std::string& unit = units[(state >> 16) % (sizeof units / sizeof units[0])];
    text += unit;
    expected += utf8ToCp932(unit);
  }
  EXPECT_EQ(utf8ToCp932(text), expected);
}

TEST(Cp932Decode, BrokenShiftJis) {
  EXPECT_EQ(cp932ToUtf16(bytes({'a', 0x82})), u"a\uFFFD");            // lead at the end
  EXPECT_EQ(cp932ToUtf16(bytes({0x82, ' ', 'b'})), u"\uFFFD b");       // lead then ASCII
  EXPECT_EQ(cp932ToUtf16(bytes({0x82, 0x7F})), u"\uFFFD\u007F");
  EXPECT_EQ(cp932ToUtf16(bytes({0x85, 0x40, 'z'})), u"\uFFFDz");       // unmapped pair is one
  EXPECT_EQ(cp932ToUtf16(bytes({0x80, 0xA0, 0xFD, 0xFE, 0xFF})), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(cp932ToUtf16(bytes({0x82, 0xA0, 0x81})), u"\u3042\uFFFD");
  EXPECT_EQ(cp932ToUtf8(bytes({0xFC})), std::string(u8"\uFFFD"));
  EXPECT_EQ(cp932ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(cp932ToUtf16(""), u"");
}

TEST(Cp932Encode, MalformedUtf8) {
  struct Case { std::string in; std::string out; };
  const Case cases[] = {
      {bytes({0x80}), kGeta},                              // lone continuation
      {bytes({0xBF, 'a'}), kGeta + "a"},
      {bytes({0xC0, 0xAF}), kGeta + kGeta},               // overlong '/'
      {bytes({0xC1, 0xBF}), kGeta + kGeta},
      {bytes({0xE0, 0x80, 0xAF}), kGeta + kGeta + kGeta},  // overlong, 3 bytes
      {bytes({0xED, 0xA0, 0x80}), kGeta + kGeta + kGeta},  // surrogate D800
      {bytes({0xF0, 0x8F, 0xBF, 0xBF}), kGeta + kGeta + kGeta + kGeta},
      {bytes({0xF4, 0x90, 0x80, 0x80}), kGeta + kGeta + kGeta + kGeta},  // > U+10FFFF
      {bytes({0xF5, 0x80}), kGeta + kGeta},
      {bytes({0xFE, 0xFF}), kGeta + kGeta},
      {bytes({0xE3, 0x81, 'A'}), kGeta + "A"},             // broken-off sequence is one unit
      {bytes({0xE3, 0x81}), kGeta},                        // ends inside a character
      {bytes({'x', 0xF0, 0x9F, 0x98}), "x" + kGeta},
      {bytes({0xE3, 0xE3, 0x81, 0x82}), kGeta + bytes({0x82, 0xA0})},
      {bytes({0xC3, 0xA9}), kGeta},                        // well-formed é, no Shift_JIS form
      {bytes({0xEF, 0xBB, 0xBF}), kGeta},                  // a BOM is a character here
      {bytes({0xF4, 0x8F, 0xBF, 0xBF}), kGeta},            // U+10FFFF
      {bytes({0xED, 0x9F, 0xBF}), kGeta},                  // U+D7FF, just below surrogates
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utf8ToCp932(c.in), c.out) << testing::PrintToString(c.in);
  }
}

TEST(Cp932Encode, Utf16Surrogates) {
  const std::u16string loneHigh = {u'a', 0xD800, u'b'};
  const std::u16string loneLow = {u'a', 0xDC00, u'b'};
  const std::u16string highAtEnd = {u'a', 0xDBFF};
  const std::u16string reversed = {0xDC00, 0xD800};
  EXPECT_EQ(utf16ToCp932(loneHigh), "a" + kGeta + "b");
  EXPECT_EQ(utf16ToCp932(loneLow), "a" + kGeta + "b");
  EXPECT_EQ(utf16ToCp932(highAtEnd), "a" + kGeta);
  EXPECT_EQ(utf16ToCp932(reversed), kGeta + kGeta);
  EXPECT_EQ(utf16ToCp932(std::u16string(u"\0x", 2)), std::string("\0x", 2));
}

TEST(Cp932Encode, DecodeUtf8CharSteps) {
  char32_t cp = 0;
  const std::string s = bytes({0xE3, 0x81, 0x82, 0xF0, 0x9F, 0x98, 0x80, 0xC3});
  EXPECT_EQ(decodeUtf8Char(s, 0, cp), 3u);
  EXPECT_EQ(cp, 0x3042u);
  EXPECT_EQ(decodeUtf8Char(s, 3, cp), 4u);
  EXPECT_EQ(cp, 0x1F600u);
  EXPECT_EQ(decodeUtf8Char(s, 7, cp), 1u);
  EXPECT_EQ(cp, kNoChar);
  EXPECT_EQ(decodeUtf8Char(s, 1, cp), 1u);
  EXPECT_EQ(cp, kNoChar);
}

TEST(Cp932Test, TheJudgingUtf8ConversionGivesThePlainOneOrNothing) {
  std::string out = "stale";
  const std::string utf8 = cp932ToUtf8("日本語のニュース、ｶﾀｶﾅ");
  ASSERT_TRUE(utf8ToCp932IfUtf8(utf8, out));
  EXPECT_EQ(out, utf8ToCp932(utf8));
  // One malformed unit per 16 characters passes, one more does not; a
  // character cut off by the end is no error.
  const std::string sixteen = cp932ToUtf8("あいうえおかきくけこさしすせそた");
  EXPECT_TRUE(utf8ToCp932IfUtf8(sixteen + "\xFF" + "x", out));
  EXPECT_EQ(out, utf8ToCp932(sixteen + "\xFF" + "x"));
  EXPECT_FALSE(utf8ToCp932IfUtf8(sixteen + "\xFF\xFF" + "x", out));
  EXPECT_EQ(out, "");
  EXPECT_TRUE(utf8ToCp932IfUtf8(sixteen + "\xFF" + "\xE3\x81", out));
  EXPECT_FALSE(utf8ToCp932IfUtf8("plain ASCII", out));  // no multi-byte character
  EXPECT_FALSE(utf8ToCp932IfUtf8("", out));
  EXPECT_FALSE(utf8ToCp932IfUtf8("\x82\xA0\x82\xA2", out));  // Shift_JIS
}

TEST(Cp932Test, TheJisTableHoldsWhatJisToCp932Gives) {
  const std::uint16_t* table = jisToCp932Table();
  for (unsigned row = 0x21; row <= 0x7E; ++row) {
    for (unsigned cell = 0x21; cell <= 0x7E; ++cell)
      ASSERT_EQ(table[(row - 0x21) * 94 + (cell - 0x21)], jisToCp932(row, cell)) << row << " " << cell;
  }
  EXPECT_EQ(table[(0x30 - 0x21) * 94 + (0x21 - 0x21)], 0x889F);  // 亜
}

}  // namespace
}  // namespace ls
