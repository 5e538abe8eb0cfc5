#include "common/file_snapshot.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "common/file_io.h"

namespace ls {

namespace {

namespace fs = std::filesystem;

// The coarsest write-time granularity of the file systems the program meets.
constexpr std::chrono::seconds kMargin{2};

struct Stamp {
  bool ok = false;
  std::uint64_t size = 0;
  std::int64_t writeTime = 0;  // in the file clock's own ticks
  bool settled = false;        // older than the margin, as seen now
};

Stamp stampOf(const std::string& path) {
  Stamp s;
  std::error_code ec;
  fs::path p = toFsPath(path);
  auto size = fs::file_size(p, ec);
  if (ec) return s;
  auto written = fs::last_write_time(p, ec);
  if (ec) return s;
  s.ok = true;
  s.size = static_cast<std::uint64_t>(size);
  s.writeTime = static_cast<std::int64_t>(written.time_since_epoch().count());
  // A write time in the future (a clock set back) is never settled.
  s.settled = written + kMargin < fs::file_time_type::clock::now();
  return s;
}

}  // namespace

bool FileSnapshot::refresh(const std::string& path) {
  if (path != path_) {
    path_ = path;
    known_ = false;
    readable_ = false;
    bytes_.clear();
  }
  Stamp s = stampOf(path_);
  if (known_ && s.ok && settled_ && s.size == size_ && s.writeTime == writeTime_) return false;
  bool wasReadable = readable_;
  std::optional<std::string> now = s.ok ? readWholeFile(path_) : std::nullopt;
  known_ = true;
  size_ = s.size;
  writeTime_ = s.writeTime;
  settled_ = s.settled;
  if (!now) {
    // Unreadable: nothing is kept, and the next refresh tries again.
    known_ = false;
    readable_ = false;
    bytes_.clear();
    return wasReadable;
  }
  readable_ = true;
  if (wasReadable && *now == bytes_) return false;
  bytes_ = std::move(*now);
  return true;
}

}  // namespace ls
