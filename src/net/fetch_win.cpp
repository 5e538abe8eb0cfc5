#include "net/fetch_win.h"

#include <cstdlib>
#include <cstring>

#include "common/file_io.h"
#include "common/program.h"
#include "common/wide_win.h"
#include "net/fetch_texts.h"
#include "net/page_file.h"
#include "net/url.h"
#include "resources/resource_ids.h"

namespace ls {

namespace {

constexpr int kChunkBytes = 4068;
constexpr long kEvents = FD_READ | FD_CONNECT | FD_CLOSE;

// The timer callback has no context argument; there is one fetcher.
WinsockFetcher* g_timedFetcher = nullptr;

void cleanUpSockets() { WSACleanup(); }

}  // namespace

bool startSockets() {
  WSADATA data;
  bool ok = WSAStartup(0x0101, &data) == 0;
  if (ok && std::atexit(cleanUpSockets) != 0) ok = false;
  if (!ok) MessageBoxW(nullptr, toWide(kMsgWinsockFailed).c_str(), L"Error", MB_OK | MB_ICONERROR);
  return ok;
}

WinsockFetcher::~WinsockFetcher() {
  close();
  if (g_timedFetcher == this) g_timedFetcher = nullptr;
}

void WinsockFetcher::attach(HWND window, UserInterface* ui, std::string pageFile, FetchListener* listener) {
  window_ = window;
  ui_ = ui;
  pageFile_ = std::move(pageFile);
  listener_ = listener;
}

FetchBegin WinsockFetcher::begin(const std::string& url) {
  ui_->setStatus(1, kMsgFetchStart);
  removeFile(pageFile_);
  std::optional<RequestTarget> target = splitUrl(url);
  if (!target) return FetchBegin{FetchStart::kRefused, ""};
  host_ = target->host;
  port_ = target->port;
  request_ = composeRequest(*target);
  response_ = ResponseCheck{};

  socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (socket_ == INVALID_SOCKET) {
    MessageBoxW(window_, toWide(kMsgNoSocket).c_str(), toWide(kProgramTitle).c_str(), MB_OK | MB_ICONERROR);
    return FetchBegin{FetchStart::kNoSocket, ""};
  }
  touchTimeout();
  // 255.255.255.255 equals inet_addr's failure value and is looked up as a name.
  unsigned long address = inet_addr(host_.c_str());
  if (address == INADDR_NONE) {
    lookup_ = WSAAsyncGetHostByName(window_, WM_HOSTLOOKUP, host_.c_str(), hostEntry_, sizeof hostEntry_);
    if (!lookup_) {
      closeWithStatus(kMsgSocketError);
      return FetchBegin{FetchStart::kFailed, kMsgSocketError};
    }
    return FetchBegin{};
  }
  if (!selectEvents()) {
    closeWithStatus(kMsgSocketError);
    return FetchBegin{FetchStart::kFailed, kMsgSocketError};
  }
  if (!connectTo(address)) {
    closeWithStatus(kMsgConnectFailed);
    return FetchBegin{FetchStart::kFailed, kMsgConnectFailed};
  }
  return FetchBegin{};
}

bool WinsockFetcher::selectEvents() {
  return WSAAsyncSelect(socket_, window_, WM_SOCKETEVENT, kEvents) != SOCKET_ERROR;
}

bool WinsockFetcher::connectTo(unsigned long address) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<u_short>(port_));
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
    case FD_CONNECT: {
      int sent = ::send(socket_, request_.data(), static_cast<int>(request_.size()), 0);
      if (sent != static_cast<int>(request_.size())) {
        fail(kMsgSendFailed);
      } else {
        ui_->setStatus(1, kMsgRequestSent);
      }
      break;
    }
    case FD_CLOSE:
      finish();
      break;
    default:
      break;
  }
}

void WinsockFetcher::receiveChunk() {
  char buffer[kChunkBytes];
  int got = ::recv(socket_, buffer, kChunkBytes, 0);
  if (got == SOCKET_ERROR) {
    // No data yet (the notification was already served) is no error.
    if (WSAGetLastError() == WSAEWOULDBLOCK) return;
    fail(kMsgReceiveFailed);
    return;
  }
  if (got > 0) {
    response_.feed(std::string_view(buffer, got));
    appendToPageFile(pageFile_, std::string_view(buffer, got));
  }
  ui_->setStatus(1, kMsgReceiving);
}

void WinsockFetcher::finish() {
  // The server has closed: what is still buffered is read to the end. The
  // append creates the page file, so a close without data leaves it empty.
  if (FilePtr f = openFile(pageFile_, "ab")) {
    char buffer[kChunkBytes];
    int got;
    while ((got = ::recv(socket_, buffer, kChunkBytes, 0)) > 0) {
      response_.feed(std::string_view(buffer, got));
      std::string bytes = pageFileBytes(std::string_view(buffer, got));
      std::fwrite(bytes.data(), 1, bytes.size(), f.get());
    }
    // A reset while the rest was read: the page is incomplete.
    if (got == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) {
      f.reset();
      fail(kMsgReceiveFailed);
      return;
    }
  }
  // Some stacks report a reset as an orderly close; a body shorter than its
  // Content-Length shows it.
  if (response_.truncated()) {
    fail(kMsgReceiveFailed);
    return;
  }
  close();
  ui_->setStatus(1, kMsgReceived);
  if (listener_) listener_->fetchReceived();
}

void WinsockFetcher::close() {
  if (lookup_) {
    WSACancelAsyncRequest(lookup_);
    lookup_ = nullptr;
  }
  if (socket_ != INVALID_SOCKET) {
    WSAAsyncSelect(socket_, window_, 0, 0);
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }
  if (g_timedFetcher == this) {
    KillTimer(window_, IDT_FETCH_TIMEOUT);
    g_timedFetcher = nullptr;
  }
}

void WinsockFetcher::closeWithStatus(const char* text) {
  close();
  ui_->setStatus(1, text);
}

void WinsockFetcher::fail(const char* text) {
  closeWithStatus(text);
  if (listener_) listener_->fetchFailed(text);
}

void WinsockFetcher::touchTimeout() {
  g_timedFetcher = this;
  SetTimer(window_, IDT_FETCH_TIMEOUT, timeoutMs_, &WinsockFetcher::onTimeout);
}

void CALLBACK WinsockFetcher::onTimeout(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  WinsockFetcher* fetcher = g_timedFetcher;
  if (fetcher && fetcher->inFlight()) fetcher->fail(kMsgTimeout);
}

}  // namespace ls
