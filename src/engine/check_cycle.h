// The check cycle: a chain of message handlers that walks the site file from
// its first record to its last, fetches each checked site, scans its page and
// puts the new headlines at the top of the news list. It holds no list of
// sites of its own: each step looks at the site file as it is then (parsed
// again only when it changed), so edits made between two steps take effect
// at the next one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/cycle_ports.h"
#include "engine/engine_context.h"
#include "engine/news_notice.h"
#include "engine/polite_check.h"
#include "engine/shown_log.h"
#include "sites/site_records.h"

namespace ls {

inline constexpr const char* kSoundFileName = "sound.wav";
// Status text of a site whose URL the fetcher does not take.
inline constexpr const char* kMsgBadUrl = "URLが正しくありません。";
// Status text of a site whose page answered with a permanent redirect,
// followed by the URL to put in its place.
inline constexpr const char* kMsgSiteMoved = "移転しました。新しいURL: ";

// The period of the interval timer for an interval text (minutes, read the
// way atoi reads): below 1 minute counts as 1, and the period never passes
// `maxMs`, the platform's largest timer period.
std::int64_t intervalPeriodMs(std::string_view intervalText, std::int64_t maxMs);

// USER_TIMER_MAXIMUM, the largest period a window timer takes.
inline constexpr std::int64_t kMaxTimerPeriodMs = 0x7FFFFFFF;

// During a cycle the news list is saved at most this often, so a crash or
// a kill loses no more than the last few seconds of news.
inline constexpr std::int64_t kNewListSaveGapMs = 3000;

struct CyclePorts {
  Fetcher* fetcher = nullptr;
  IntervalTimer* timer = nullptr;
  SoundPlayer* sound = nullptr;
  LogSwitcherView* logSwitcher = nullptr;
  // A one-shot timer whose tick calls saveTimerTicked(); without one the
  // news list is saved after every site that brought news.
  IntervalTimer* saveTimer = nullptr;
  // Told at the end of a cycle that brought news, when notices are on.
  NewsNotifier* notifier = nullptr;
  // Seconds since 1970 UTC, for the waits servers ask for; the system's
  // clock when empty.
  std::function<std::int64_t()> clock;
};

class CheckCycle : public FetchListener {
 public:
  CheckCycle(const EngineContext& ctx, CyclePorts ports, ShownLog& shown);

  // A tick of the interval timer or the check command.
  void start();

  // Timer 102 with the period of the interval text; replaces a running timer.
  void armTimer();
  void stopTimer();

  const std::string& intervalText() const { return intervalText_; }
  void setIntervalText(std::string text) { intervalText_ = std::move(text); }

  // 1 while no cycle runs, 0 from a cycle's start until its normal end.
  bool idle() const { return idle_; }
  int siteCursor() const { return cursor_; }
  bool newsFound() const { return newsFound_; }

  // The save timer's tick: news that came since the last save is saved.
  void saveTimerTicked();

  // From the fetcher, for the fetches this cycle began.
  void fetchReceived() override;
  void fetchFailed(const std::string& text) override;

 private:
  std::string siteFilePath() const;
  // Processes sites from the cursor on until a fetch is in flight, the
  // cycle stops or it ends.
  void processSites();
  // Moves past the site just handled; false when no record is left.
  bool advance();
  void pageFinished();
  void endCycle();
  void noteForCycleEnd(const std::string& site, const std::string& text);
  // A step that failed on a file: told now and kept for the cycle's end.
  void stepFailed(const std::string& site, const std::string& text);
  // The site file could not be read: the cycle ends here.
  void siteFileFailed();
  // A site brought news: saved now, or at the save timer's tick when the
  // last save was less than the gap ago.
  void newsArrived();
  void saveNow();
  void announceNews();

  const EngineContext& ctx_;
  CyclePorts ports_;
  ShownLog& shown_;
  SiteRecords sites_;
  std::string intervalText_ = "10";
  int cursor_ = 0;
  bool newsFound_ = false;
  bool idle_ = true;
  bool saveWaiting_ = false;  // the save timer runs: the gap since the last save has not passed
  bool unsavedNews_ = false;
  NewsTally tally_;  // this cycle's new rows, for its notice
  // The last site of this cycle whose fetch failed or that has moved, kept
  // in the status bar at the cycle's end.
  std::string failedSite_, failedText_;
  // The site whose fetch is in flight, for its failure report.
  std::string fetchingSite_;
  Site fetching_;
  PoliteCheck polite_;
  std::int64_t now() const;
  // True while a step runs; nested steps keep it set.
  bool stepping_ = false;
  struct Stepping {
    explicit Stepping(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Stepping() { flag_ = was_; }
    bool& flag_;
    bool was_;
  };
};

}  // namespace ls
