#include "test_http_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace lstest {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kPollMs = 20;                       // how often waiting loops look at `stopping`
constexpr std::size_t kMaxHead = 64 * 1024;       // a longer request head is dropped
constexpr milliseconds kHeadTimeout{10000};       // to receive a whole request head
constexpr milliseconds kDrainTimeout{2000};       // for the client to close after our FIN
constexpr milliseconds kStallLimit{120000};       // a stalled connection ends by itself
constexpr milliseconds kLifetimeLimit{30 * 60 * 1000};  // the accept loop ends by itself
constexpr int kMaxConnections = 100000;
constexpr DWORD kSendTimeoutMs = 60000;           // a client that never reads
constexpr std::size_t kSendPiece = 1 << 20;

std::runtime_error socketError(const char* what) {
  return std::runtime_error(std::string("TestHttpServer: ") + what + " failed, error " +
                            std::to_string(WSAGetLastError()));
}

// Waits up to `ms` for `s` to be readable: 1 readable, 0 not yet, -1 error.
int waitReadable(SOCKET s, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  int rc = select(0, &set, nullptr, nullptr, &tv);
  return rc == SOCKET_ERROR ? -1 : (rc > 0 ? 1 : 0);
}

// The second word of the request line; "" when there is none.
std::string requestPath(const std::string& head) {
  std::string line = head.substr(0, head.find("\r\n"));
  std::size_t start = line.find(' ');
  if (start == std::string::npos) return {};
  ++start;
  std::size_t end = line.find(' ', start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

std::string httpResponse(int status, const std::string& reason, const std::string& body,
                         const std::string& extraHeaders) {
  return "HTTP/1.0 " + std::to_string(status) + " " + reason + "\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n" + extraHeaders + "\r\n" + body;
}

struct TestHttpServer::Impl {
  struct Worker {
    std::thread thread;
    std::atomic<bool> done{false};
  };

  SOCKET listener = INVALID_SOCKET;
  int port = 0;

  std::mutex mu;                  // guards everything below up to `open`
  std::condition_variable wake;   // notified when `stopping` becomes true
  bool stopping = false;
  std::map<std::string, std::shared_ptr<const Reply>> routes;
  std::string sendFirstPath;
  std::shared_ptr<const Reply> sendFirst;
  std::map<std::string, int> counts;
  std::map<std::string, std::string> lastHeads;
  std::set<SOCKET> open;  // live connections, shut down by the destructor to wake them

  std::thread acceptThread;
  std::vector<std::unique_ptr<Worker>> workers;  // the accept thread's, then the destructor's

  bool isStopping() {
    std::lock_guard<std::mutex> lock(mu);
    return stopping;
  }

  // Sleeps `ms`; false (at once) when the server is stopping.
  bool pause(int ms) {
    std::unique_lock<std::mutex> lock(mu);
    return !wake.wait_for(lock, milliseconds(ms), [this] { return stopping; });
  }

  void closeConnection(SOCKET s) {
    {
      std::lock_guard<std::mutex> lock(mu);
      open.erase(s);
    }
    closesocket(s);
  }

  void gracefulClose(SOCKET s) {
    shutdown(s, SD_SEND);
    // Read until the client closes too, so that nothing unread is left to
    // turn the close into a reset.
    char buf[4096];
    const auto deadline = Clock::now() + kDrainTimeout;
    while (Clock::now() < deadline && !isStopping()) {
      int ready = waitReadable(s, kPollMs);
      if (ready < 0) break;
      if (ready > 0 && recv(s, buf, sizeof buf, 0) <= 0) break;
    }
    closeConnection(s);
  }

  void abortiveClose(SOCKET s) {
    linger off{1, 0};
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&off), sizeof off);
    closeConnection(s);
  }

  bool sendAll(SOCKET s, const char* data, std::size_t size) {
    std::size_t sent = 0;
    while (sent < size) {
      if (isStopping()) return false;
      int piece = static_cast<int>(std::min(size - sent, kSendPiece));
      int n = send(s, data + sent, piece, 0);
      if (n == SOCKET_ERROR || n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }

  // Sends `bytes` `piece` bytes at a time with `pauseMs` between the pieces.
  bool sendPaced(SOCKET s, const std::string& bytes, std::size_t piece, int pauseMs) {
    piece = std::max<std::size_t>(piece, 1);
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      if (at > 0 && !pause(pauseMs)) return false;
      if (!sendAll(s, bytes.data() + at, std::min(piece, bytes.size() - at))) return false;
    }
    return true;
  }

  // Reads up to and including the blank line that ends the request head;
  // false when the client closes, the head is too long or too slow, or the
  // server stops. Bytes after the head are dropped.
  bool readHead(SOCKET s, std::string& head) {
    std::string data;
    char buf[4096];
    const auto deadline = Clock::now() + kHeadTimeout;
    while (Clock::now() < deadline && !isStopping()) {
      int ready = waitReadable(s, kPollMs);
      if (ready < 0) return false;
      if (ready == 0) continue;
      int n = recv(s, buf, sizeof buf, 0);
      if (n <= 0) return false;
      std::size_t from = data.size() < 3 ? 0 : data.size() - 3;
      data.append(buf, static_cast<std::size_t>(n));
      std::size_t end = data.find("\r\n\r\n", from);
      if (end != std::string::npos) {
        head = data.substr(0, end + 4);
        return true;
      }
      if (data.size() > kMaxHead) return false;
    }
    return false;
  }

  void record(const std::string& path, const std::string& head) {
    std::lock_guard<std::mutex> lock(mu);
    ++counts[path];
    lastHeads[path] = head;
  }

  std::shared_ptr<const Reply> find(const std::string& path) {
    static const auto notFound = std::make_shared<const Reply>(
        Reply{httpResponse(404, "Not Found", "not found\n", "Content-Type: text/plain\r\n")});
    std::lock_guard<std::mutex> lock(mu);
    auto it = routes.find(path);
    return it == routes.end() ? notFound : it->second;
  }

  void stall(SOCKET s) {
    char buf[4096];
    const auto deadline = Clock::now() + kStallLimit;
    while (Clock::now() < deadline && !isStopping()) {
      int ready = waitReadable(s, kPollMs);
      if (ready < 0) break;
      if (ready > 0 && recv(s, buf, sizeof buf, 0) <= 0) break;  // the client closed
    }
    closeConnection(s);
  }

  void serve(SOCKET s) {
    std::shared_ptr<const Reply> first;
    {
      std::lock_guard<std::mutex> lock(mu);
      first = sendFirst;
    }
    std::string head;
    if (first) {
      if (sendAll(s, first->bytes.data(), first->bytes.size()) && readHead(s, head))
        record(requestPath(head), head);
      gracefulClose(s);
      return;
    }
    if (!readHead(s, head)) {
      closeConnection(s);
      return;
    }
    const std::string path = requestPath(head);
    record(path, head);
    std::shared_ptr<const Reply> reply = find(path);
    const std::string& bytes = reply->bytes;
    const std::size_t prefix = std::min(reply->resetAfter, bytes.size());
    if (reply->delayMs > 0 && !pause(reply->delayMs)) {
      closeConnection(s);
      return;
    }
    switch (reply->behaviour) {
      case Behaviour::kResetMidBody:
        if (sendAll(s, bytes.data(), prefix)) pause(reply->resetDelayMs);
        abortiveClose(s);
        return;
      case Behaviour::kCloseNoData:
        gracefulClose(s);
        return;
      case Behaviour::kStall:
        if (sendAll(s, bytes.data(), prefix)) {
          stall(s);
        } else {
          closeConnection(s);
        }
        return;
      case Behaviour::kDrip:
        sendPaced(s, bytes, 1, reply->dripDelayMs);
        gracefulClose(s);
        return;
      case Behaviour::kSmallChunks:
        sendPaced(s, bytes, reply->chunkSize, 1);
        gracefulClose(s);
        return;
      case Behaviour::kNormal:
      case Behaviour::kSendFirst:  // routed after the connection was accepted
        break;
    }
    sendAll(s, bytes.data(), bytes.size());
    gracefulClose(s);
  }

  void reapFinished() {
    for (auto it = workers.begin(); it != workers.end();) {
      if ((*it)->done) {
        (*it)->thread.join();
        it = workers.erase(it);
      } else {
        ++it;
      }
    }
  }

  void acceptLoop() {
    const auto deadline = Clock::now() + kLifetimeLimit;
    int accepted = 0;
    while (accepted < kMaxConnections && Clock::now() < deadline && !isStopping()) {
      reapFinished();
      int ready = waitReadable(listener, kPollMs);
      if (ready < 0) break;
      if (ready == 0) continue;
      SOCKET s = accept(listener, nullptr, nullptr);
      if (s == INVALID_SOCKET) continue;
      ++accepted;
      setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&kSendTimeoutMs),
                 sizeof kSendTimeoutMs);
      {
        std::lock_guard<std::mutex> lock(mu);
        if (stopping) {
          closesocket(s);
          break;
        }
        open.insert(s);
      }
      auto worker = std::make_unique<Worker>();
      Worker* w = worker.get();
      try {
        worker->thread = std::thread([this, s, w] {
          serve(s);
          w->done = true;
        });
      } catch (const std::system_error&) {
        closeConnection(s);
        continue;
      }
      workers.push_back(std::move(worker));
    }
  }
};

