// The tests' HTTP server itself, fetched from by a plain blocking client on
// loopback: each behaviour delivers what it promises, and the server stops
// promptly even with connections open.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>

#include "test_http_server.h"

namespace {

using lstest::Behaviour;
using lstest::Reply;
using lstest::TestHttpServer;
using Clock = std::chrono::steady_clock;

constexpr int kTimedOut = -1;  // Client::error when the server neither sent nor closed

long long msSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::string request(const std::string& path) {
  return "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
}

// Waits up to `ms` for `s` to be readable (data, end of stream or error).
bool readable(SOCKET s, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &tv) > 0;
}

class Wsa {
 public:
  Wsa() { ok_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
  ~Wsa() {
    if (ok_) WSACleanup();
  }
  bool ok() const { return ok_; }

 private:
  WSADATA data_{};
  bool ok_ = false;
};

// A blocking loopback client.
class Client {
 public:
  explicit Client(int port) {
    s_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<u_short>(port));
    if (s_ == INVALID_SOCKET ||
        connect(s_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == SOCKET_ERROR)
      connectError_ = WSAGetLastError();
  }
  ~Client() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  SOCKET socket_() const { return s_; }
  int connectError() const { return connectError_; }

  bool sendText(const std::string& text) {
    return send(s_, text.data(), static_cast<int>(text.size()), 0) == static_cast<int>(text.size());
  }

  // Receives until the server closes, an error, `limit` bytes, or `timeoutMs`
  // without the server closing. error(): 0 after a clean close (or the
  // limit), the Winsock error, or kTimedOut. It waits in recv() itself (with
  // SO_RCVTIMEO), not in select(): under Wine 8 only a recv() that is waiting
  // when a reset arrives reports WSAECONNRESET.
  std::string receive(std::size_t limit = std::string::npos, int timeoutMs = 10000) {
    std::string got;
    std::string buf(64 * 1024, '\0');
    error_ = 0;
    const auto start = Clock::now();
    while (got.size() < limit) {
      const long long elapsed = msSince(start);
      const DWORD left = static_cast<DWORD>(timeoutMs - elapsed);
      if (elapsed >= timeoutMs ||
          setsockopt(s_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&left),
                     sizeof left) != 0) {
        error_ = kTimedOut;
        break;
      }
      int want = static_cast<int>(std::min(buf.size(), limit - got.size()));
      int n = recv(s_, &buf[0], want, 0);
      if (n == 0) break;
      if (n < 0) {
        error_ = WSAGetLastError() == WSAETIMEDOUT ? kTimedOut : WSAGetLastError();
        break;
      }
      got.append(buf, 0, static_cast<std::size_t>(n));
    }
    return got;
  }
  int error() const { return error_; }

 private:
  SOCKET s_ = INVALID_SOCKET;
  int connectError_ = 0;
  int error_ = 0;
};

class TestHttpServerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(wsa_.ok()); }

  // One whole exchange: request `path`, receive until the server closes.
  std::string fetch(const std::string& path, int* error) {
    Client c(server_->port());
    EXPECT_EQ(c.connectError(), 0);
    EXPECT_TRUE(c.sendText(request(path)));
    std::string got = c.receive();
    *error = c.error();
    return got;
  }

  Wsa wsa_;
  std::unique_ptr<TestHttpServer> server_ = std::make_unique<TestHttpServer>();
};

TEST_F(TestHttpServerTest, UrlNamesLoopbackAndThePort) {
  ASSERT_GT(server_->port(), 0);
  EXPECT_EQ(server_->url("/a?b=1"), "http://127.0.0.1:" + std::to_string(server_->port()) + "/a?b=1");
}

TEST_F(TestHttpServerTest, NormalReplyArrivesWholeAndTheRequestIsRecorded) {
  const std::string bytes =
      lstest::httpResponse(200, "OK", "hello world", "Content-Type: text/plain\r\n");
  server_->route("/hello", Reply{bytes});
  int error = 0;
  EXPECT_EQ(fetch("/hello", &error), bytes);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(server_->requestCount("/hello"), 1);
  EXPECT_EQ(server_->lastRequest("/hello"), request("/hello"));
  EXPECT_EQ(server_->requestCount("/other"), 0);
  EXPECT_EQ(server_->lastRequest("/other"), "");
  EXPECT_EQ(fetch("/hello", &error), bytes);
  EXPECT_EQ(server_->requestCount("/hello"), 2);
}

TEST_F(TestHttpServerTest, UnknownPathGets404) {
  server_->route("/hello", Reply{lstest::httpResponse(200, "OK", "hello")});
  int error = 0;
  std::string got = fetch("/missing", &error);
  EXPECT_EQ(got.rfind("HTTP/1.0 404 ", 0), 0u) << got;
  EXPECT_EQ(error, 0);
  EXPECT_EQ(server_->requestCount("/missing"), 1);
  EXPECT_EQ(server_->requestCount("/hello"), 0);
}

TEST_F(TestHttpServerTest, CloseNoDataClosesCleanlyWithoutBytes) {
  server_->route("/empty", Reply{"HTTP/1.0 200 OK\r\n\r\nunused", Behaviour::kCloseNoData});
  int error = kTimedOut;
  EXPECT_EQ(fetch("/empty", &error), "");
  EXPECT_EQ(error, 0);
  EXPECT_EQ(server_->requestCount("/empty"), 1);
}

