#include "engine/check_schedule.h"

#include "common/text.h"

namespace ls {

int parallelOf(std::string_view text) {
  std::string_view digits = trimBlanks(text);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos || digits.size() > 4)
    return kParallelDefault;
  std::int64_t n = parseLeadingInt(digits);
  if (n < 1) return 1;
  return n > kParallelMax ? kParallelMax : static_cast<int>(n);
}

std::string msgCheckProgress(int done, int total) {
  return "ニュース確認中 " + std::to_string(done) + "/" + std::to_string(total);
}

CheckSchedule::CheckSchedule(int parallel) : parallel_(parallel < 1 ? 1 : parallel) {}

void CheckSchedule::offer(int record, std::string host, std::string log) {
  Entry& e = sites_[record];
  e.host = std::move(host);
  e.log = std::move(log);
  e.state = Entry::State::kWaiting;
}

std::optional<int> CheckSchedule::next() {
  if (inFlight_ >= parallel_) return std::nullopt;
  for (auto& [record, e] : sites_) {
    if (e.state != Entry::State::kWaiting) continue;
    bool busy = false;
    for (const auto& [other, o] : sites_) {
      bool fetching = o.state == Entry::State::kFetching;
      bool logHeld = !e.log.empty() && other < record && o.log == e.log;
      if ((fetching && equalsIgnoreAsciiCase(o.host, e.host)) || logHeld) {
        busy = true;
        break;
      }
    }
    if (busy) continue;
    e.state = Entry::State::kFetching;
    ++inFlight_;
    return record;
  }
  return std::nullopt;
}

void CheckSchedule::ended(int record, Result result) {
  auto it = sites_.find(record);
  if (it == sites_.end() || it->second.state == Entry::State::kEnded) return;
  if (it->second.state == Entry::State::kFetching) --inFlight_;
  it->second.state = Entry::State::kEnded;
  it->second.result = std::move(result);
}

int CheckSchedule::handOver(int most) {
  int ran = 0;
  while (ran < most && ready()) {
    // Taken out first: a result may offer further sites.
    Result result = std::move(sites_.begin()->second.result);
    sites_.erase(sites_.begin());
    // A site with nothing to hand over (not checked) costs no turn.
    if (result) {
      result();
      ++ran;
    }
  }
  return ran;
}

}  // namespace ls
