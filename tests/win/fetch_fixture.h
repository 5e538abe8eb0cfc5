// The real fetcher on a message-only window, with the status bar and the
// listener in memory: begin a fetch, pump messages until it ends, read the
// page file.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/fetch_texts.h"
#include "shell/fetch/fetch_win.h"
#include "shell/resources/resource_ids.h"
#include "win_test_support.h"

namespace lstest {

struct RecordingUi : ls::UserInterface {
  std::string status[2];
  std::vector<std::string> messages;
  void setStatus(int part, const std::string& text) override { status[part] = text; }
  void message(const std::string& text) override { messages.push_back(text); }
};

struct Outcome : ls::FetchListener {
  int received = 0;
  std::vector<std::string> failures;
  void fetchReceived() override { ++received; }
  void fetchFailed(const std::string& text) override { failures.push_back(text); }
  bool ended() const { return received > 0 || !failures.empty(); }
};

class FetchHarness : public ::testing::Test {
 protected:
  static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
  void SetUp() override;
  void TearDown() override;

  // Fetches `url` and waits for the end; returns false on no end in time.
  bool fetch(const std::string& url, DWORD timeoutMs = 20000);
  std::string page() const { return fileBytes(pageFile_); }

  static FetchHarness* current_;
  WinTempDir dir_;
  HWND window_ = nullptr;
  RecordingUi ui_;
  Outcome outcome_;
  ls::WinsockFetcher fetcher_;
  std::string pageFile_;
  // The close arriving while the whole body is still buffered: the drain at
  // FD_CLOSE must read all of it.
  bool closeAtFirstRead_ = false;
};

}  // namespace lstest
