// Fuzzes the site logs and the detection of new links: any bytes left in a
// site log and in the previous site log. The detection must take as new
// exactly the headlines that no previous headline contains, in log order,
// log them to the all-links log, and report whether it found any; a
// rotation must then make the site log the previous one.
//
// Input: two bytes giving the previous log's length, the previous log, then
// the site log.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>
#include <unistd.h>

#include "common/file_io.h"
#include "engine/engine_context.h"
#include "engine/site_log.h"
#include "fuzz_input.h"

namespace {

using fuzzing::check;
using fuzzing::takeField;

class MemoryList : public ls::NewsList {
 public:
  int count() const override { return static_cast<int>(rows_.size()); }
  void insertRow(int row, const std::string& h, int) override { rows_.insert(rows_.begin() + row, h); }
  void setText(int, int, const std::string&) override {}
  std::string text(int row, int) const override { return rows_[static_cast<std::size_t>(row)]; }
  int icon(int) const override { return 0; }
  void setIcon(int, int) override {}
  void deleteRow(int row) override { rows_.erase(rows_.begin() + row); }
  void clear() override { rows_.clear(); }
  void repaint() override {}
  std::size_t inserted = 0;

 private:
  std::vector<std::string> rows_;
};

class QuietUi : public ls::UserInterface {
 public:
  void setStatus(int, const std::string&) override {}
  void message(const std::string&) override { ++messages; }
  int messages = 0;
};

// The headline lines of a log as its reader takes them.
std::vector<std::string> headlines(const std::string& path) {
  std::vector<std::string> out;
  ls::FilePtr f = ls::openFile(path, "rb");
  if (!f) return out;
  std::string headline, url;
  while (ls::readLine(f.get(), headline, ls::kLogHeadlineLimit)) {
    ls::readLine(f.get(), url, ls::kLogUrlLimit);
    out.push_back(headline);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::size_t previousSize = std::min<std::size_t>(size - 2, data[0] | data[1] << 8);
  const std::string previousBytes(reinterpret_cast<const char*>(data) + 2, previousSize);
  const std::string currentBytes(reinterpret_cast<const char*>(data) + 2 + previousSize, size - 2 - previousSize);

  static const std::string appDir = [] {
    auto dir = std::filesystem::temp_directory_path() / ("linkscout-fuzz-log-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "LOG");
    return dir.string() + "/";
  }();
  MemoryList list;
  QuietUi ui;
  ls::EngineContext ctx;
  ctx.appDir = appDir;
  ctx.settingsPath = appDir + "missing.ini";
  ctx.news = &list;
  ctx.ui = &ui;
  const ls::SiteLogPaths p = ls::siteLogPaths(ctx, "site");
  ls::rewriteFile(p.previous, previousBytes);
  ls::rewriteFile(p.current, currentBytes);
  ls::removeFile(p.all);

  // What the detection must find: headlines no previous headline contains
  // (an empty previous log makes everything new).
  const std::vector<std::string> previous = headlines(p.previous);
  std::vector<std::string> expected;
  for (const std::string& h : headlines(p.current)) {
    bool seen = false;
    for (const std::string& old : previous) seen = seen || old.find(h) != std::string::npos;
    if (!seen) expected.push_back(h);
  }

  int result = ls::detectNewLinks(ctx, "site", 0);
  check(result == (expected.empty() ? 0 : 1));
  check(ui.messages == 0);
  check(headlines(p.all) == expected);
  // The list shows the newest at the top, at most its default 500 rows.
  const std::size_t shown = std::min<std::size_t>(expected.size(), 500);
  check(static_cast<std::size_t>(list.count()) == shown);
  for (std::size_t row = 0; row < shown; ++row)
    check(list.text(static_cast<int>(row), 0) == expected[expected.size() - 1 - row]);

  ls::rotateSiteLog(ctx, "site");
  check(!ls::isPlainFile(p.current));
  check(ls::readWholeFile(p.previous).value_or("<missing>") == currentBytes);
  return 0;
}
