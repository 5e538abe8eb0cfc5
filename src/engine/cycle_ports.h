// What the check cycle needs besides the news list and the user interface:
// the fetcher, the interval timer, the sound and the log switcher. The shell
// implements them over sockets and windows; the tests in memory.
#pragma once

#include <cstdint>
#include <string>

#include "net/validators.h"

namespace ls {

// How beginning a fetch went.
enum class FetchStart {
  kStarted,   // the fetch is in flight; its listener hears how it ends
  kRefused,   // the URL is not one the fetcher takes; nothing was started
  kNoSocket,  // no socket could be made; the fetcher has told the user
  kFailed,    // failed at once after the socket existed; `failure` says why
};

struct FetchBegin {
  FetchStart state = FetchStart::kStarted;
  std::string failure;  // the status text of kFailed
};

// What a fetch found besides the page file.
struct FetchedPage {
  std::string finalUrl;  // whose response the page file holds; empty: the URL begun
  std::string movedTo;   // where the site has moved for good, empty when it has not
  int status = 0;        // of the final response, 0 without one
  // "304 Not Modified" to the validators sent: the page is as it was, and
  // the page file holds no page.
  bool notModified = false;
  Validators validators;   // those the final response carried (a 304 may carry none)
  std::string retryAfter;  // Retry-After of a failed final response, as received
};

// How an asynchronous fetch ends. Called from inside the message handling
// of the socket notifications, after the fetch has been closed.
class FetchListener {
 public:
  virtual ~FetchListener() = default;
  // The server closed the connection; the page file is complete.
  virtual void fetchReceived() = 0;
  // The fetch failed; the text is already in status-bar part 1.
  virtual void fetchFailed(const std::string& text) = 0;
};

// One fetch at a time into the page file.
class Fetcher {
 public:
  virtual ~Fetcher() = default;
  virtual bool inFlight() const = 0;
  // Only `listener` hears how this fetch ends (the cycle or the wizard).
  // The validators, when there are any, make the request conditional.
  virtual FetchBegin begin(const std::string& url, FetchListener& listener, const Validators& validators) = 0;
  FetchBegin begin(const std::string& url, FetchListener& listener) { return begin(url, listener, Validators{}); }
  // Ends the fetch in any state; nothing happens when none is in flight.
  virtual void close() = 0;
  // Of the fetch that last ended (received or failed).
  virtual FetchedPage fetchedPage() const { return {}; }
};

// Timer 102 of the main window.
class IntervalTimer {
 public:
  virtual ~IntervalTimer() = default;
  // Replaces a running timer.
  virtual void arm(std::int64_t periodMs) = 0;
  virtual void stop() = 0;
};

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Plays the file asynchronously, without the system's default sound when
  // it cannot be played.
  virtual void play(const std::string& path) = 0;
};

// Tells the user of the news a check brought, outside the main window.
class NewsNotifier {
 public:
  virtual ~NewsNotifier() = default;
  // Shown unless the user is looking at the main window already.
  virtual void announce(const std::string& title, const std::string& text) = 0;
};

// The log switcher window, when it is open.
class LogSwitcherView {
 public:
  virtual ~LogSwitcherView() = default;
  virtual bool isOpen() const = 0;
  // Gives row 0 (the new-list) the selected and focused states.
  virtual void selectNewListRow() = 0;
  // Builds the list of logs again.
  virtual void rebuild() = 0;
};

// Until the log switcher exists: never open.
class ClosedLogSwitcher : public LogSwitcherView {
 public:
  bool isOpen() const override { return false; }
  void selectNewListRow() override {}
  void rebuild() override {}
};

}  // namespace ls
