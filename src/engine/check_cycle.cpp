#include "engine/check_cycle.h"

#include <algorithm>
#include <ctime>

#include "common/file_io.h"
#include "common/text.h"
#include "engine/file_failure.h"
#include "engine/news_entry.h"
#include "engine/page_scan.h"
#include "engine/site_log.h"
#include "engine/new_list.h"
#include "net/url.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "sites/site_file.h"
#include "sites/site_records.h"

namespace ls {

std::int64_t intervalPeriodMs(std::string_view intervalText, std::int64_t maxMs) {
  constexpr std::int64_t kMinute = 60000;
  std::int64_t minutes = parseLeadingInt(intervalText);
  if (minutes < 1) minutes = 1;
  if (minutes > maxMs / kMinute) return maxMs;
  return minutes * kMinute;
}

std::string slotPageFile(const EngineContext& ctx, int slot) {
  if (slot == 0) return ctx.pageFile();
  return joinPath(ctx.appDir, "TEMPORARY", "temp" + std::to_string(slot) + ".html");
}

CheckCycle::CheckCycle(const EngineContext& ctx, CyclePorts ports, ShownLog& shown)
    : ctx_(ctx), ports_(std::move(ports)), shown_(shown), polite_(ctx) {
  // With fetchers of its own the check leaves the first one (the wizard's)
  // and its page file alone while it fetches.
  if (ports_.moreFetchers.empty()) {
    fetchers_.push_back(ports_.fetcher);
    pageFiles_.push_back(ctx_.pageFile());
  }
  for (Fetcher* f : ports_.moreFetchers) {
    fetchers_.push_back(f);
    pageFiles_.push_back(slotPageFile(ctx_, static_cast<int>(pageFiles_.size()) + 1));
  }
  for (std::size_t k = 1; k < fetchers_.size(); ++k) listeners_.push_back(std::make_unique<SlotListener>(*this, static_cast<int>(k)));
  flights_.resize(fetchers_.size());
}

std::int64_t CheckCycle::now() const {
  return ports_.clock ? ports_.clock() : static_cast<std::int64_t>(std::time(nullptr));
}

std::string CheckCycle::siteFilePath() const { return ctx_.appDir + kSiteFileName; }

void CheckCycle::armTimer() { ports_.timer->arm(intervalPeriodMs(intervalText_, kMaxTimerPeriodMs)); }

void CheckCycle::stopTimer() { ports_.timer->stop(); }

void CheckCycle::start() {
  // A message box shown by a step of this cycle (a log that cannot be saved)
  // runs a nested loop, in which the check command can arrive: the cycle
  // that is running goes on instead of a second one starting inside it.
  if (stepping_) return;
  Stepping step(stepping_);
  stopTimer();
  idle_ = false;
  if (!shown_.isNewList()) {
    loadNewList(ctx_);
    shown_.showNewList();
  }
  if (ports_.logSwitcher->isOpen()) ports_.logSwitcher->selectNewListRow();
  if (readSettingFlag(ctx_.settingsPath, kSHOWSTYLE) == 1) ctx_.news->clear();
  newsFound_ = false;
  tally_ = NewsTally{};
  failedSite_.clear();
  failedText_.clear();
  ageNewsList(*ctx_.news);
  if (anyInFlight()) {
    // A check while pages are being fetched stops the cycle.
    abandon();
    if (ports_.fetcher->inFlight()) ports_.fetcher->close();
    cursor_ = 1;
    ctx_.ui->setStatus(0, "");
    ctx_.ui->setStatus(1, "");
    return;
  }
  abandon();
  retired_.reset();
  int wanted = parallelOf(readProfileString(ctx_.settingsPath, kSETTING, kPARALLEL, "6", kHolderBytes));
  parallel_ = std::min<int>(wanted, static_cast<int>(fetchers_.size()));
  schedule_ = std::make_unique<CheckSchedule>(parallel_);
  cursor_ = 1;
  lastOffered_ = false;
  ahead_ = 0;
  done_ = total_ = 0;
  if (parallel_ > 1) {
    for (int k = 1;; ++k) {
      SiteLookup record = sites_.record(siteFilePath(), k);
      if (record.site && record.site->checked) ++total_;
      if (!sites_.recordAfter(siteFilePath(), k).exists) break;
    }
  }
  showProgress();
  pump();
}

void CheckCycle::stop() {
  abandon();
  cursor_ = 0;
}

bool CheckCycle::anyInFlight() const {
  for (const Fetcher* f : fetchers_)
    if (f->inFlight()) return true;
  return ports_.fetcher->inFlight();
}

void CheckCycle::abandon() {
  for (std::size_t k = 0; k < fetchers_.size(); ++k)
    if (flights_[k].record != 0 || fetchers_[k]->inFlight()) fetchers_[k]->close();
  flights_.assign(fetchers_.size(), Flight{});
  // Inside a result (a nested message loop) the schedule is still handing
  // over: it lives on until the next check, and the results left do nothing.
  if (pumping_) {
    retired_ = std::move(schedule_);
  } else {
    schedule_.reset();
  }
  for (int record : waitingPages_) removeFile(waitingPageFile(record));
  waitingPages_.clear();
}

std::string CheckCycle::waitingPageFile(int record) const {
  return joinPath(ctx_.appDir, "TEMPORARY", "wait" + std::to_string(record) + ".html");
}

void CheckCycle::pump() {
  // A step inside a result (a message box's nested loop) leaves the moving
  // on to the pump that runs already.
  if (pumping_) return;
  pumping_ = true;
  bool moved = true;
  // Results handed over in one step: each is a scan and its files.
  constexpr int kResultsPerStep = 2;
  int budget = ports_.later ? kResultsPerStep : 1 << 30;
  while (moved && schedule_) {
    // Results first: with one fetcher its page file is the one they use.
    int ran = schedule_->handOver(budget);
    budget -= ran;
    moved = ran > 0;
    if (!siteFileLost_) offerAhead();
    while (schedule_ && !siteFileLost_) {
      std::optional<int> record = schedule_->next();
      if (!record) break;
      --ahead_;
      startSite(*record);
      moved = true;
    }
    if (siteFileLost_) {
      // The site file could not be read: the cycle ends here.
      abandon();
      noteForCycleEnd("", cannotReadText(ctx_, siteFilePath()));
      pumping_ = false;
      endCycle();
      return;
    }
  }
  pumping_ = false;
  if (ports_.later && schedule_ && schedule_->ready() && !resumeAsked_) {
    resumeAsked_ = true;
    ports_.later();
  }
  if (schedule_ && lastOffered_ && schedule_->owed() == 0) endCycle();
}

void CheckCycle::resume() {
  Stepping step(stepping_);
  resumeAsked_ = false;
  if (schedule_) pump();
}

void CheckCycle::offerAhead() {
  // One record ahead with one slot, so a site's entry is read just before
  // it starts, as it always was; more with more slots, so a free slot finds
  // a site of another host past a run of one host's pages.
  const int window = parallel_ == 1 ? 1 : parallel_ * 8;
  while (!lastOffered_ && ahead_ < window) {
    SiteLookup record = sites_.record(siteFilePath(), cursor_);
    if (record.status == SiteFileStatus::kCannotOpen) {
      siteFileLost_ = true;
      return;
    }
    std::string host, log;
    if (record.site && record.site->checked) {
      std::optional<RequestTarget> target = splitUrl(record.site->url);
      if (target) host = target->host;
      log = record.site->name;
    }
    schedule_->offer(cursor_, host, log);
    ++ahead_;
    RecordAfter next = sites_.recordAfter(siteFilePath(), cursor_);
    if (next.status == SiteFileStatus::kCannotOpen) {
      siteFileLost_ = true;
      return;
    }
    if (next.exists) {
      ++cursor_;
    } else {
      lastOffered_ = true;
      cursor_ = 0;
    }
  }
}

void CheckCycle::startSite(int recordNumber) {
  UserInterface& ui = *ctx_.ui;
  // The entry as the site file holds it now: edits take effect here.
  SiteLookup record = sites_.record(siteFilePath(), recordNumber);
  if (record.status == SiteFileStatus::kCannotOpen) siteFileLost_ = true;
  if (!record.site || !record.site->checked) {
    schedule_->ended(recordNumber, nullptr);
    return;
  }
  Flight flight{recordNumber, *record.site};
  std::string waitNote;
  if (polite_.waiting(flight.site, now(), waitNote)) {
    // The server asked to be left alone until then.
    schedule_->ended(recordNumber, [this, flight, waitNote] {
      if (!schedule_) return;
      ++done_;
      noteForCycleEnd(flight.site.name, waitNote);
    });
    return;
  }
  std::size_t slot = 0;
  while (slot < flights_.size() && (flights_[slot].record != 0 || fetchers_[slot]->inFlight())) ++slot;
  if (slot == flights_.size()) slot = 0;  // cannot happen: the schedule counts the slots
  // Validators go only with a log to compare with: taken before it moves
  // aside. No other site of this log is in flight or waiting for its turn.
  Validators validators = polite_.validatorsFor(flight.site);
  if (!rotateSiteLog(ctx_, flight.site.name)) {
    // Not fetched: its old links would come back as new.
    std::string text = cannotWriteText(ctx_, siteLogPaths(ctx_, flight.site.name).current);
    schedule_->ended(recordNumber, [this, flight, text] {
      if (!schedule_) return;
      ++done_;
      stepFailed(flight.site.name, text);
      showProgress();
    });
    return;
  }
  if (parallel_ == 1) ui.setStatus(0, flight.site.name);
  flights_[slot] = flight;
  FetchListener& listener = slot == 0 ? static_cast<FetchListener&>(*this) : *listeners_[slot - 1];
  FetchBegin begun = fetchers_[slot]->begin(flight.site.url, listener, validators);
  if (begun.state == FetchStart::kStarted) return;  // the cycle goes on when the fetcher reports
  flights_[slot] = Flight{};
  if (begun.state == FetchStart::kNoSocket) {
    // Stopped: the fetcher has shown its message.
    abandon();
    return;
  }
  bool refused = begun.state == FetchStart::kRefused;
  std::string text = refused ? kMsgBadUrl : begun.failure;
  schedule_->ended(recordNumber, [this, flight, refused, text] {
    if (!schedule_) return;
    ++done_;
    if (refused) ctx_.ui->setStatus(1, text);
    noteForCycleEnd(flight.site.name, text);
    showProgress();
  });
}

void CheckCycle::fetchReceived() { slotEnded(0, true, ""); }

void CheckCycle::fetchFailed(const std::string& text) { slotEnded(0, false, text); }

void CheckCycle::slotEnded(int slot, bool received, const std::string& text) {
  Stepping step(stepping_);
  if (idle_ || !schedule_) return;
  Flight flight = flights_[slot];
  if (flight.record == 0) return;
  flights_[slot] = Flight{};
  FetchedPage page = fetchers_[slot]->fetchedPage();
  // The slot's page file is taken by its next fetch: the page waits aside.
  std::string waiting = waitingPageFile(flight.record);
  removeFile(waiting);
  if (renameFile(pageFiles_[slot], waiting)) waitingPages_.insert(flight.record);
  schedule_->ended(flight.record, [this, flight, page, received, text] {
    if (schedule_) handOver(flight, page, received, text);
  });
  pump();
}

void CheckCycle::handOver(const Flight& flight, const FetchedPage& page, bool received, const std::string& text) {
  ++done_;
  const std::string waiting = waitingPageFile(flight.record);
  if (received) pageFinished(flight.record, flight.site, page, waiting);
  // The page file holds the page of the site handed over last, unless the
  // wizard is receiving its own into it.
  if (waitingPages_.erase(flight.record) > 0) {
    if (!ports_.fetcher->inFlight()) {
      removeFile(ctx_.pageFile());
      renameFile(waiting, ctx_.pageFile());
    }
    removeFile(waiting);
  }
  if (!received) {
    std::int64_t interval = intervalPeriodMs(intervalText_, kMaxTimerPeriodMs) / 1000;
    std::string wait = polite_.failed(flight.site, page, now(), interval);
    noteForCycleEnd(flight.site.name, wait.empty() ? text : text + wait);
  }
  showProgress();
}

void CheckCycle::showProgress() {
  if (parallel_ > 1 && !idle_) ctx_.ui->setStatus(0, msgCheckProgress(done_, std::max(done_, total_)));
}

void CheckCycle::pageFinished(int recordNumber, const Site& fetched, const FetchedPage& page,
                              const std::string& pagePath) {
  // The entry as the site file holds it now; a file shortened meanwhile may
  // no longer hold it.
  SiteLookup record = sites_.record(siteFilePath(), recordNumber);
  if (record.status == SiteFileStatus::kCannotOpen) {
    siteFileLost_ = true;
    return;
  }
  if (!record.site) return;
  const Site& site = *record.site;
  // Relative links are read against the URL that answered, after redirects.
  const std::string& url = page.finalUrl.empty() ? site.url : page.finalUrl;
  std::string failure;
  if (!polite_.answered(fetched, page)) failure = cannotWriteText(ctx_, siteLogPaths(ctx_, site.name).current);
  // A 304: the site log is back as it was, and nothing is new.
  int scanned = page.notModified
                    ? kNoNews
                    : scanPage(ctx_, site.name, site.extract, url, &tally_, &failure, site.url, pagePath);
  if (scanned == kNews) {
    newsFound_ = true;
    newsArrived();
  }
  if (!failure.empty()) stepFailed(site.name, failure);
  // A page without links is reported like a failure; the other sites are
  // still checked.
  if (scanned == kNoLinks) {
    ctx_.ui->setStatus(1, kMsgDetectFailed);
    noteForCycleEnd(site.name, kMsgDetectFailed);
  }
  if (!page.movedTo.empty()) {
    std::string moved = kMsgSiteMoved + page.movedTo;
    ctx_.ui->setStatus(1, moved);
    noteForCycleEnd(site.name, moved);
  }
}

void CheckCycle::noteForCycleEnd(const std::string& site, const std::string& text) {
  failedSite_ = site;
  failedText_ = text;
}

void CheckCycle::stepFailed(const std::string& site, const std::string& text) {
  ctx_.ui->setStatus(1, text);
  noteForCycleEnd(site, text);
}

void CheckCycle::newsArrived() {
  if (saveWaiting_) {
    unsavedNews_ = true;
    return;
  }
  saveNow();
}

void CheckCycle::saveNow() {
  unsavedNews_ = false;
  // The list holds the new-list's rows only while it is shown. Rows that
  // could not be saved stay in it and go with the next save.
  if (shown_.isNewList() && !saveNewList(ctx_)) {
    unsavedNews_ = true;
    stepFailed("", cannotWriteText(ctx_, newListPath(ctx_)));
  }
  if (ports_.saveTimer) {
    ports_.saveTimer->arm(kNewListSaveGapMs);
    saveWaiting_ = true;
  }
}

void CheckCycle::saveTimerTicked() {
  if (ports_.saveTimer) ports_.saveTimer->stop();
  saveWaiting_ = false;
  if (unsavedNews_) saveNow();
}

void CheckCycle::announceNews() {
  if (tally_.count == 0 || !ports_.notifier || !readNoticeSetting(ctx_.settingsPath)) return;
  NewsNotice notice = makeNewsNotice(tally_.count, tally_.newest, failedSite_, failedText_);
  ports_.notifier->announce(notice.title, notice.text);
}

void CheckCycle::endCycle() {
  schedule_.reset();
  cursor_ = 0;
  siteFileLost_ = false;
  if (newsFound_ && readSettingFlag(ctx_.settingsPath, kSOUND) == 1) {
    // The sound file lives beside the program; without one there is no
    // sound and no complaint.
    std::string sound = ctx_.appDir + kSoundFileName;
    if (isPlainFile(sound)) ports_.sound->play(sound);
  }
  if (!saveNewList(ctx_)) noteForCycleEnd("", cannotWriteText(ctx_, newListPath(ctx_)));
  if (!polite_.save(siteFilePath())) noteForCycleEnd("", cannotWriteText(ctx_, ctx_.logDir() + kSiteStateFileName));
  // A site that failed in this cycle stays visible until the next one.
  ctx_.ui->setStatus(1, failedText_);
  ctx_.ui->setStatus(0, failedSite_);
  announceNews();
  if (ports_.saveTimer) ports_.saveTimer->stop();
  saveWaiting_ = unsavedNews_ = false;
  idle_ = true;
  if (ports_.logSwitcher->isOpen()) ports_.logSwitcher->rebuild();
  ctx_.ui->paintPending();
  armTimer();
}

}  // namespace ls
