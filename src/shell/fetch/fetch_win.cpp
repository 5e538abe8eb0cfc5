#include "shell/fetch/fetch_win.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/file_io.h"
#include "net/fetch_texts.h"
#include "net/page_file.h"
#include "shell/fetch/proxy_choice_win.h"
#include "shell/resources/resource_ids.h"
#include "win/wide_win.h"

namespace ls {

namespace {

constexpr int kChunkBytes = 4068;
// A TLS record holds up to 16 KiB; reading one whole saves messages.
constexpr int kTlsChunkBytes = 16384 + 512;
// Bytes waiting for a TLS record to end: a record holds at most about
// 18 KiB, a handshake message a certificate chain. A peer that claims more
// is no TLS server.
constexpr std::size_t kMaxTlsPending = 256 * 1024;
constexpr long kEvents = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;

void cleanUpSockets() { WSACleanup(); }

}  // namespace

bool startSockets() {
  WSADATA data;
  bool ok = WSAStartup(0x0101, &data) == 0;
  if (ok && std::atexit(cleanUpSockets) != 0) ok = false;
  if (!ok) MessageBoxW(nullptr, toWide(kMsgWinsockFailed).c_str(), L"Error", MB_OK | MB_ICONERROR);
  return ok;
}

WinsockFetcher::~WinsockFetcher() { close(); }

void WinsockFetcher::attach(HWND window, UserInterface* ui, std::string pageFile, UINT_PTR timerId) {
  window_ = window;
  timerId_ = timerId;
  ui_ = ui;
  pageFile_ = std::move(pageFile);
}

FetchBegin WinsockFetcher::begin(const std::string& url, FetchListener& listener, const Validators& validators) {
  close();
  listener_ = &listener;
  validators_ = validators;
  fetched_ = {};
  startedAt_ = GetTickCount64();
  ui_->setStatus(1, kMsgFetchStart);
  removeFile(pageFile_);
  std::optional<RequestTarget> target = splitUrl(url);
  if (!target) return FetchBegin{FetchStart::kRefused, ""};
  trail_ = RedirectTrail(url);
  FetchBegin begun = openHop(*target);
  if (begun.state == FetchStart::kFailed) closeWithStatus(begun.failure);
  return begun;
}

FetchBegin WinsockFetcher::openHop(const RequestTarget& target) {
  dropConnection();
  target_ = target;
  ProxyChoice choice;
  if (!settingsFile_.empty()) choice = chooseProxy(settingsFile_, target);
  if (choice.badName) return FetchBegin{FetchStart::kFailed, kMsgBadProxyName};
  automaticIgnored_ = choice.automaticIgnored;
  if (automaticIgnored_) ui_->setStatus(1, std::string(kMsgFetchStart) + kMsgProxyAutomaticNote);
  proxy_ = choice.proxy;
  tunnel_ = proxy_ && target.secure;
  request_ = proxy_ && !target.secure ? composeProxyRequest(target, validators_) : composeRequest(target, validators_);
  const std::string& host = proxy_ ? proxy_->host : target.host;
  connectPort_ = proxy_ ? proxy_->port : target.port;

  socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (socket_ == INVALID_SOCKET) {
    ui_->error(kMsgNoSocket);
    return FetchBegin{FetchStart::kNoSocket, ""};
  }
  touchTimeout();
  // 255.255.255.255 equals inet_addr's failure value and is looked up as a name.
  unsigned long address = inet_addr(host.c_str());
  if (address == INADDR_NONE) {
    lookup_ = WSAAsyncGetHostByName(window_, WM_HOSTLOOKUP, host.c_str(), hostEntry_, sizeof hostEntry_);
    if (!lookup_) return FetchBegin{FetchStart::kFailed, kMsgSocketError};
    return FetchBegin{};
  }
  if (!selectEvents()) return FetchBegin{FetchStart::kFailed, kMsgSocketError};
  if (!connectTo(address)) return FetchBegin{FetchStart::kFailed, kMsgConnectFailed};
  return FetchBegin{};
}

bool WinsockFetcher::selectEvents() {
  return WSAAsyncSelect(socket_, window_, WM_SOCKETEVENT, kEvents) != SOCKET_ERROR;
}

bool WinsockFetcher::connectTo(unsigned long address) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<u_short>(connectPort_));
  to.sin_addr.s_addr = address;
  if (::connect(socket_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != SOCKET_ERROR) return true;
  return WSAGetLastError() == WSAEWOULDBLOCK;
}

