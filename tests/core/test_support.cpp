#include "test_support.h"

#include <atomic>
#include <chrono>
#include <cstdio>

#include "common/cp932.h"
#include "common/file_io.h"
#include "settings/ini_file.h"

namespace ls::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> serial{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::string name = "linkscout-test-" + std::to_string(stamp) + "-" + std::to_string(serial++);
  fsPath_ = fs::temp_directory_path() / name;
  fs::create_directories(fsPath_);
#ifdef _WIN32
  std::wstring w = fsPath_.wstring();
  path_ = utf16ToCp932(std::u16string(w.begin(), w.end()));
#else
  path_ = utf8ToCp932(fsPath_.string());
#endif
  path_ += kPathSep;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(fsPath_, ec);
}

std::string readBytes(const std::string& sjisPath) {
  auto bytes = readWholeFile(sjisPath);
  if (!bytes) throw std::runtime_error("cannot read " + sjisPath);
  return *bytes;
}

void writeBytes(const std::string& sjisPath, const std::string& bytes) {
  FilePtr f = openFile(sjisPath, "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
    throw std::runtime_error("cannot write " + sjisPath);
}

void FakeNewsList::insertRow(int at, const std::string& headline, int icon) {
  FakeRow row;
  row.columns[0] = headline;
  row.icon = icon;
  rows.insert(rows.begin() + at, row);
}

EngineFixture::EngineFixture() {
  ctx.appDir = dir.path();
  ctx.settingsPath = dir.file("LINKSCOUT.ini");
  ctx.news = &news;
  ctx.ui = &ui;
  makeDirectory(dir.file("LOG"));
  makeDirectory(dir.file("TEMPORARY"));
}

void EngineFixture::setSetting(const std::string& key, const std::string& value) {
  if (!writeProfileString(ctx.settingsPath, "SETTING", key, value))
    throw std::runtime_error("cannot write setting " + key);
}

void EngineFixture::writePage(const std::string& bytes) { writeBytes(ctx.pageFile(), bytes); }

}  // namespace ls::test
