// Telling a complete response from one cut short.
#include <gtest/gtest.h>

#include "net/response_check.h"

namespace ls {
namespace {

const std::string kHead = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\ncontent-length:  10 \r\n\r\n";

TEST(ResponseCheck, BodyShorterThanItsContentLengthIsTruncated) {
  ResponseCheck whole, cut;
  whole.feed(kHead + "0123456789");
  cut.feed(kHead + "01234");
  EXPECT_FALSE(whole.truncated());
  EXPECT_TRUE(cut.truncated());
  EXPECT_EQ(cut.contentLength(), 10u);
}

TEST(ResponseCheck, HeadAndBodySplitAnywhere) {
  std::string all = kHead + "0123456789";
  for (std::size_t cut = 0; cut <= all.size(); ++cut) {
    for (std::size_t cut2 = cut; cut2 <= all.size(); cut2 += 7) {
      ResponseCheck r;
      r.feed(all.substr(0, cut));
      r.feed(all.substr(cut, cut2 - cut));
      r.feed(all.substr(cut2));
      EXPECT_FALSE(r.truncated()) << cut << " " << cut2;
    }
    ResponseCheck r;
    r.feed(all.substr(0, cut));
    EXPECT_EQ(r.truncated(), cut >= kHead.size() && cut < all.size()) << cut;
  }
}

TEST(ResponseCheck, WithoutAReadableLengthNothingIsTruncated) {
  for (const char* head : {"HTTP/1.0 200 OK\r\n\r\n", "HTTP/1.0 200 OK\r\nContent-Length: ten\r\n\r\n",
                           "HTTP/1.0 200 OK\nContent-Length: -5\n\n", "no head at all"}) {
    ResponseCheck r;
    r.feed(head);
    EXPECT_FALSE(r.truncated()) << head;
  }
  ResponseCheck huge;
  huge.feed(std::string(70000, 'h'));
  huge.feed("\r\n\r\nContent-Length: 99\r\n\r\n");
  EXPECT_FALSE(huge.truncated());
  // Bare LF line ends, and a longer body than declared, are complete.
  ResponseCheck lf;
  lf.feed("HTTP/1.0 200 OK\nContent-Length: 3\n\nabcdef");
  EXPECT_FALSE(lf.truncated());
  ResponseCheck lfCut;
  lfCut.feed("HTTP/1.0 200 OK\nContent-Length: 3\n\nab");
  EXPECT_TRUE(lfCut.truncated());
}

TEST(ResponseCheck, StatusAndLocationOfTheHead) {
  ResponseCheck moved;
  moved.feed("HTTP/1.1 301 Moved Permanently\r\nlocation:  https://h/new \r\nLocation: /second\r\n");
  EXPECT_FALSE(moved.headDone());
  moved.feed("Content-Length: 0\r\n\r\n");
  EXPECT_TRUE(moved.headDone());
  EXPECT_EQ(moved.status(), 301);
  EXPECT_EQ(moved.location(), "https://h/new") << "the first Location counts";
  EXPECT_EQ(moved.contentLength(), 0u);

  for (const char* head : {"HTTP/1.0 30 Short\r\n\r\n", "HTTP/1.0 3021 Long\r\n\r\n", "ICY 200 OK\r\n\r\n",
                           "<html>\n\n", "HTTP/1.0\r\n\r\n"}) {
    ResponseCheck r;
    r.feed(head);
    EXPECT_TRUE(r.headDone());
    EXPECT_EQ(r.status(), 0) << head;
  }
  ResponseCheck bare;
  bare.feed("HTTP/1.0 302\r\nLocation: /x\r\n\r\nbody");
  EXPECT_EQ(bare.status(), 302);
  EXPECT_EQ(bare.location(), "/x");
}

}  // namespace
}  // namespace ls