void WinsockFetcher::onHostLookup(WPARAM wParam, LPARAM lParam) {
  // The answer of a lookup that was cancelled or belongs to an earlier
  // fetch is dropped, error or not.
  if (!lookup_ || reinterpret_cast<HANDLE>(wParam) != lookup_) return;
  lookup_ = nullptr;
  if (WSAGETASYNCERROR(lParam) != 0) {
    fail(kMsgSocketError);
    return;
  }
  touchTimeout();
  const hostent* entry = reinterpret_cast<const hostent*>(hostEntry_);
  if (entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list || !entry->h_addr_list[0]) {
    fail(kMsgSocketError);
    return;
  }
  unsigned long address;
  std::memcpy(&address, entry->h_addr_list[0], 4);
  if (!selectEvents()) {
    fail(kMsgSocketError);
    return;
  }
  if (!connectTo(address)) fail(kMsgConnectFailed);
}

void WinsockFetcher::onSocketEvent(WPARAM wParam, LPARAM lParam) {
  // A late notification of a socket already closed must not touch the
  // fetch in flight.
  if (socket_ == INVALID_SOCKET || static_cast<SOCKET>(wParam) != socket_) return;
  if (WSAGETSELECTERROR(lParam) != 0) {
    fail(kMsgSocketError);
    return;
  }
  touchTimeout();
  switch (WSAGETSELECTEVENT(lParam)) {
    case FD_READ:
      receiveChunk();
      break;
    case FD_WRITE:
      flushOutgoing();
      break;
    case FD_CONNECT:
      connected();
      break;
    case FD_CLOSE:
      serverClosed();
      break;
    default:
      break;
  }
}

void WinsockFetcher::connected() {
  if (tunnel_) {
    stage_ = Stage::kTunnel;
    queue(composeConnect(target_));
  } else if (target_.secure) {
    startTls();
  } else {
    stage_ = Stage::kExchange;
    queue(request_);
  }
  if (inFlight()) ui_->setStatus(1, kMsgRequestSent);
}

void WinsockFetcher::startTls() {
  stage_ = Stage::kHandshake;
  std::string hello;
  if (tls_.begin(target_.host, hello) == TlsChannel::Step::kFailed) {
    fail(kMsgTlsFailed);
    return;
  }
  queue(hello);
}

void WinsockFetcher::queue(const std::string& bytes) {
  outgoing_ += bytes;
  flushOutgoing();
}

void WinsockFetcher::flushOutgoing() {
  while (!outgoing_.empty()) {
    int sent = ::send(socket_, outgoing_.data(), static_cast<int>(outgoing_.size()), 0);
    if (sent == SOCKET_ERROR) {
      // The rest goes at the next FD_WRITE.
      if (WSAGetLastError() != WSAEWOULDBLOCK) fail(kMsgSendFailed);
      return;
    }
    outgoing_.erase(0, static_cast<std::size_t>(sent));
  }
}

void WinsockFetcher::receiveChunk() {
  char buffer[kTlsChunkBytes];
  int size = target_.secure ? kTlsChunkBytes : kChunkBytes;
  int got = ::recv(socket_, buffer, size, 0);
  if (got == SOCKET_ERROR) {
    // No data yet (the notification was already served) is no error.
    if (WSAGetLastError() == WSAEWOULDBLOCK) return;
    fail(kMsgReceiveFailed);
    return;
  }
  if (got > 0) received(std::string_view(buffer, got));
  if (inFlight() && stage_ == Stage::kExchange) ui_->setStatus(1, kMsgReceiving);
}

