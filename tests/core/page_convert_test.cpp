// The page conversion: encoding detection, each decoder at its edges, the
// header kept, Shift_JIS untouched and the 1.3x limit.
#include "engine/page_convert.h"

#include <gtest/gtest.h>

#include <string>

#include "common/cp932.h"
#include "test_encoders.h"

namespace ls {
namespace {

using test::sjisToEuc;
using test::sjisToIso2022;
using test::utf16Bytes;

std::string bytes(std::initializer_list<unsigned char> list) {
  return std::string(list.begin(), list.end());
}

const std::string kGeta = "\x81\xAC";
const std::string kHeader = "HTTP/1.1 200 OK\r\nServer: test <&>\r\nContent-Type: text/html\r\n\r\n";
// The same header after the page scan joined its lines.
const std::string kJoinedHeader = "HTTP/1.1 200 OKServer: test <&>Content-Type: text/html";

// Narrow literals are Shift_JIS (the build compiles them to CP932). Hiragana,
// katakana, kanji of both levels, NEC row 13, half-width katakana and a
// character reference.
const std::string kBody =
    "<html><head><title>今日のニュース</title></head><body>\r\n"
    "<a href=\"a.html\">東京で桜が満開に、①ｶﾀｶﾅ＆漢字 &amp; 鬱</a>\r\n</body></html>";

const std::string kLeBom = "\xFF\xFE";
const std::string kBeBom = "\xFE\xFF";
const std::string kUtf8Bom = "\xEF\xBB\xBF";

TEST(PageConvert, EveryEncodingIsDetectedAndConvertedWithTheHeaderKept) {
  const std::string euc = sjisToEuc(kBody);
  const std::string jis = sjisToIso2022(kBody);
  const std::string utf8 = cp932ToUtf8(kBody);
  ASSERT_NE(euc, kBody);
  struct Case { std::string body; PageEncoding encoding; std::string name; };
  const Case cases[] = {
      {kBody, PageEncoding::ShiftJis, "Shift_JIS"},
      {euc, PageEncoding::EucJp, "EUC-JP"},
      {jis, PageEncoding::Iso2022Jp, "ISO-2022-JP"},
      {utf8, PageEncoding::Utf8, "UTF-8"},
      {kUtf8Bom + utf8, PageEncoding::Utf8, "UTF-8 with BOM"},
      {kLeBom + utf16Bytes(cp932ToUtf16(kBody), true), PageEncoding::Utf16Le, "UTF-16LE"},
      {kBeBom + utf16Bytes(cp932ToUtf16(kBody), false), PageEncoding::Utf16Be, "UTF-16BE"},
  };
  for (const Case& c : cases) {
    for (const std::string& header : {kHeader, kJoinedHeader, std::string()}) {
      const std::string page = header + c.body;
      EXPECT_EQ(detectPageEncoding(page), c.encoding) << c.name << " after " << header;
      EXPECT_EQ(convertPageToSjis(page), header + kBody) << c.name << " after " << header;
    }
  }
}

TEST(PageConvert, ByteOrderMarkPlaces) {
  const std::string body = utf16Bytes(u"<p>\u65E5\u672C</p>", true);
  // At the start of the body after the empty line, also a CR CR LF one.
  auto mark = findByteOrderMark(kHeader + kLeBom + body);
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->pos, kHeader.size());
  EXPECT_EQ(mark->size, 2u);
  mark = findByteOrderMark("HTTP/1.0 200 OK\r\r\n\r\r\n" + kBeBom);
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->encoding, PageEncoding::Utf16Be);
  // Joined header: the first non-ASCII bytes.
  mark = findByteOrderMark(kJoinedHeader + kUtf8Bom + "<p>");
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->encoding, PageEncoding::Utf8);
  EXPECT_EQ(mark->pos, kJoinedHeader.size());
  // Not a mark: inside the body, after other non-ASCII bytes, or in a text
  // without a status line.
  EXPECT_FALSE(findByteOrderMark(kHeader + "<p>" + kUtf8Bom));
  EXPECT_FALSE(findByteOrderMark(kJoinedHeader + "\x82\xA0" + kUtf8Bom));
  EXPECT_FALSE(findByteOrderMark("<p>" + kLeBom));
  EXPECT_FALSE(findByteOrderMark(""));
  EXPECT_FALSE(findByteOrderMark("\xEF\xBB"));
  // A header's bytes before the mark survive even when they are not ASCII.
  EXPECT_EQ(convertPageToSjis("HTTP/1.0 200 OK\nX: \x82\xA0\n\n" + kLeBom + body),
            "HTTP/1.0 200 OK\nX: \x82\xA0\n\n<p>日本</p>");
}

