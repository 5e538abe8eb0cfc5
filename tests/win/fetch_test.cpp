// The real fetcher against a server on 127.0.0.1 run by the test: normal
// pages and every network fault end with the right status text, nothing
// left open, and a next fetch that works.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/file_io.h"
#include "fetch_fixture.h"
#include "test_http_server.h"

namespace {

using lstest::Behaviour;
using lstest::Reply;

class Fetch : public lstest::FetchHarness {
 protected:
  // After any fault: nothing is open, and the next fetch works.
  void expectCleanAndUsable() {
    EXPECT_FALSE(fetcher_.inFlight());
    server_.route("/again", Reply{lstest::httpResponse(200, "OK", "again\n")});
    ASSERT_TRUE(fetch(server_.url("/again")));
    EXPECT_EQ(outcome_.received, 1);
    EXPECT_EQ(page(), "HTTP/1.0 200 OK\r\r\nContent-Length: 6\r\r\n\r\r\nagain\r\n");
    EXPECT_EQ(ui_.status[1], ls::kMsgReceived);
    EXPECT_FALSE(fetcher_.inFlight());
  }

  lstest::TestHttpServer server_;
};

// What the page file holds for received bytes: every LF stored as CR LF.
std::string stored(const std::string& received) {
  std::string out;
  for (char c : received) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST_F(Fetch, NormalPageIsStoredWithEveryLineFeedAsCrLf) {
  std::string reply = lstest::httpResponse(200, "OK", "<html>\r\n<a href=/1>one</a>\n</html>");
  server_.route("/page", Reply{reply});
  ASSERT_TRUE(fetch(server_.url("/page")));
  EXPECT_EQ(outcome_.received, 1);
  EXPECT_TRUE(outcome_.failures.empty());
  EXPECT_EQ(page(), stored(reply));
  EXPECT_NE(page().find("<html>\r\r\n"), std::string::npos);  // CR LF became CR CR LF
  EXPECT_EQ(ui_.status[1], ls::kMsgReceived);
  EXPECT_EQ(server_.lastRequest("/page"), ls::composeRequest(*ls::splitUrl(server_.url("/page"))));
  EXPECT_EQ(server_.lastRequest("/page").rfind("GET /page HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server_.port()) +
                                                    "\r\nUser-Agent: LINKSCOUT/0.3.3\r\n",
                                                0),
            0u);
  EXPECT_FALSE(fetcher_.inFlight());
}

TEST_F(Fetch, TheDrainAtCloseReadsWhatNoReadNotificationFetched) {
  std::string reply = lstest::httpResponse(200, "OK", std::string(20000, 'x') + "\nend");
  server_.route("/drain", Reply{reply});
  closeAtFirstRead_ = true;
  ASSERT_TRUE(fetch(server_.url("/drain")));
  EXPECT_EQ(outcome_.received, 1);
  EXPECT_EQ(page(), stored(reply));
}

TEST_F(Fetch, RefusedPort) {
  int port = lstest::TestHttpServer::refusedPort();
  ASSERT_NE(port, 0);
  ASSERT_TRUE(fetch("http://127.0.0.1:" + std::to_string(port) + "/"));
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(outcome_.failures[0], ls::kMsgSocketError);
  EXPECT_EQ(ui_.status[1], ls::kMsgSocketError);
  expectCleanAndUsable();
}

TEST_F(Fetch, ResetInMidBody) {
  std::string reply = lstest::httpResponse(200, "OK", std::string(100000, 'r'));
  server_.route("/reset", Reply{reply, Behaviour::kResetMidBody, 5000});
  ASSERT_TRUE(fetch(server_.url("/reset")));
  EXPECT_EQ(outcome_.received, 0);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  // Whether the reset comes as an error or as a close, the page is known to
  // be cut short.
  EXPECT_TRUE(outcome_.failures[0] == ls::kMsgReceiveFailed || outcome_.failures[0] == ls::kMsgSocketError ||
              outcome_.failures[0] == ls::kMsgBodyCut)
      << outcome_.failures[0];
  EXPECT_EQ(ui_.status[1], outcome_.failures[0]);
  EXPECT_LE(page().size(), stored(reply.substr(0, 5000)).size());
  expectCleanAndUsable();
}

TEST_F(Fetch, CloseWithoutDataLeavesAnEmptyPageFileAndHandsOver) {
  lstest::putFile(pageFile_, "left from the last fetch");
  server_.route("/empty", Reply{"", Behaviour::kCloseNoData});
  ASSERT_TRUE(fetch(server_.url("/empty")));
  EXPECT_EQ(outcome_.received, 1);
  EXPECT_EQ(page(), "");
  EXPECT_EQ(ui_.status[1], ls::kMsgReceived);
  expectCleanAndUsable();
}

TEST_F(Fetch, NulBytesAreKept) {
  std::string body("before\0after\n\0\0end", 18);
  std::string reply = lstest::httpResponse(200, "OK", body);
  server_.route("/nul", Reply{reply});
  ASSERT_TRUE(fetch(server_.url("/nul")));
  EXPECT_EQ(outcome_.received, 1);
  EXPECT_EQ(page(), stored(reply));
  expectCleanAndUsable();
}

TEST_F(Fetch, FiftyMegabyteBody) {
  std::string body;
  body.reserve(50u << 20);
  std::string line = std::string(99, 'b') + "\n";
  while (body.size() < (50u << 20)) body += line;
  std::string reply = lstest::httpResponse(200, "OK", body);
  body.clear();
  server_.route("/big", Reply{reply});
  ASSERT_TRUE(fetch(server_.url("/big"), 300000));
  EXPECT_EQ(outcome_.received, 1);
  auto size = ls::fileSize(pageFile_);
  ASSERT_TRUE(size.has_value());
  std::string expected = stored(reply);
  EXPECT_EQ(*size, expected.size());
  EXPECT_TRUE(page() == expected);
  expectCleanAndUsable();
}

TEST_F(Fetch, StalledServerTimesOut) {
  fetcher_.setTimeoutMs(1500);
  server_.route("/stall", Reply{"HTTP/1.0 200 OK\r\n", Behaviour::kStall, 17});
  DWORD start = GetTickCount();
  ASSERT_TRUE(fetch(server_.url("/stall"), 10000));
  EXPECT_GE(GetTickCount() - start, 1400u);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(outcome_.failures[0], ls::kMsgTimeout);
  EXPECT_EQ(ui_.status[1], ls::kMsgTimeout);
  EXPECT_EQ(page(), "HTTP/1.0 200 OK\r\r\n");  // what arrived stays
  expectCleanAndUsable();
}

// A page that keeps arriving is not cut for being slow, only at the cap.
TEST_F(Fetch, ASlowPageIsCutOnlyAtTheCap) {
  fetcher_.setTimeoutMs(1000);
  fetcher_.setCapMs(4000);
  std::string slow = lstest::httpResponse(200, "OK", std::string(15, 's'));  // about 60 bytes, 40 ms apart
  server_.route("/slow", Reply{slow, Behaviour::kDrip, 0, 40});
  ASSERT_TRUE(fetch(server_.url("/slow"), 10000));
  EXPECT_EQ(outcome_.received, 1);
  EXPECT_EQ(page(), stored(slow));

  server_.route("/endless", Reply{lstest::httpResponse(200, "OK", std::string(200, 'e')), Behaviour::kDrip, 0, 40});
  outcome_ = {};
  DWORD start = GetTickCount();
  ASSERT_TRUE(fetch(server_.url("/endless"), 10000));
  EXPECT_GE(GetTickCount() - start, 3900u);
  EXPECT_LT(GetTickCount() - start, 7000u);
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(outcome_.failures[0], ls::kMsgTimeout);
  fetcher_.setCapMs(120000);
  expectCleanAndUsable();
}

TEST_F(Fetch, TheTimeoutNeverReachesTheWindowProcedure) {
  // Only the fetch's own callback sees its timer: a window procedure that
  // starts a check cycle for any WM_TIMER must never see it.
  fetcher_.setTimeoutMs(300);
  server_.route("/stall", Reply{"", Behaviour::kStall});
  ASSERT_TRUE(fetch(server_.url("/stall"), 5000));
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, window_, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_EQ(outcome_.failures.size(), 1u);
}

TEST_F(Fetch, UnresolvableName) {
  ASSERT_TRUE(fetch("http://no-such-host.invalid/"));
  ASSERT_EQ(outcome_.failures.size(), 1u);
  EXPECT_EQ(outcome_.failures[0], ls::kMsgSocketError);
  EXPECT_EQ(ui_.status[1], ls::kMsgSocketError);
  expectCleanAndUsable();
}

TEST_F(Fetch, SlowDripOfOneByteAtATime) {
  std::string reply = lstest::httpResponse(200, "OK", "<a href=/d>drip drop headline</a>\n");
  server_.route("/drip", Reply{reply, Behaviour::kDrip, 0, 2});
  ASSERT_TRUE(fetch(server_.url("/drip")));
  EXPECT_EQ(outcome_.received, 1);
  EXPECT_EQ(page(), stored(reply));
  expectCleanAndUsable();
}

TEST_F(Fetch, ServerThatSendsBeforeReadingTheRequest) {
  std::string reply = lstest::httpResponse(200, "OK", "early bird\n");
  server_.route("/first", Reply{reply, Behaviour::kSendFirst});
  ASSERT_TRUE(fetch(server_.url("/first")));
  EXPECT_EQ(outcome_.received, 1);
  EXPECT_EQ(page(), stored(reply));
  server_.route("/first", Reply{reply});  // later connections are normal again
  expectCleanAndUsable();
}

TEST_F(Fetch, PageInManySmallChunks) {
  std::string body;
  for (int i = 0; i < 300; ++i) body += "<a href=/" + std::to_string(i) + ">chunked headline " + std::to_string(i) + "</a>\n";
  std::string reply = lstest::httpResponse(200, "OK", body);
  server_.route("/chunks", Reply{reply, Behaviour::kSmallChunks, 0, 5, 13});
  ASSERT_TRUE(fetch(server_.url("/chunks"), 60000));
  EXPECT_EQ(outcome_.received, 1);
  EXPECT_EQ(page(), stored(reply));
  expectCleanAndUsable();
}

TEST_F(Fetch, RefusedUrlStartsNothing) {
  EXPECT_EQ(fetcher_.begin("ftp://127.0.0.1/", outcome_).state, ls::FetchStart::kRefused);
  EXPECT_EQ(ui_.status[1], ls::kMsgFetchStart);
  EXPECT_FALSE(fetcher_.inFlight());
}

TEST_F(Fetch, CloseWhileResolvingDropsTheLookup) {
  ls::FetchBegin begun = fetcher_.begin("http://localhost:" + std::to_string(server_.port()) + "/x", outcome_);
  ASSERT_EQ(begun.state, ls::FetchStart::kStarted);
  EXPECT_TRUE(fetcher_.inFlight());
  fetcher_.close();
  lstest::pumpFor(500);
  EXPECT_FALSE(outcome_.ended());
  EXPECT_FALSE(fetcher_.inFlight());
  expectCleanAndUsable();
}

}  // namespace

namespace {

// A body in a compression nobody asked for is never stored as the page; a
// chunked page that stops before its last chunk fails, though the server
// closed in good order; a 304 to a request without validators is no answer.
TEST_F(Fetch, UnaskedEncodingsCutChunksAndStray304sFailWithTheirOwnTexts) {
  struct Row {
    const char* path;
    std::string reply, failure;
  } rows[] = {
      {"/br", "HTTP/1.1 200 OK\r\nContent-Encoding: br\r\n\r\n\x1b\x03junk", std::string(ls::kMsgUnknownEncoding) + "br)"},
      {"/cut", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n6E\r\n<a href=/x>x</a>", ls::kMsgChunksCut},
      {"/stray", "HTTP/1.1 304 Not Modified\r\n\r\n", ls::msgHttpStatus(304)},
  };
  for (const Row& r : rows) {
    server_.route(r.path, Reply{r.reply});
    outcome_ = {};
    ASSERT_TRUE(fetch(server_.url(r.path))) << r.path;
    EXPECT_EQ(outcome_.received, 0) << r.path;
    ASSERT_EQ(outcome_.failures.size(), 1u) << r.path;
    EXPECT_EQ(outcome_.failures[0], r.failure);
    EXPECT_EQ(page().find("junk"), std::string::npos);
  }
  expectCleanAndUsable();
}

}  // namespace