TestHttpServer::TestHttpServer() : impl_(std::make_unique<Impl>()) {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
    throw std::runtime_error("TestHttpServer: WSAStartup failed");
  SOCKET l = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  int len = sizeof addr;
  const char* failed = nullptr;
  if (l == INVALID_SOCKET) {
    failed = "socket";
  } else if (bind(l, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == SOCKET_ERROR) {
    failed = "bind";
  } else if (listen(l, SOMAXCONN) == SOCKET_ERROR) {
    failed = "listen";
  } else if (getsockname(l, reinterpret_cast<sockaddr*>(&addr), &len) == SOCKET_ERROR) {
    failed = "getsockname";
  }
  if (failed) {
    std::runtime_error error = socketError(failed);
    if (l != INVALID_SOCKET) closesocket(l);
    WSACleanup();
    throw error;
  }
  impl_->listener = l;
  impl_->port = ntohs(addr.sin_port);
  try {
    impl_->acceptThread = std::thread([this] { impl_->acceptLoop(); });
  } catch (...) {
    closesocket(l);
    WSACleanup();
    throw;
  }
}

TestHttpServer::~TestHttpServer() {
  {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->stopping = true;
    // Wakes handlers blocked in send() (shutdown() alone leaves a pending
    // send waiting under Wine) or waiting in select(); they close their own
    // sockets, so no socket is closed under a thread still using it.
    for (SOCKET s : impl_->open) {
      shutdown(s, SD_BOTH);
      CancelIoEx(reinterpret_cast<HANDLE>(s), nullptr);
    }
  }
  impl_->wake.notify_all();
  impl_->acceptThread.join();
  closesocket(impl_->listener);
  for (auto& w : impl_->workers) w->thread.join();
  impl_->workers.clear();
  WSACleanup();
}

int TestHttpServer::port() const { return impl_->port; }

std::string TestHttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(impl_->port) + path;
}

void TestHttpServer::route(const std::string& path, Reply reply) {
  auto shared = std::make_shared<const Reply>(std::move(reply));
  std::lock_guard<std::mutex> lock(impl_->mu);
  if (shared->behaviour == Behaviour::kSendFirst) {
    impl_->sendFirst = shared;
    impl_->sendFirstPath = path;
  } else if (impl_->sendFirst && impl_->sendFirstPath == path) {
    impl_->sendFirst.reset();
    impl_->sendFirstPath.clear();
  }
  impl_->routes[path] = std::move(shared);
}

int TestHttpServer::requestCount(const std::string& path) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  auto it = impl_->counts.find(path);
  return it == impl_->counts.end() ? 0 : it->second;
}

std::string TestHttpServer::lastRequest(const std::string& path) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  auto it = impl_->lastHeads.find(path);
  return it == impl_->lastHeads.end() ? std::string() : it->second;
}

int TestHttpServer::refusedPort() {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 0;
  int port = 0;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s != INVALID_SOCKET) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof addr;
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
      port = ntohs(addr.sin_port);
    closesocket(s);
  }
  WSACleanup();
  return port;
}

}  // namespace lstest
