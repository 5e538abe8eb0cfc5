// The response decoder: framing and compression, whole and cut, split at
// every byte the network could split them at.
#include "net/body_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <string>
#include <vector>

#include "http_body_encoding.h"
#include "net/response_decoder.h"

namespace ls {
namespace {

using test::chunkedOf;
using test::gzipped;
std::string zlibbed(const std::string& s) { return test::compressed(s, 15); }
std::string rawDeflated(const std::string& s) { return test::compressed(s, -15); }

const std::string kPage = [] {
  std::string p = "<html><head><title>ニュース</title></head><body>\n";
  for (int i = 0; i < 400; ++i) p += "<a href=\"/story/" + std::to_string(i) + ".html\">見出し " + std::to_string(i) + "</a>\n";
  return p + "</body></html>\n";
}();

struct Case {
  const char* name;
  std::string transfer, content;
  std::int64_t length;  // -1: none
  std::string body;
  std::string page;     // expected when whole
  std::string failure;  // expected at the end ("" when whole)
};

std::vector<Case> cases() {
  std::string gz = gzipped(kPage), zl = zlibbed(kPage), raw = rawDeflated(kPage);
  auto len = [](const std::string& s) { return static_cast<std::int64_t>(s.size()); };
  return {
      {"identity by length", "", "", len(kPage), kPage, kPage, ""},
      {"identity by close", "", "", -1, kPage, kPage, ""},
      {"length stops at its end", "", "", 5, "hello and more", "hello", ""},
      {"length cut", "", "", len(kPage) + 1, kPage, kPage, kMsgBodyCut},
      {"chunked", "chunked", "", -1, chunkedOf(kPage, 1000), kPage, ""},
      {"chunked lower-case hex and extensions", "Chunked", "", -1,
       "a;name=value\r\n0123456789\r\nB ; x\r\nabcdefghijk\r\n0\r\n\r\n", "0123456789abcdefghijk", ""},
      {"chunked with trailers", "chunked", "", -1, "3\r\nabc\r\n0\r\nExpires: never\r\nX-A: b\r\n\r\n", "abc", ""},
      {"chunked with bare line feeds", "chunked", "", -1, "3\nabc\n0\n\n", "abc", ""},
      {"chunked beats Content-Length", "chunked", "", 2, "3\r\nabc\r\n0\r\n\r\n", "abc", ""},
      {"chunked without its last chunk", "chunked", "", -1, "3\r\nabc\r\n", "abc", kMsgChunksCut},
      {"chunked cut in a chunk", "chunked", "", -1, "10\r\nabc", "abc", kMsgChunksCut},
      {"chunked without trailer end", "chunked", "", -1, "3\r\nabc\r\n0\r\n", "abc", kMsgChunksCut},
      {"chunk size not hex", "chunked", "", -1, "xyz\r\nabc\r\n0\r\n\r\n", "", kMsgChunksBroken},
      {"chunk longer than its size", "chunked", "", -1, "2\r\nabc\r\n0\r\n\r\n", "ab", kMsgChunksBroken},
      {"chunk size past any page", "chunked", "", -1, "1000000000000000\r\n", "", kMsgChunksBroken},
      {"gzip by length", "", "gzip", len(gz), gz, kPage, ""},
      {"x-gzip chunked", "chunked", "x-gzip", -1, chunkedOf(gz, 333), kPage, ""},
      {"gzip in two members", "", "gzip", -1, gzipped("first half ") + gzipped("second half"),
       "first half second half", ""},
      {"gzip as a transfer coding", "gzip, chunked", "", -1, chunkedOf(gz, 500), kPage, ""},
      {"deflate zlib-wrapped", "", "deflate", len(zl), zl, kPage, ""},
      {"deflate raw", "", "Deflate", -1, raw, kPage, ""},
      {"identity named", "", "identity", -1, "plain", "plain", ""},
      {"gzip cut", "", "gzip", -1, gz.substr(0, gz.size() / 2), "", kMsgNotDecoded},
      {"gzip that is no gzip", "", "gzip", -1, kPage, "", kMsgNotDecoded},
      {"deflate of one byte", "", "deflate", -1, "x", "", kMsgNotDecoded},
      {"empty gzip body", "", "gzip", 0, "", "", ""},
      {"brotli named", "", "br", -1, "\x1b\x03", "", std::string(kMsgUnknownEncoding) + "br)"},
      {"unknown after gzip", "", "gzip, zstd", -1, gz, "", std::string(kMsgUnknownEncoding) + "zstd)"},
      {"gzip twice", "", "gzip, gzip", -1, gzipped(gz), "", std::string(kMsgUnknownEncoding) + "gzip, gzip)"},
  };
}

struct Outcome {
  std::string page, failure;
};

Outcome decode(const Case& c, std::size_t piece) {
  BodyDecoder d(200, c.transfer, c.content, c.length);
  Outcome o;
  for (std::size_t at = 0; at < c.body.size() && !d.ended(); at += piece) d.feed(c.body.substr(at, piece), o.page);
  d.finish();
  o.failure = d.failure();
  return o;
}

TEST(BodyDecoder, EveryCaseWholeAndSplitAnywhere) {
  for (const Case& c : cases()) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{4068},
                              c.body.size() + 1}) {
      Outcome o = decode(c, piece);
      EXPECT_EQ(o.failure, c.failure) << c.name << " in pieces of " << piece;
      if (c.failure.empty() || !c.page.empty()) {
        EXPECT_EQ(o.page, c.page) << c.name << " in pieces of " << piece;
      }
    }
  }
}