TEST(PageConvert, ByteOrderMarkBeatsANamedCharset) {
  const std::string page =
      "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=Shift_JIS\r\n\r\n" + kUtf8Bom +
      cp932ToUtf8("見出し");
  EXPECT_EQ(detectPageEncoding(page), PageEncoding::Utf8);
}

TEST(PageConvert, Utf16Edges) {
  auto conv = [](std::u16string_view units, const std::string& tail = "") {
    return convertPageAs(kLeBom + utf16Bytes(units, true) + tail, PageEncoding::Utf16Le);
  };
  const std::u16string pair = {u'a', 0xD83D, 0xDE00, u'b'};
  const std::u16string loneHigh = {u'a', 0xD83D, u'b'};
  const std::u16string loneLow = {0xDE00};
  const std::u16string highAtEnd = {u'a', 0xD83D};
  EXPECT_EQ(conv(pair), "a" + kGeta + "b");
  EXPECT_EQ(conv(loneHigh), "a" + kGeta + "b");
  EXPECT_EQ(conv(loneLow), kGeta);
  EXPECT_EQ(conv(highAtEnd), "a" + kGeta);
  EXPECT_EQ(conv(u"x", "\x41"), "x" + kGeta);  // odd byte at the end
  EXPECT_EQ(conv(u"\u301C\uFF5E\u00A5\uFF71"), "\x81\x60\x81\x60\x5C\xB1");
  EXPECT_EQ(conv(u""), "");
  EXPECT_EQ(convertPageAs(kBeBom + utf16Bytes(u"\u3042z", false), PageEncoding::Utf16Be), "\x82\xA0z");
}

TEST(PageConvert, HeaderCharsetBeatsMetaWhichBeatsTheBytes) {
  const std::string euc = sjisToEuc("東京の天気です");
  const std::string metaSjis = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">";
  const std::string metaEuc = "<META charset='EUC-JP'>";
  // The bytes alone read as EUC-JP.
  EXPECT_EQ(detectPageEncoding(kHeader + euc), PageEncoding::EucJp);
  EXPECT_EQ(detectPageEncoding(kHeader + metaSjis + euc), PageEncoding::ShiftJis);
  EXPECT_EQ(convertPageToSjis(kHeader + metaSjis + euc), kHeader + metaSjis + euc);
  const std::string eucHeader = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=\"euc-jp\"\r\n\r\n";
  EXPECT_EQ(detectPageEncoding(eucHeader + metaSjis + euc), PageEncoding::EucJp);
  const std::string sjisHeader = "HTTP/1.0 200 OK\r\ncontent-type: text/html;charset=x-sjis\r\n\r\n";
  EXPECT_EQ(detectPageEncoding(sjisHeader + metaEuc + euc), PageEncoding::ShiftJis);
  // An unknown name is passed over.
  const std::string latinHeader = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=iso-8859-1\r\n\r\n";
  EXPECT_EQ(detectPageEncoding(latinHeader + metaEuc), PageEncoding::EucJp);
  // A named charset beats escape sequences and UTF-8 bytes.
  EXPECT_EQ(detectPageEncoding(kHeader + metaSjis + "\x1B$B$\"\x1B(B"), PageEncoding::ShiftJis);
  EXPECT_EQ(detectPageEncoding(kHeader + metaEuc + cp932ToUtf8("日本")), PageEncoding::EucJp);
  // charset= in the body is not a header field.
  EXPECT_EQ(detectPageEncoding(kHeader + "<pre>Content-Type: text/html; charset=euc-jp</pre>"),
            PageEncoding::ShiftJis);
}

TEST(PageConvert, CharsetNamesInJoinedText) {
  // Line join: the value runs into the next field's name.
  EXPECT_EQ(detectPageEncoding("HTTP/1.1 200 OKContent-Type: text/html; charset=EUC-JPContent-Length: 9<p>"),
            PageEncoding::EucJp);
  // A Link field's '<' does not end the header.
  EXPECT_EQ(detectPageEncoding("HTTP/1.1 200 OKLink: <http://a/>; rel=xContent-Type: text/html; charset=utf-8<p>"),
            PageEncoding::Utf8);
  // Word join (the wizard): every blank gone.
  EXPECT_EQ(detectPageEncoding("HTTP/1.1200OKContent-Type:text/html<html><head>"
                               "<metahttp-equiv=\"Content-Type\"content=\"text/html;charset=iso-2022-jp\">"),
            PageEncoding::Iso2022Jp);
  EXPECT_EQ(detectPageEncoding("<?xml version=\"1.0\" encoding=\"EUC-JP\"?><html>"), PageEncoding::EucJp);
  EXPECT_EQ(detectPageEncoding("<html><meta charset = utf8 >"), PageEncoding::Utf8);
}

