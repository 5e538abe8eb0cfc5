// The fetcher: one HTTP/1.1 conversation at a time over a non-blocking
// Windows Sockets 1.1 socket, driven by WM_HOSTLOOKUP and WM_SOCKETEVENT on
// the receiving window, never blocking the user-interface thread. An https
// page is fetched through a TLS session on the same socket and messages; a
// proxy, when the settings name one, gets the request in absolute form or a
// CONNECT tunnel; redirects are followed a few hops. The final response goes
// to the page file, its body decoded (response_decoder.h).
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <optional>
#include <string>

#include "engine/cycle_ports.h"
#include "engine/ports.h"
#include "net/proxy_route.h"
#include "net/redirect.h"
#include "net/response_check.h"
#include "net/response_decoder.h"
#include "net/url.h"
#include "shell/fetch/tls_channel_win.h"
#include "shell/resources/resource_ids.h"

namespace ls {

// Starts Windows Sockets 1.1 for the program, with the clean-up at exit. On
// failure shows "WinSockの初期化に失敗しました。" and returns false.
bool startSockets();

class WinsockFetcher : public Fetcher {
 public:
  WinsockFetcher() = default;
  WinsockFetcher(const WinsockFetcher&) = delete;
  WinsockFetcher& operator=(const WinsockFetcher&) = delete;
  ~WinsockFetcher() override;

  // The window that receives the socket messages and the timeout timer
  // (`timerId`), the status bar and the page file.
  void attach(HWND window, UserInterface* ui, std::string pageFile, UINT_PTR timerId);
  void attach(HWND window, UserInterface* ui, std::string pageFile) {
    attach(window, ui, std::move(pageFile), IDT_FETCH_TIMEOUT);
  }
  // The settings file whose PROXY and PROXYNAME each fetch follows; without
  // one every fetch goes straight to its host.
  void setSettingsFile(std::string path) { settingsFile_ = std::move(path); }

  bool inFlight() const override { return socket_ != INVALID_SOCKET; }
  // The fetch in flight was begun for `listener`.
  bool serves(const FetchListener& listener) const { return inFlight() && listener_ == &listener; }
  using Fetcher::begin;
  FetchBegin begin(const std::string& url, FetchListener& listener, const Validators& validators) override;
  void close() override;
  FetchedPage fetchedPage() const override { return fetched_; }

  // Whether a socket message or a lookup's answer is this fetch's.
  bool ownsSocket(WPARAM wParam) const { return socket_ != INVALID_SOCKET && static_cast<SOCKET>(wParam) == socket_; }
  bool ownsLookup(WPARAM wParam) const { return lookup_ && reinterpret_cast<HANDLE>(wParam) == lookup_; }
  UINT_PTR timerId() const { return timerId_; }

  void onHostLookup(WPARAM wParam, LPARAM lParam);
  void onSocketEvent(WPARAM wParam, LPARAM lParam);
  // WM_TIMER IDT_FETCH_TIMEOUT: no socket event came for the timeout.
  void onTimeout();

  // A fetch with no socket event for this long is closed as timed out, and
  // so is one still going after the cap, however steadily it arrives.
  void setTimeoutMs(UINT ms) { timeoutMs_ = ms; }
  void setCapMs(UINT ms) { capMs_ = ms; }
  // The protocol of the latest TLS session ("TLS 1.3", ...), empty before one.
  const std::string& tlsProtocol() const { return tlsProtocol_; }

 private:
  enum class Stage { kConnecting, kTunnel, kHandshake, kExchange };

  // Connects for one hop; kStarted, or how it failed (nothing shown yet).
  FetchBegin openHop(const RequestTarget& target);
  void dropConnection();
  // Closes the fetch and shows the text in status-bar part 1.
  void closeWithStatus(const std::string& text);
  // An asynchronous failure: closes, shows the text, tells the listener.
  void fail(const std::string& text);
  bool selectEvents();
  bool connectTo(unsigned long address);
  void connected();
  void startTls();
  // Queues bytes for the server and sends what the socket takes now.
  void queue(const std::string& bytes);
  void flushOutgoing();
  void receiveChunk();
  void received(std::string_view bytes);
  void handshakeBytes();
  void decryptAvailable();
  void responseBytes(std::string_view bytes);
  // The final head has come: false when it ended this hop (a redirect
  // followed, a proxy's refusal).
  bool headEnded();
  void followRedirect(const RequestTarget& next);
  void serverClosed();
  void finish();
  void writePage(std::string_view bytes);
  void touchTimeout();
  // The fetch (or hop) that `serial` named is still the one in flight.
  bool still(unsigned serial) const { return serial == serial_ && inFlight(); }

  HWND window_ = nullptr;
  UserInterface* ui_ = nullptr;
  FetchListener* listener_ = nullptr;
  std::string pageFile_, settingsFile_;
  SOCKET socket_ = INVALID_SOCKET;
  HANDLE lookup_ = nullptr;
  alignas(hostent) char hostEntry_[MAXGETHOSTSTRUCT] = {};
  UINT_PTR timerId_ = IDT_FETCH_TIMEOUT;
  UINT timeoutMs_ = 30000;
  UINT capMs_ = 120000;
  ULONGLONG startedAt_ = 0;  // GetTickCount64 at begin
  unsigned serial_ = 0;

  // The hop in flight.
  RequestTarget target_;
  std::optional<ProxyEndpoint> proxy_;
  bool tunnel_ = false;
  bool automaticIgnored_ = false;  // the system's automatic proxy set up was passed over
  int connectPort_ = 80;
  Stage stage_ = Stage::kConnecting;
  std::string request_, outgoing_, tlsIn_;
  Validators validators_;
  ResponseDecoder response_;
  ResponseCheck tunnelReply_;
  TlsChannel tls_;

  RedirectTrail trail_;
  FetchedPage fetched_;
  std::string tlsProtocol_;
};

}  // namespace ls