void WinsockFetcher::received(std::string_view bytes) {
  switch (stage_) {
    case Stage::kConnecting:
      // A plain server may speak before it is spoken to.
      if (!tunnel_ && !target_.secure) responseBytes(bytes);
      break;
    case Stage::kTunnel:
      tunnelReply_.feed(bytes);
      if (!tunnelReply_.headDone()) break;
      if (tunnelReply_.status() / 100 != 2) {
        fail(kMsgProxyRefused);
      } else {
        startTls();
      }
      break;
    case Stage::kHandshake: {
      tlsIn_.append(bytes);
      unsigned serial = serial_;
      handshakeBytes();
      if (still(serial) && tlsIn_.size() > kMaxTlsPending) fail(kMsgTlsFailed);
      break;
    }
    case Stage::kExchange:
      if (target_.secure) {
        tlsIn_.append(bytes);
        const unsigned serial = serial_;
        decryptAvailable();
        if (still(serial) && tlsIn_.size() > kMaxTlsPending) fail(kMsgTlsFailed);
      } else {
        responseBytes(bytes);
      }
      break;
  }
}

void WinsockFetcher::handshakeBytes() {
  std::string reply;
  TlsChannel::Step step = tls_.handshake(tlsIn_, reply);
  if (!reply.empty()) queue(reply);
  if (!inFlight()) return;
  switch (step) {
    case TlsChannel::Step::kMore:
      return;
    case TlsChannel::Step::kFailed:
      fail(kMsgTlsFailed);
      return;
    case TlsChannel::Step::kCertRejected:
      fail(kMsgCertRejected);
      return;
    case TlsChannel::Step::kDone:
      break;
  }
  tlsProtocol_ = tls_.protocolName();
  stage_ = Stage::kExchange;
  std::string records;
  if (!tls_.encrypt(request_, records)) {
    fail(kMsgTlsFailed);
    return;
  }
  queue(records);
  if (inFlight() && !tlsIn_.empty()) decryptAvailable();
}

void WinsockFetcher::decryptAvailable() {
  std::string plain, reply;
  TlsChannel::Read read = tls_.decrypt(tlsIn_, plain, reply);
  if (!reply.empty()) queue(reply);
  unsigned serial = serial_;
  if (!plain.empty() && still(serial)) responseBytes(plain);
  if (!still(serial)) return;
  if (read == TlsChannel::Read::kFailed) {
    fail(kMsgTlsFailed);
  } else if (read == TlsChannel::Read::kClosed) {
    finish();
  }
}

void WinsockFetcher::responseBytes(std::string_view bytes) {
  bool headWasDone = response_.headDone();
  std::string page;
  bool whole = response_.feed(bytes, page);
  // Every byte is stored as it arrives, so what came before a failure stays.
  if (!page.empty()) writePage(page);
  if (!headWasDone && response_.headDone() && !headEnded()) return;
  if (!whole) {
    fail(response_.failure());
    return;
  }
  // The body's own framing says it is complete: no need to wait for the close.
  if (response_.ended()) finish();
}

bool WinsockFetcher::headEnded() {
  const ResponseCheck& head = response_.head();
  // A proxy that wants credentials answers for every page alike.
  if (proxy_ && !tunnel_ && head.status() == 407) {
    fail(kMsgProxyRefused);
    return false;
  }
  Hop hop = trail_.decide(head.status(), head.location());
  if (hop.verdict == HopVerdict::kFinal) return true;
  // A redirect response is never the page.
  removeFile(pageFile_);
  switch (hop.verdict) {
    case HopVerdict::kFollow:
      followRedirect(hop.target);
      return false;
    case HopVerdict::kTooMany:
      fail(kMsgTooManyRedirects);
      return false;
    case HopVerdict::kDowngrade:
      fail(kMsgRedirectDowngrade);
      return false;
    default:
      fail(kMsgBadRedirect);
      return false;
  }
}

void WinsockFetcher::followRedirect(const RequestTarget& next) {
  FetchBegin begun = openHop(next);
  if (begun.state == FetchStart::kNoSocket) {
    fail(kMsgSocketError);
  } else if (begun.state == FetchStart::kFailed) {
    fail(begun.failure);
  }
}

void WinsockFetcher::serverClosed() {
  // What is still buffered is read to the end first.
  unsigned serial = serial_;
  char buffer[kTlsChunkBytes];
  int got;
  while ((got = ::recv(socket_, buffer, sizeof buffer, 0)) > 0) {
    received(std::string_view(buffer, got));
    if (!still(serial)) return;  // failed, finished or redirected meanwhile
  }
  // A reset while the rest was read: the page is incomplete.
  if (got == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) {
    fail(kMsgReceiveFailed);
    return;
  }
  switch (stage_) {
    case Stage::kTunnel:
      fail(kMsgProxyRefused);
      return;
    case Stage::kHandshake:
      fail(kMsgTlsFailed);
      return;
    case Stage::kConnecting:
    case Stage::kExchange:
      // Part of a record that never ended: the page was cut short.
      if (target_.secure && !tlsIn_.empty()) {
        fail(kMsgReceiveFailed);
        return;
      }
      finish();
      return;
  }
}

