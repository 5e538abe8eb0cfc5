#include "engine/check_cycle.h"

#include <ctime>

#include "common/file_io.h"
#include "common/text.h"
#include "engine/file_failure.h"
#include "engine/news_entry.h"
#include "engine/page_scan.h"
#include "engine/site_log.h"
#include "engine/new_list.h"
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

CheckCycle::CheckCycle(const EngineContext& ctx, CyclePorts ports, ShownLog& shown)
    : ctx_(ctx), ports_(ports), shown_(shown), polite_(ctx) {}

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
  cursor_ = 1;
  newsFound_ = false;
  tally_ = NewsTally{};
  failedSite_.clear();
  failedText_.clear();
  ageNewsList(*ctx_.news);
  processSites();
}

void CheckCycle::processSites() {
  UserInterface& ui = *ctx_.ui;
  for (;;) {
    if (ports_.fetcher->inFlight()) {
      // A check while a page is being fetched stops the cycle.
      ports_.fetcher->close();
      ui.setStatus(0, "");
      ui.setStatus(1, "");
      return;
    }
    SiteLookup record = sites_.record(siteFilePath(), cursor_);
    if (record.status == SiteFileStatus::kCannotOpen) return siteFileFailed();
    ++cursor_;
    std::string waitNote;
    Validators validators;
    const bool checked = record.site && record.site->checked;
    // Validators go only with a log to compare with: taken before it moves aside.
    if (checked && !polite_.waiting(*record.site, now(), waitNote)) validators = polite_.validatorsFor(*record.site);
    if (checked && !waitNote.empty()) {
      // The server asked to be left alone until then.
      noteForCycleEnd(record.site->name, waitNote);
    } else if (checked && !rotateSiteLog(ctx_, record.site->name)) {
      stepFailed(record.site->name, cannotWriteText(ctx_, siteLogPaths(ctx_, record.site->name).current));
    } else if (checked) {
      const Site& site = *record.site;
      ui.setStatus(0, site.name);
      fetchingSite_ = site.name;
      fetching_ = site;
      FetchBegin begun = ports_.fetcher->begin(site.url, *this, validators);
      switch (begun.state) {
        case FetchStart::kStarted:
          return;  // the cycle goes on when the fetcher reports
        case FetchStart::kNoSocket:
          return;  // stopped: the fetcher has shown its message
        case FetchStart::kRefused:
          ui.setStatus(1, kMsgBadUrl);
          noteForCycleEnd(site.name, kMsgBadUrl);
          break;
        case FetchStart::kFailed:
          noteForCycleEnd(site.name, begun.failure);
          break;
      }
    }
    if (!advance()) {
      endCycle();
      return;
    }
  }
}

bool CheckCycle::advance() {
  RecordAfter next = sites_.recordAfter(siteFilePath(), cursor_ - 1);
  if (next.status == SiteFileStatus::kCannotOpen) noteForCycleEnd("", cannotReadText(ctx_, siteFilePath()));
  if (!next.exists || next.status == SiteFileStatus::kCannotOpen) cursor_ = 0;
  return cursor_ != 0;
}

void CheckCycle::siteFileFailed() {
  noteForCycleEnd("", cannotReadText(ctx_, siteFilePath()));
  endCycle();
}

void CheckCycle::stepFailed(const std::string& site, const std::string& text) {
  ctx_.ui->setStatus(1, text);
  noteForCycleEnd(site, text);
}

void CheckCycle::fetchReceived() {
  Stepping step(stepping_);
  pageFinished();
}

void CheckCycle::fetchFailed(const std::string& text) {
  Stepping step(stepping_);
  if (idle_) return;
  std::int64_t interval = intervalPeriodMs(intervalText_, kMaxTimerPeriodMs) / 1000;
  std::string wait = polite_.failed(fetching_, ports_.fetcher->fetchedPage(), now(), interval);
  noteForCycleEnd(fetchingSite_, wait.empty() ? text : text + wait);
  if (advance()) {
    processSites();
  } else {
    endCycle();
  }
}

void CheckCycle::pageFinished() {
  // The cursor moved on before the fetch began: the site just fetched is
  // the one before it. A file shortened meanwhile may no longer hold it.
  SiteLookup record = sites_.record(siteFilePath(), cursor_ - 1);
  if (record.status == SiteFileStatus::kCannotOpen) return siteFileFailed();
  if (record.site) {
    const Site& site = *record.site;
    // Relative links are read against the URL that answered, after redirects.
    FetchedPage page = ports_.fetcher->fetchedPage();
    const std::string& url = page.finalUrl.empty() ? site.url : page.finalUrl;
    std::string failure;
    if (!polite_.answered(fetching_, page)) failure = cannotWriteText(ctx_, siteLogPaths(ctx_, site.name).current);
    // A 304: the site log is back as it was, and nothing is new.
    int scanned = page.notModified ? kNoNews
                                   : scanPage(ctx_, site.name, site.extract, url, &tally_, &failure, site.url);
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
  if (advance()) {
    processSites();
  } else {
    endCycle();
  }
}

void CheckCycle::noteForCycleEnd(const std::string& site, const std::string& text) {
  failedSite_ = site;
  failedText_ = text;
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