TEST(PageConvert, CharsetAliases) {
  struct Case { const char* name; PageEncoding encoding; };
  for (Case c : {Case{"shift_jis", PageEncoding::ShiftJis}, Case{"SJIS", PageEncoding::ShiftJis},
                 Case{"x-sjis", PageEncoding::ShiftJis}, Case{"Windows-31J", PageEncoding::ShiftJis},
                 Case{"CP932", PageEncoding::ShiftJis}, Case{"ms932", PageEncoding::ShiftJis},
                 Case{"EUC-JP", PageEncoding::EucJp}, Case{"x-euc-jp", PageEncoding::EucJp},
                 Case{"ISO-2022-JP", PageEncoding::Iso2022Jp}, Case{"csISO2022JP", PageEncoding::Iso2022Jp},
                 Case{"UTF-8", PageEncoding::Utf8}, Case{"utf8", PageEncoding::Utf8}}) {
    // The bytes alone would read as EUC-JP (or Shift_JIS for the EUC names).
    const std::string filler = c.encoding == PageEncoding::EucJp ? "\x93\xFA" : "\xA4\xA2";
    EXPECT_EQ(detectPageEncoding(std::string("<meta charset=\"") + c.name + "\">" + filler), c.encoding)
        << c.name;
  }
}

TEST(PageConvert, MetaIsLookedForNearTheTopOnly) {
  const std::string euc = sjisToEuc("ですます");
  const std::string meta = "<meta charset=\"shift_jis\">";
  EXPECT_EQ(detectPageEncoding(kHeader + std::string(4000, ' ') + meta + euc), PageEncoding::ShiftJis);
  EXPECT_EQ(detectPageEncoding(kHeader + std::string(5000, ' ') + meta + euc), PageEncoding::EucJp);
}

TEST(PageConvert, EscapeSequencesMeanIso2022Jp) {
  for (const char* esc : {"\x1B$B", "\x1B$@", "\x1B(J", "\x1B(B", "\x1B(I"}) {
    EXPECT_EQ(detectPageEncoding(std::string("abc") + esc), PageEncoding::Iso2022Jp) << esc + 1;
  }
  EXPECT_EQ(detectPageEncoding("abc\x1B$"), PageEncoding::ShiftJis);  // cut off: no sequence
  EXPECT_EQ(detectPageEncoding("abc\x1B"), PageEncoding::ShiftJis);
}

TEST(PageConvert, Utf8Heuristic) {
  const std::string utf8 = cp932ToUtf8("今日のニュースを読みました。明日も晴れでしょう。");
  EXPECT_EQ(detectPageEncoding(utf8), PageEncoding::Utf8);
  // Cut off inside the last character, or one stray byte among many
  // characters: still UTF-8.
  EXPECT_EQ(detectPageEncoding(utf8 + "\xE3\x81"), PageEncoding::Utf8);
  EXPECT_EQ(detectPageEncoding(utf8 + "\xFF" + utf8), PageEncoding::Utf8);
  EXPECT_EQ(convertPageToSjis("\xFF" + utf8 + utf8), kGeta + "今日のニュースを読みました。明日も晴れでしょう。"
                                                             "今日のニュースを読みました。明日も晴れでしょう。");
  // Latin-1 bytes are no UTF-8; neither is a mostly broken text.
  EXPECT_NE(detectPageEncoding("caf\xE9 cr\xE8me"), PageEncoding::Utf8);
  EXPECT_NE(detectPageEncoding("\xE3\x81\x82\xFF\xFF"), PageEncoding::Utf8);
}