TEST_F(TestHttpServerTest, ResetMidBodyEndsInAReset) {
  const std::string bytes = lstest::httpResponse(200, "OK", std::string(1000, 'x'));
  Reply reply{bytes, Behaviour::kResetMidBody};
  reply.resetAfter = 30;
  server_->route("/reset", reply);
  int error = 0;
  std::string got = fetch("/reset", &error);
  EXPECT_EQ(error, WSAECONNRESET) << "after " << got.size() << " bytes";
  EXPECT_EQ(got, bytes.substr(0, 30));
}

TEST_F(TestHttpServerTest, SendFirstDeliversBeforeTheRequest) {
  const std::string bytes = lstest::httpResponse(200, "OK", "early");
  server_->route("/first", Reply{bytes, Behaviour::kSendFirst});
  Client c(server_->port());
  ASSERT_EQ(c.connectError(), 0);
  EXPECT_EQ(c.receive(bytes.size(), 5000), bytes);  // nothing sent yet
  EXPECT_EQ(c.error(), 0);
  EXPECT_EQ(server_->requestCount("/first"), 0);
  ASSERT_TRUE(c.sendText(request("/first")));
  EXPECT_EQ(c.receive(), "");  // then only the close
  EXPECT_EQ(c.error(), 0);
  EXPECT_EQ(server_->requestCount("/first"), 1);
  EXPECT_EQ(server_->lastRequest("/first"), request("/first"));
}

TEST_F(TestHttpServerTest, DripDeliversTheSameBytesOneAtATime) {
  const std::string bytes = lstest::httpResponse(200, "OK", "drip");  // 43 bytes
  Reply reply{bytes, Behaviour::kDrip};
  reply.dripDelayMs = 5;
  server_->route("/drip", reply);
  const auto start = Clock::now();
  int error = 0;
  EXPECT_EQ(fetch("/drip", &error), bytes);
  EXPECT_EQ(error, 0);
  // 42 pauses of 5 ms; a sender that ignored them would take a few ms.
  EXPECT_GE(msSince(start), 150);
}

TEST_F(TestHttpServerTest, SmallChunksDeliverTheSameBytes) {
  const std::string bytes = lstest::httpResponse(200, "OK", std::string(500, 'c'));
  Reply reply{bytes, Behaviour::kSmallChunks};
  reply.chunkSize = 7;
  server_->route("/chunks", reply);
  int error = 0;
  EXPECT_EQ(fetch("/chunks", &error), bytes);
  EXPECT_EQ(error, 0);
}

TEST_F(TestHttpServerTest, StallHoldsTheConnectionOpenAndDestructionIsPrompt) {
  const std::string bytes = lstest::httpResponse(200, "OK", "never sent");
  Reply reply{bytes, Behaviour::kStall};
  reply.resetAfter = 12;  // "HTTP/1.0 200"
  server_->route("/stall", reply);
  server_->route("/hello", Reply{lstest::httpResponse(200, "OK", "hello")});

  Client c(server_->port());
  ASSERT_EQ(c.connectError(), 0);
  ASSERT_TRUE(c.sendText(request("/stall")));
  EXPECT_EQ(c.receive(12, 5000), bytes.substr(0, 12));
  // Nothing more, and no close, for well over 300 ms.
  const auto start = Clock::now();
  EXPECT_FALSE(readable(c.socket_(), 400));
  EXPECT_GE(msSince(start), 300);

  // The stalled connection does not hold up the next fetch.
  int error = 0;
  EXPECT_EQ(fetch("/hello", &error), lstest::httpResponse(200, "OK", "hello"));

  const auto destroying = Clock::now();
  server_.reset();
  EXPECT_LT(msSince(destroying), 2000);
  c.receive(std::string::npos, 5000);
  EXPECT_NE(c.error(), kTimedOut);  // the server's end is closed
}

TEST_F(TestHttpServerTest, FiftyMegabytesArriveWhole) {
  std::string body(50 * 1024 * 1024, '\0');
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 23);
  const std::string bytes = lstest::httpResponse(200, "OK", body);
  server_->route("/big", Reply{bytes});
  int error = 0;
  const auto start = Clock::now();
  std::string got = fetch("/big", &error);
  EXPECT_EQ(error, 0);
  ASSERT_EQ(got.size(), bytes.size());
  EXPECT_TRUE(got == bytes);  // not EXPECT_EQ: no 50 MB failure message
  EXPECT_LT(msSince(start), 10000);
}

TEST_F(TestHttpServerTest, DestructionIsPromptWhileASendIsBlocked) {
  server_->route("/big", Reply{lstest::httpResponse(200, "OK", std::string(50 * 1024 * 1024, 'b'))});
  Client c(server_->port());
  ASSERT_EQ(c.connectError(), 0);
  ASSERT_TRUE(c.sendText(request("/big")));
  // Read a little, so the reply is surely under way, then stop reading.
  EXPECT_EQ(c.receive(8, 5000), "HTTP/1.0");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto destroying = Clock::now();
  server_.reset();
  EXPECT_LT(msSince(destroying), 2000);
}

TEST_F(TestHttpServerTest, RefusedPortRefuses) {
  const int port = TestHttpServer::refusedPort();
  ASSERT_GT(port, 0);
  Client c(port);
  EXPECT_EQ(c.connectError(), WSAECONNREFUSED);
}

}  // namespace
