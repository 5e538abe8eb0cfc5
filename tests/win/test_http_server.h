// A small HTTP server for the Windows tests. It runs inside the test process:
// it listens on 127.0.0.1 on an ephemeral port, serves each connection on its
// own thread with blocking Winsock sockets, and answers each request path with
// raw bytes written by the test, delivered in one of several ways (whole,
// reset part-way, byte by byte, before the request, ...). Link with ws2_32.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace lstest {

// How the server treats a connection whose request names the route.
enum class Behaviour {
  kNormal,        // read the request head, send all bytes, close gracefully
  kResetMidBody,  // read the request, send the first resetAfter bytes, wait
                  // resetDelayMs, then reset (SO_LINGER 0, closesocket)
  kCloseNoData,   // read the request, send nothing, close gracefully
  kStall,         // read the request, send nothing (or the first resetAfter
                  // bytes), hold the connection until the client closes it or
                  // the server is destroyed
  kDrip,          // send the bytes one at a time, dripDelayMs apart, then close
  kSendFirst,     // send all bytes right after accept, then read the request
                  // and close gracefully (see route())
  kSmallChunks,   // send chunkSize bytes at a time, 1 ms apart, then close
};

struct Reply {
  std::string bytes;  // the whole raw response: status line, headers, body
  Behaviour behaviour = Behaviour::kNormal;
  std::size_t resetAfter = 0;  // kResetMidBody, kStall (clamped to bytes.size())
  int dripDelayMs = 5;         // kDrip
  std::size_t chunkSize = 7;   // kSmallChunks
  // kResetMidBody: the pause lets the client read the first bytes and wait for
  // more before the reset comes. Under Wine 8 a reset shows as WSAECONNRESET
  // only to a recv() already waiting when it arrives; one that arrives first
  // reads as a clean close (recv() 0, FD_CLOSE without an error code).
  // Last, so that brace-initialised Replies keep the order above.
  int resetDelayMs = 100;
  // Every behaviour but kSendFirst: the pause between the request's arrival
  // and the first byte of the answer.
  int delayMs = 0;
};

// "HTTP/1.0 <status> <reason>\r\nContent-Length: <n>\r\n" + extraHeaders
// (each line ending in "\r\n") + "\r\n" + body.
std::string httpResponse(int status, const std::string& reason, const std::string& body,
                         const std::string& extraHeaders = {});

class TestHttpServer {
 public:
  // Starts Winsock, the listener and the accept thread; throws
  // std::runtime_error when any of that fails.
  TestHttpServer();
  // Stops promptly: closes the listener, wakes every connection that is
  // stalled, waiting or sending, and joins all threads.
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int port() const;
  // "http://127.0.0.1:<port><path>"
  std::string url(const std::string& path) const;

  // Serves `reply` to requests whose path (the second word of the request
  // line, compared exactly) is `path`; a later call for the same path
  // replaces it. Paths without a route get a 404 reply (kNormal).
  // A kSendFirst reply cannot wait for the path: once routed, it is sent on
  // every connection accepted afterwards, whatever it then requests (the
  // request is still recorded under its own path), until the same path is
  // routed again with another behaviour.
  void route(const std::string& path, Reply reply);

  // Complete request heads received for `path` (routed or not), and the last
  // one, raw up to and including the blank line ("" when none). A request is
  // recorded before any reply to it is sent, except for kSendFirst, where it
  // is recorded before the connection is closed.
  int requestCount(const std::string& path);
  std::string lastRequest(const std::string& path);

  // A 127.0.0.1 port nobody listens on: a socket is bound to port 0, its port
  // read and the socket closed without listening, so connecting to it is
  // refused. Returns 0 when that fails.
  static int refusedPort();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lstest