TEST(PageConvert, EucJpAgainstShiftJis) {
  EXPECT_EQ(detectPageEncoding(sjisToEuc("あいうえお")), PageEncoding::EucJp);
  EXPECT_EQ(detectPageEncoding(sjisToEuc("漢字")), PageEncoding::EucJp);
  EXPECT_EQ(detectPageEncoding("あいうえお、漢字"), PageEncoding::ShiftJis);
  // Half-width katakana: an odd run is illegal EUC-JP.
  EXPECT_EQ(detectPageEncoding("<b>ｶﾀｶﾅﾃﾞｽ</b>"), PageEncoding::ShiftJis);
  // A stray byte does not turn a long EUC-JP page into Shift_JIS.
  const std::string euc = sjisToEuc("今日の東京は晴れ。明日は雨になるでしょう。週末は曇りです。");
  EXPECT_EQ(detectPageEncoding(euc + "\x80" + euc + euc), PageEncoding::EucJp);
  // Nothing to tell them apart: Shift_JIS, which changes nothing.
  EXPECT_EQ(detectPageEncoding("\xE0\xA1"), PageEncoding::ShiftJis);
  EXPECT_EQ(detectPageEncoding("plain ASCII <a href=x>"), PageEncoding::ShiftJis);
  EXPECT_EQ(detectPageEncoding(""), PageEncoding::ShiftJis);
  // Both illegal: Shift_JIS.
  EXPECT_EQ(detectPageEncoding("\x80\xFF"), PageEncoding::ShiftJis);
}

TEST(PageConvert, ShiftJisPassesThroughByteForByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string page = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=Shift_JIS\r\n\r\n" + all + all +
                           "\x82";
  EXPECT_EQ(detectPageEncoding(page), PageEncoding::ShiftJis);
  EXPECT_EQ(convertPageToSjis(page), page);
  EXPECT_EQ(convertPageAs(all, PageEncoding::ShiftJis), all);
}

// Converts `s` after a run of blanks, so that the 1.3x limit leaves room for
// every 〓 of a short input, and returns what follows the blanks.
std::string convertRoomy(const std::string& s, PageEncoding e) {
  const std::string pad(16, ' ');
  std::string out = convertPageAs(pad + s, e);
  EXPECT_EQ(out.substr(0, pad.size()), pad);
  return out.substr(pad.size());
}

TEST(PageConvert, EucJpEdges) {
  auto conv = [](const std::string& s) { return convertRoomy(s, PageEncoding::EucJp); };
  EXPECT_EQ(conv(bytes({0xA1, 0xA1})), "\x81\x40");                 // first cell
  EXPECT_EQ(conv(bytes({0xA4, 0xA2, 0xA4, 0xF3})), "あん");
  EXPECT_EQ(conv(bytes({0xB0, 0xA1})), "亜");                        // first kanji
  EXPECT_EQ(conv(bytes({0xF4, 0xA6})), "熙");                        // last JIS X 0208 kanji
  EXPECT_EQ(conv(bytes({0xAD, 0xA1})), "\x87\x40");                 // NEC row 13: ①
  // Duplicates come out at the code Windows prefers: 纊 of the NEC-selected
  // rows (0xED40) at its IBM code, ≒ of row 13 (0x8790) at its JIS code.
  EXPECT_EQ(conv(bytes({0xF9, 0xA1})), "\xFA\x5C");
  EXPECT_EQ(conv(bytes({0xAD, 0xF0})), "\x81\xE0");
  EXPECT_EQ(conv(bytes({0xFE, 0xFE})), kGeta);                      // empty cell
  EXPECT_EQ(conv(bytes({0xA9, 0xA1})), kGeta);                      // empty row
  EXPECT_EQ(conv(bytes({0x8E, 0xA1, 0x8E, 0xDF})), "\xA1\xDF");     // half-width katakana
  EXPECT_EQ(conv(bytes({0x8E, 0xE0, 'a'})), kGeta + kGeta + "a");   // 0xE0 is no katakana
  EXPECT_EQ(conv(bytes({0x8F, 0xA1, 0xA1, 'a'})), kGeta + "a");     // JIS X 0212
  EXPECT_EQ(conv(bytes({0x8F, 0xA1, 'a'})), kGeta + kGeta + "a");
  EXPECT_EQ(conv(bytes({0xA4, 0xA0})), kGeta + kGeta);              // trail below the range
  EXPECT_EQ(conv(bytes({0xA4, 'a'})), kGeta + "a");
  EXPECT_EQ(conv(bytes({0x80, 0x8D, 0xA0, 0xFF})), kGeta + kGeta + kGeta + kGeta);
  // Cut off by the end of the text: one 〓 per character.
  EXPECT_EQ(conv(bytes({'a', 0xA4})), "a" + kGeta);
  EXPECT_EQ(conv(bytes({'a', 0x8E})), "a" + kGeta);
  EXPECT_EQ(conv(bytes({'a', 0x8F})), "a" + kGeta);
  EXPECT_EQ(conv(bytes({'a', 0x8F, 0xA1})), "a" + kGeta);
  EXPECT_EQ(conv(""), "");
}