void WinsockFetcher::finish() {
  // A close without any data leaves an empty page file.
  writePage("");
  const ResponseCheck& head = response_.head();
  int status = head.status();
  fetched_.status = status;
  // A body shorter than its Content-Length (some stacks report a reset as
  // an orderly close), without its last chunk, or whose compression did not
  // end, is no page.
  if (!response_.finish()) {
    fail(response_.failure());
    return;
  }
  // "Not modified" answers only a request that asked whether it was.
  bool notModified = status == 304 && !validators_.empty();
  // An error page (a proxy's 502, an overloaded server's 503) is not the
  // site's news: scanned, its links would come and go as headlines.
  if (!isPageStatus(status) && !notModified) {
    fetched_.retryAfter = head.retryAfter();
    fail(msgHttpStatus(status));
    return;
  }
  fetched_.notModified = notModified;
  fetched_.validators = Validators{head.etag(), head.lastModified()};
  fetched_.finalUrl = trail_.current();
  fetched_.movedTo = trail_.movedTo().value_or("");
  bool note = automaticIgnored_;
  FetchListener* listener = listener_;
  close();
  std::string done = notModified ? kMsgNotModified : kMsgReceived;
  ui_->setStatus(1, note ? done + kMsgProxyAutomaticNote : done);
  if (listener) listener->fetchReceived();
}

void WinsockFetcher::writePage(std::string_view bytes) {
  if (bytes.empty()) {
    FilePtr created = openFile(pageFile_, "ab");
    return;
  }
  appendToPageFile(pageFile_, bytes);
}

void WinsockFetcher::dropConnection() {
  ++serial_;
  if (lookup_) {
    WSACancelAsyncRequest(lookup_);
    lookup_ = nullptr;
  }
  if (socket_ != INVALID_SOCKET) {
    SOCKET closing = socket_;
    WSAAsyncSelect(socket_, window_, 0, 0);
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
    // The next socket may get the same handle (Wine reuses them at once),
    // and then the old one's queued notifications would pass for its own.
    // Those of the other fetches sharing the window go back in the queue,
    // in their order.
    std::vector<MSG> others;
    MSG queued;
    while (PeekMessageW(&queued, window_, WM_SOCKETEVENT, WM_SOCKETEVENT, PM_REMOVE)) {
      if (static_cast<SOCKET>(queued.wParam) != closing) others.push_back(queued);
    }
    for (const MSG& m : others) PostMessageW(window_, m.message, m.wParam, m.lParam);
  }
  stage_ = Stage::kConnecting;
  outgoing_.clear();
  tlsIn_.clear();
  response_ = ResponseDecoder{};
  tunnelReply_ = ResponseCheck{};
  tls_.reset();
}

void WinsockFetcher::close() {
  dropConnection();
  if (window_) KillTimer(window_, timerId_);
  listener_ = nullptr;
}

void WinsockFetcher::closeWithStatus(const std::string& text) {
  close();
  ui_->setStatus(1, text);
}

void WinsockFetcher::fail(const std::string& text) {
  // The text may live in the response that closing resets.
  std::string said = text;
  FetchListener* listener = listener_;
  closeWithStatus(said);
  if (listener) listener->fetchFailed(said);
}

void WinsockFetcher::touchTimeout() {
  // One timer serves both limits: whichever comes first.
  ULONGLONG spent = GetTickCount64() - startedAt_;
  ULONGLONG left = spent >= capMs_ ? 0 : capMs_ - spent;
  UINT wait = left < timeoutMs_ ? static_cast<UINT>(left) : timeoutMs_;
  SetTimer(window_, timerId_, wait > 0 ? wait : 1, nullptr);
}

void WinsockFetcher::onTimeout() {
  KillTimer(window_, timerId_);
  if (inFlight()) fail(kMsgTimeout);
}

}  // namespace ls
