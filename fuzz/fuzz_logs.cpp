// Fuzzes the readers of the files the news list is kept in: the new-list
// file and a site's all-links log as the log switcher shows it, with any
// bytes a crash or a hand edit can leave. No crash, no overrun, every text
// within its limit, and what is written back reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "engine/engine_context.h"
#include "engine/site_log.h"
#include "logs/log_switcher.h"
#include "engine/new_list.h"
#include "settings/ini_file.h"
#include "sites/site_file.h"

namespace {

struct Row {
  std::string columns[3];
  int icon = 0;
};

struct MemoryList : ls::NewsList {
  std::vector<Row> rows;
  int count() const override { return static_cast<int>(rows.size()); }
  void insertRow(int at, const std::string& h, int icon) override {
    Row r;
    r.columns[0] = h;
    r.icon = icon;
    rows.insert(rows.begin() + at, r);
  }
  void setText(int row, int column, const std::string& t) override { rows.at(row).columns[column] = t; }
  std::string text(int row, int column) const override { return rows.at(row).columns[column]; }
  int icon(int row) const override { return rows.at(row).icon; }
  void setIcon(int row, int icon) override { rows.at(row).icon = icon; }
  void deleteRow(int row) override { rows.erase(rows.begin() + row); }
  void clear() override { rows.clear(); }
  void repaint() override {}
};

struct QuietUi : ls::UserInterface {
  void setStatus(int, const std::string&) override {}
  void message(const std::string&) override {}
};

bool sameRows(const MemoryList& a, const MemoryList& b) {
  if (a.rows.size() != b.rows.size()) return false;
  for (std::size_t i = 0; i < a.rows.size(); ++i) {
    if (a.rows[i].icon != b.rows[i].icon) return false;
    for (int c = 0; c < 3; ++c)
      if (a.rows[i].columns[c] != b.rows[i].columns[c]) return false;
  }
  return true;
}

std::string appDir() {
  static std::string dir = [] {
    auto p = std::filesystem::temp_directory_path() / ("linkscout-fuzz-logs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p / "LOG");
    std::string d = p.string() + "/";
    ls::writeAllSites(d + ls::kSiteFileName, {ls::Site{"site", "http://h/", "", true}});
    ls::writeProfileString(d + "LINKSCOUT.ini", "SETTING", "LIST", "100000");
    return d;
  }();
  return dir;
}

void put(const std::string& path, const std::uint8_t* data, std::size_t size) {
  ls::FilePtr f = ls::openFile(path, "wb");
  if (f && size) std::fwrite(data, 1, size, f.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryList list;
  QuietUi ui;
  ls::EngineContext ctx;
  ctx.appDir = appDir();
  ctx.settingsPath = ctx.appDir + "LINKSCOUT.ini";
  ctx.news = &list;
  ctx.ui = &ui;

  // The new-list: load, save, load again gives the same rows.
  put(ls::newListPath(ctx), data, size);
  ls::loadNewList(ctx);
  for (const Row& r : list.rows) {
    if (r.columns[0].size() > 999 || r.columns[1].size() > 999 || r.columns[2].size() > 999) std::abort();
  }
  MemoryList first = list;
  ls::saveNewList(ctx);
  ls::loadNewList(ctx);
  MemoryList second = list;
  ls::saveNewList(ctx);
  ls::loadNewList(ctx);
  // The first save may cut over-long headlines; from then on nothing changes.
  if (!sameRows(second, list)) std::abort();
  if (first.rows.size() != second.rows.size()) std::abort();

  // A site's all-links log: show it, write it back, show it again.
  std::string all = ls::siteLogPaths(ctx, "site").all;
  put(all, data, size);
  ls::ShownLog shown;
  std::vector<std::string> rows{"new-list", "site"};
  ls::showLog(ctx, shown, rows, 1, true);
  MemoryList viewed = list;
  ls::showLog(ctx, shown, rows, 1, true);  // writes back, then shows again
  if (!sameRows(viewed, list)) std::abort();
  ls::showLog(ctx, shown, rows, 0, true);
  return 0;
}