TEST(PageConvert, EveryJisX0208CodeThroughEucJpAndIso2022Jp) {
  std::string sjis;
  for (int lead = 0x81; lead <= 0xEF; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      auto code = static_cast<std::uint16_t>(lead << 8 | trail);
      // Only the code Windows prefers for a character comes back as it was.
      if (trail == 0x7F || encodeCp932Char(decodeCp932Char(code)) != code) continue;
      sjis += static_cast<char>(lead);
      sjis += static_cast<char>(trail);
    }
  }
  for (int kana = 0xA1; kana <= 0xDF; ++kana) sjis += static_cast<char>(kana);
  EXPECT_EQ(convertPageAs(sjisToEuc(sjis), PageEncoding::EucJp), sjis);
  EXPECT_EQ(convertPageAs(sjisToIso2022(sjis), PageEncoding::Iso2022Jp), sjis);
}

TEST(PageConvert, Iso2022JpEdges) {
  auto conv = [](const std::string& s) { return convertRoomy(s, PageEncoding::Iso2022Jp); };
  EXPECT_EQ(conv("\x1B$B$\"$s\x1B(Bz"), "あんz");
  EXPECT_EQ(conv("\x1B$@!!\x1B(Jz"), "\x81\x40z");
  EXPECT_EQ(conv("\x1B$(B0!\x1B(B"), "亜");
  EXPECT_EQ(conv("\x1B(I1_\x1B(Bz"), "\xB1\xDFz");
  EXPECT_EQ(conv("a\x0E" "1\x0F" "b"), "a\xB1" "b");                 // SO/SI katakana
  EXPECT_EQ(conv("\x1B$(D0!\x1B(B"), kGeta);                          // JIS X 0212
  EXPECT_EQ(conv("\x1B$B~~\x1B(B"), kGeta);                           // empty cell
  EXPECT_EQ(conv("\x1B$B$\"\r\n$\"\x1B(B"), "あ\r\nあ");             // controls pass
  EXPECT_EQ(conv("\x1B$B$\r"), kGeta + "\r");                         // half a character
  EXPECT_EQ(conv("\x1B$B$"), kGeta);                                  // at the very end
  EXPECT_EQ(conv("a\x1B$"), "a\x1B$");                                // escape cut off
  EXPECT_EQ(conv("a\x1B"), "a\x1B");
  EXPECT_EQ(conv("a\x1Bxb"), "a\x1Bxb");                              // unknown escape
  EXPECT_EQ(conv("a\xB1\x82\xA0"), "a\xB1\x82\xA0");                  // 8-bit bytes pass
  EXPECT_EQ(conv("\x1B$B$\"\x1B$B$$"), "あい");                       // no return to ASCII
  EXPECT_EQ(conv(""), "");
}

TEST(PageConvert, OutputIsCutToOnePointThreeTimesTheInput) {
  // Each malformed byte becomes two bytes of 〓.
  const std::string ten(10, '\x80');
  std::string out = convertPageAs(ten, PageEncoding::Utf8);
  EXPECT_EQ(out.size(), 12u);  // limit 13, cut before the half of a 〓
  EXPECT_EQ(out, kGeta + kGeta + kGeta + kGeta + kGeta + kGeta);
  EXPECT_EQ(convertPageAs("a" + std::string(9, '\x80'), PageEncoding::Utf8), "a" + out);
  // Exactly at the limit: whole.
  EXPECT_EQ(convertPageAs("abcdefg\x80\x80\x80", PageEncoding::Utf8), "abcdefg" + kGeta + kGeta + kGeta);
  EXPECT_EQ(convertPageAs(std::string(100, '\xFF'), PageEncoding::EucJp).size(), 130u);
  EXPECT_EQ(convertPageAs("\x80", PageEncoding::Utf8), "");
  // Through detection too (UTF-8 named, bytes broken).
  const std::string page = "<meta charset=utf-8>" + std::string(1000, '\xC0');
  EXPECT_LE(convertPageToSjis(page).size(), page.size() * 13 / 10);
}

TEST(PageConvert, EmptyPage) {
  for (PageEncoding e : {PageEncoding::ShiftJis, PageEncoding::EucJp, PageEncoding::Iso2022Jp,
                         PageEncoding::Utf8, PageEncoding::Utf16Le, PageEncoding::Utf16Be}) {
    EXPECT_EQ(convertPageAs("", e), "");
  }
  EXPECT_EQ(convertPageToSjis(""), "");
}

}  // namespace
}  // namespace ls