TEST(BodyDecoder, AnswersWithoutBodyEndAtTheHead) {
  for (int status : {304, 204, 100}) {
    BodyDecoder d(status, "chunked", "gzip", 100);
    std::string page;
    EXPECT_TRUE(d.ended()) << status;
    EXPECT_TRUE(d.feed("junk", page));
    EXPECT_TRUE(d.finish());
    EXPECT_EQ(page, "");
  }
}

TEST(BodyDecoder, APageOverTheLimitFails) {
  for (const char* coding : {"", "gzip"}) {
    std::string body = std::string(coding).empty() ? std::string(1001, 'a') : gzipped(std::string(1001, 'a'));
    BodyDecoder d(200, "", coding, -1, 1000);
    std::string page;
    EXPECT_FALSE(d.feed(body, page)) << coding;
    EXPECT_EQ(d.failure(), kMsgPageTooLarge);
    EXPECT_LE(page.size(), 1000u);
    BodyDecoder fits(200, "", coding, -1, 1001);
    page.clear();
    EXPECT_TRUE(fits.feed(body, page) && fits.finish()) << coding;
    EXPECT_EQ(page.size(), 1001u);
  }
}

// 1 MB of gzip that would expand to 1 GB stops at the page limit, fast,
// holding no more than the limit.
TEST(BodyDecoder, ABombStopsAtTheLimit) {
  // After a full flush the compressor starts afresh, so the same megabyte
  // of zeros gives the same bytes again: 1024 of them make the bomb.
  z_stream z{};
  ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY), Z_OK);
  std::string zeros(1 << 20, '\0'), block(1 << 20, '\0');
  auto flushed = [&](int flush) {
    z.next_in = reinterpret_cast<Bytef*>(zeros.data());
    z.avail_in = static_cast<uInt>(zeros.size());
    z.next_out = reinterpret_cast<Bytef*>(block.data());
    z.avail_out = static_cast<uInt>(block.size());
    deflate(&z, flush);
    return block.substr(0, block.size() - z.avail_out);
  };
  std::string bomb = flushed(Z_FULL_FLUSH);
  std::string repeated = flushed(Z_FULL_FLUSH);
  ASSERT_EQ(flushed(Z_FULL_FLUSH), repeated);
  for (int i = 3; i < 1024; ++i) bomb += repeated;
  bomb += flushed(Z_FINISH);
  deflateEnd(&z);
  ASSERT_LT(bomb.size(), 1300000u);

  auto start = std::chrono::steady_clock::now();
  BodyDecoder d(200, "", "gzip", -1);
  std::size_t held = 0, at = 0;
  for (; at < bomb.size(); at += 4068) {
    std::string page;
    if (!d.feed(bomb.substr(at, 4068), page)) break;
    held += page.size();
  }
  EXPECT_EQ(d.failure(), kMsgPageTooLarge);
  EXPECT_LE(held, kPageLimitBytes);
  EXPECT_LT(at, bomb.size() / 8) << "stopped early, not after reading the whole bomb";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// The head passes as received, then the decoded body; an interim answer
// is passed over.
TEST(ResponseDecoder, HeadAsReceivedThenTheDecodedBody) {
  std::string head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Encoding: gzip\r\nETag: \"v1\"\r\n\r\n";
  std::string whole = "HTTP/1.1 103 Early Hints\r\nLink: </a.css>\r\n\r\n" + head + chunkedOf(gzipped(kPage), 700);
  for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{4068}}) {
    ResponseDecoder r;
    std::string page;
    for (std::size_t at = 0; at < whole.size(); at += piece) ASSERT_TRUE(r.feed(whole.substr(at, piece), page));
    EXPECT_TRUE(r.ended());
    EXPECT_TRUE(r.finish());
    EXPECT_EQ(r.head().status(), 200);
    EXPECT_EQ(r.head().etag(), "\"v1\"");
    EXPECT_EQ(page, whole.substr(0, whole.find(head) + head.size()) + kPage);
  }
  ResponseDecoder unknown;
  std::string page;
  EXPECT_FALSE(unknown.feed("HTTP/1.1 200 OK\r\nContent-Encoding: br\r\n\r\n\x1b\x03", page));
  EXPECT_EQ(unknown.failure(), std::string(kMsgUnknownEncoding) + "br)");
  EXPECT_EQ(page, "HTTP/1.1 200 OK\r\nContent-Encoding: br\r\n\r\n");
}

}  // namespace
}  // namespace ls
