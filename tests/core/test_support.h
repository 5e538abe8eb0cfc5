// Shared pieces of the core tests: a fresh temporary directory, in-memory
// fakes of the ports, and file helpers.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/cycle_ports.h"
#include "engine/engine_context.h"
#include "engine/ports.h"

namespace ls::test {

// A directory of its own under the system's temporary directory, removed
// when the test ends. path() is a Shift_JIS path ending in a separator.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + name; }

 private:
  std::filesystem::path fsPath_;
  std::string path_;
};

std::string readBytes(const std::string& sjisPath);
void writeBytes(const std::string& sjisPath, const std::string& bytes);

struct FakeRow {
  std::string columns[3];
  int icon = 0;
};

class FakeNewsList : public NewsList {
 public:
  std::vector<FakeRow> rows;
  int repaints = 0;

  int count() const override { return static_cast<int>(rows.size()); }
  void insertRow(int row, const std::string& headline, int icon) override;
  void setText(int row, int column, const std::string& text) override { rows.at(row).columns[column] = text; }
  std::string text(int row, int column) const override { return rows.at(row).columns[column]; }
  int icon(int row) const override { return rows.at(row).icon; }
  void setIcon(int row, int icon) override { rows.at(row).icon = icon; }
  void deleteRow(int row) override { rows.erase(rows.begin() + row); }
  void clear() override { rows.clear(); }
  void repaint() override { ++repaints; }
};

class FakeUi : public UserInterface {
 public:
  std::string status[2];
  std::vector<std::string> messages;

  void setStatus(int part, const std::string& text) override { status[part] = text; }
  void message(const std::string& text) override { messages.push_back(text); }
};

// A timer and a sound for tests that look at neither.
struct NoTimer : IntervalTimer {
  void arm(std::int64_t) override {}
  void stop() override {}
};
struct NoSound : SoundPlayer {
  void play(const std::string&) override {}
};

// An application directory with LOG and TEMPORARY and a settings file,
// wired to the fakes.
struct EngineFixture {
  TempDir dir;
  FakeNewsList news;
  FakeUi ui;
  EngineContext ctx;

  EngineFixture();
  void setSetting(const std::string& key, const std::string& value);
  void writePage(const std::string& bytes);
};

}  // namespace ls::test
