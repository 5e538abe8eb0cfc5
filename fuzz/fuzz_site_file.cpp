// Fuzzes the site file readers: any file bytes read with every reader's
// limits, record by record and all at once, then written out and read back.
// Every field keeps its reader's limit at a character boundary, the record
// lookup agrees with the whole-list reader, and a written list reads back
// exactly as the writer says it keeps it.
//
// Input: the site file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "common/file_io.h"
#include "common/file_text.h"
#include "common/text.h"
#include "sites/site_file.h"
#include "fuzz_input.h"

namespace {

using fuzzing::check;
using fuzzing::takeField;

std::string tempFile(const char* name) {
  auto dir = std::filesystem::temp_directory_path() / ("linkscout-fuzz-sites-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

bool fits(const std::string& field, std::size_t limit) {
  return field.size() <= limit && ls::cutLength(field, limit) == field.size();
}

// What the writer keeps of a field: no CR or LF, then cut.
std::string kept(const std::string& field, std::size_t limit) {
  std::string line;
  for (char c : field)
    if (c != '\r' && c != '\n') line += c;
  return std::string(ls::cutToBytes(line, limit));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = tempFile("site.ck");
  static const std::string copy = tempFile("copy.ck");
  ls::rewriteFile(path, std::string(reinterpret_cast<const char*>(data), size));

  for (const ls::SiteLimits& limits :
       {ls::kCheckLimits, ls::kSettingsLoadLimits, ls::kLogSwitcherLimits, ls::kImportLimits}) {
    ls::SiteList list = ls::readAllSites(path, limits);
    check(list.status == ls::SiteFileStatus::kOk);
    for (const ls::Site& site : list.sites) {
      check(fits(site.name, limits.name) && fits(site.url, limits.url) && fits(site.extract, limits.extract));
    }
  }

  // Record k as the check cycle reads it is entry k of the whole list.
  const std::vector<ls::Site> sites = ls::readAllSites(path, ls::kCheckLimits).sites;
  const int count = static_cast<int>(sites.size());
  for (int k = 0; k <= count + 1 && k <= 64; ++k) {
    ls::SiteLookup record = ls::readSiteRecord(path, k);
    check(record.status == ls::SiteFileStatus::kOk);
    check(record.site.has_value() == (k >= 1 && k <= count));
    if (record.site) {
      const ls::Site& s = sites[static_cast<std::size_t>(k - 1)];
      check(record.site->name == s.name && record.site->url == s.url && record.site->extract == s.extract &&
            record.site->checked == s.checked);
    }
    check(ls::hasRecordAfter(path, k).exists == (k < count));
  }

  // Write all, read all: every field as the writer keeps it, each reader's
  // limits taking it whole.
  const std::vector<ls::Site> loaded = ls::readAllSites(path, ls::kLogSwitcherLimits).sites;
  check(ls::writeAllSites(copy, loaded));
  // The program writes Shift_JIS texts; a file of bytes that are none, or
  // one that begins with a UTF-8 mark, may read as UTF-8 once written (the
  // reader takes an editor's UTF-8 files).
  const std::string written = ls::siteFileText(loaded);
  if (ls::fileTextToSjis(written) != written) return 0;
  for (const ls::SiteLimits& limits : {ls::kCheckLimits, ls::kSettingsLoadLimits, ls::kImportLimits}) {
    std::vector<ls::Site> back = ls::readAllSites(copy, limits).sites;
    check(back.size() == loaded.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
      check(back[i].name == kept(loaded[i].name, ls::kSiteNameWriteBytes));
      check(back[i].url == kept(loaded[i].url, ls::kSiteUrlWriteBytes));
      check(back[i].extract == kept(loaded[i].extract, ls::kSiteExtractWriteBytes));
      check(back[i].checked == loaded[i].checked);
    }
  }
  check(ls::readWholeFile(copy).value_or("") == ls::siteFileText(loaded));
  return 0;
}
