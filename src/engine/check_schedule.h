// The order of a check that fetches several sites at once: at most
// `parallel` fetches in flight, never two to one host, and every site's
// result handed over in the order of the site file, exactly as a check that
// fetched one site after another would hand them over, however the fetches
// end. The schedule holds no fetch and no file: the caller starts what it
// is told to start, and runs each handed-over result.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ls {

inline constexpr int kParallelDefault = 6;
inline constexpr int kParallelMax = 16;

// PARALLEL as the settings file holds it: 1 to 16, 6 when unreadable.
int parallelOf(std::string_view text);

// "ニュース確認中 123/500": how far a check is.
std::string msgCheckProgress(int done, int total);

class CheckSchedule {
 public:
  using Result = std::function<void()>;

  explicit CheckSchedule(int parallel);

  // A site of the site file (its record number, counting from 1, in the
  // order the check reaches them) that waits for a slot. `log`, when not
  // empty, names the site's log: a site waits while an earlier one of the
  // same log has not been handed over, since both read and write it.
  void offer(int record, std::string host, std::string log = "");
  // The next site to start now: the first one offered whose host has no
  // fetch in flight and whose log no earlier site still holds, while a slot
  // is free; nothing otherwise. It counts as in flight from here.
  std::optional<int> next();
  // A fetch ended; `result` runs once every site offered before it has
  // run its own.
  void ended(int record, Result result);
  // Runs the results whose turn has come, in record order, at most `most`
  // of them (empty ones pass without counting); how many ran.
  int handOver(int most = 1 << 30);
  // The next result's turn has come.
  bool ready() const { return !sites_.empty() && sites_.begin()->second.state == Entry::State::kEnded; }

  int inFlight() const { return inFlight_; }
  // Sites offered and not yet handed over.
  int owed() const { return static_cast<int>(sites_.size()); }

 private:
  struct Entry {
    std::string host, log;
    enum class State { kWaiting, kFetching, kEnded } state = State::kWaiting;
    Result result;
  };

  int parallel_;
  int inFlight_ = 0;
  std::map<int, Entry> sites_;  // by record number
};

}  // namespace ls
