// The check cycle: a chain of message handlers that walks the site file from
// its first record to its last, fetches each checked site, scans its page and
// puts the new headlines at the top of the news list. It holds no list of
// sites of its own: each step looks at the site file as it is then (parsed
// again only when it changed), so edits made between two steps take effect
// at the next one. Up to PARALLEL sites are fetched at once (check_schedule.h),
// but each finished site is handed over in the order of the site file: its
// page waits in a file of its own until every site before it is done.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>
#include <string>
#include <string_view>

#include "engine/check_schedule.h"
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

// The page file of fetch slot `slot`: slot 0 is the program's one page file,
// shared with the wizard; the others receive beside it.
std::string slotPageFile(const EngineContext& ctx, int slot);

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
  // Fetchers besides `fetcher` for a check of several sites at once, each
  // receiving into slotPageFile(1...); without them one site at a time.
  std::vector<Fetcher*> moreFetchers;
  // Has resume() called soon from the message loop. With it a step hands
  // over a few results and leaves the rest to the next step, so the window
  // answers between them (a silent site's end releases hundreds at once);
  // without it every result whose turn has come goes at once.
  std::function<void()> later;
};

class CheckCycle : public FetchListener {
 public:
  CheckCycle(const EngineContext& ctx, CyclePorts ports, ShownLog& shown);

  // A tick of the interval timer or the check command.
  void start();
  // Closes every fetch of a running check (the window closes); what was
  // fetched and not yet handed over is dropped.
  void stop();
  // The call `later` asked for: the next few results.
  void resume();

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
  // The listener of a fetch slot other than 0 (slot 0's is the cycle).
  struct SlotListener : FetchListener {
    SlotListener(CheckCycle& c, int s) : cycle(c), slot(s) {}
    void fetchReceived() override { cycle.slotEnded(slot, true, ""); }
    void fetchFailed(const std::string& text) override { cycle.slotEnded(slot, false, text); }
    CheckCycle& cycle;
    int slot;
  };
  // The site a slot fetches; record 0 when the slot is free.
  struct Flight {
    int record = 0;
    Site site;
  };

  std::string siteFilePath() const;
  std::string waitingPageFile(int record) const;
  // Offers records ahead of the cursor, starts what the schedule allows and
  // hands over what is done, until nothing moves; then ends the cycle when
  // no site is left.
  void pump();
  void offerAhead();
  void startSite(int record);
  void slotEnded(int slot, bool received, const std::string& text);
  // A site's turn has come: its page goes to the page file, then as one
  // fetch after another would have taken it.
  void handOver(const Flight& flight, const FetchedPage& page, bool received, const std::string& text);
  void pageFinished(int record, const Site& fetched, const FetchedPage& page, const std::string& pagePath);
  // Closes every fetch and forgets the check's pending results.
  void abandon();
  bool anyInFlight() const;
  void showProgress();
  void endCycle();
  void noteForCycleEnd(const std::string& site, const std::string& text);
  // A step that failed on a file: told now and kept for the cycle's end.
  void stepFailed(const std::string& site, const std::string& text);
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
  PoliteCheck polite_;
  std::vector<Fetcher*> fetchers_;  // slot 0 first
  std::vector<std::unique_ptr<SlotListener>> listeners_;
  std::vector<Flight> flights_;  // by slot
  std::vector<std::string> pageFiles_;  // by slot
  std::unique_ptr<CheckSchedule> schedule_, retired_;
  std::set<int> waitingPages_;  // records whose page waits for its turn
  int parallel_ = 1;
  int ahead_ = 0;  // records offered and not yet started
  bool lastOffered_ = false;  // the cursor passed the site file's last record
  bool pumping_ = false;
  bool resumeAsked_ = false;
  bool siteFileLost_ = false;  // the site file could not be read: the cycle ends
  int done_ = 0, total_ = 0;  // checked sites handed over, and in the file
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
