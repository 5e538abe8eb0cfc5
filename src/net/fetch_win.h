// The fetcher: one HTTP/1.0 conversation at a time over a non-blocking
// Windows Sockets 1.1 socket, driven by WM_HOSTLOOKUP and WM_SOCKETEVENT on
// the receiving window, never blocking the user-interface thread. Everything
// received goes to the page file.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>

#include "engine/cycle_ports.h"
#include "engine/ports.h"
#include "net/response_check.h"

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

  // The window that receives the socket messages, the status bar, the page
  // file and who hears how a fetch ends.
  void attach(HWND window, UserInterface* ui, std::string pageFile, FetchListener* listener);

  bool inFlight() const override { return socket_ != INVALID_SOCKET; }
  FetchBegin begin(const std::string& url) override;
  void close() override;

  void onHostLookup(WPARAM wParam, LPARAM lParam);
  void onSocketEvent(WPARAM wParam, LPARAM lParam);

  // A fetch with no socket event for this long is closed as timed out.
  void setTimeoutMs(UINT ms) { timeoutMs_ = ms; }

 private:
  static void CALLBACK onTimeout(HWND window, UINT message, UINT_PTR id, DWORD time);
  // Closes the fetch and shows the text in status-bar part 1.
  void closeWithStatus(const char* text);
  // An asynchronous failure: closes, shows the text, tells the listener.
  void fail(const char* text);
  bool selectEvents();
  bool connectTo(unsigned long address);
  void receiveChunk();
  void finish();
  void touchTimeout();

  HWND window_ = nullptr;
  UserInterface* ui_ = nullptr;
  FetchListener* listener_ = nullptr;
  std::string pageFile_;
  SOCKET socket_ = INVALID_SOCKET;
  HANDLE lookup_ = nullptr;
  alignas(hostent) char hostEntry_[MAXGETHOSTSTRUCT] = {};
  std::string host_, request_;
  int port_ = 80;
  UINT timeoutMs_ = 120000;
  ResponseCheck response_;
};

}  // namespace ls
