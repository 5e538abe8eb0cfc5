// linkscout-scan: the page scan and the wizard's link listing on a saved page
// or feed file, for tuning a site's extraction strings without the window.
//
//   linkscout-scan [--url URL] [--extract STRINGS] [--delete LIST] [--disregard LIST] PAGEFILE
//   linkscout-scan --sites SITEFILE --site N [--settings INIFILE] PAGEFILE
//   linkscout-scan [--url URL] --wizard PAGEFILE
//   linkscout-scan [--url URL] --suggest N,M,... PAGEFILE
//   linkscout-scan --convert PAGEFILE
//
// Output is Shift_JIS, one line feed after each line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "common/cp932.h"
#include "common/text.h"
#include "engine/feed_page.h"
#include "engine/link_extract.h"
#include "engine/page_scan.h"
#include "engine/page_text.h"
#include "engine/site_log.h"
#include "settings/settings_file.h"
#include "sites/site_file.h"
#include "wizard/headline_suggest.h"
#include "wizard/link_listing.h"

namespace {

constexpr const char* kUsage =
    "usage: linkscout-scan [--url URL] [--extract STRINGS] [--delete LIST] [--disregard LIST] PAGEFILE\n"
    "       linkscout-scan --sites SITEFILE --site N [--settings INIFILE] PAGEFILE\n"
    "       linkscout-scan [--url URL] --wizard PAGEFILE\n"
    "       linkscout-scan [--url URL] --suggest N,M,... PAGEFILE\n"
    "       linkscout-scan --convert PAGEFILE\n";

enum class Mode { Scan, Wizard, Suggest, Convert };

// Arguments come in the terminal's encoding: UTF-8 natively, the system
// code page on Windows (Shift_JIS on a Japanese system).
std::string argumentText(const char* arg) {
#ifdef _WIN32
  return arg;
#else
  return ls::utf8ToCp932(arg);
#endif
}

// Read into one buffer of the file's size where the size can be told, so a
// large page is held once and not in a string that doubled its way there.
bool readFile(const char* path, std::string& out) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    long size = std::ftell(f);
    if (size > 0) out.reserve(static_cast<std::size_t>(size));
    std::rewind(f);
  }
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

// A site number as the user typed it: digits only, 1 or more.
int siteNumber(std::string_view text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos) return 0;
  return ls::parseInt(text);
}

// Row numbers of the --wizard listing, from 1, comma-separated; false for
// anything else.
bool rowNumbers(std::string_view text, std::vector<std::size_t>& rows) {
  for (std::string_view entry : ls::splitCommaList(text)) {
    int n = siteNumber(entry);
    if (n < 1) return false;
    rows.push_back(static_cast<std::size_t>(n - 1));
  }
  return !rows.empty();
}

void writeLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  Mode mode = Mode::Scan;
  std::string url = "http://localhost/";
  ls::HeadlineFilters filters;
  std::string extract;
  const char* pageFile = nullptr;
  const char* sitesFile = nullptr;
  const char* settingsFile = nullptr;
  const char* siteArg = nullptr;
  std::vector<std::size_t> ticked;

  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--wizard") {
      mode = Mode::Wizard;
    } else if (a == "--suggest" && hasValue) {
      mode = Mode::Suggest;
      if (!rowNumbers(argv[++i], ticked)) {
        std::fprintf(stderr, "linkscout-scan: --suggest takes row numbers from 1, such as 2,5,9: %s\n", argv[i]);
        return 1;
      }
    } else if (a == "--convert") {
      mode = Mode::Convert;
    } else if (a == "--url" && hasValue) {
      url = argumentText(argv[++i]);
    } else if (a == "--extract" && hasValue) {
      extract = argumentText(argv[++i]);
    } else if (a == "--delete" && hasValue) {
      filters.deleteList = ls::cutToBytes(argumentText(argv[++i]), 499);
    } else if (a == "--disregard" && hasValue) {
      filters.disregardList = ls::cutToBytes(argumentText(argv[++i]), 499);
    } else if (a == "--sites" && hasValue) {
      sitesFile = argv[++i];
    } else if (a == "--site" && hasValue) {
      siteArg = argv[++i];
    } else if (a == "--settings" && hasValue) {
      settingsFile = argv[++i];
    } else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      std::fprintf(stderr, "linkscout-scan: unknown option or missing value: %s\n%s", argv[i], kUsage);
      return 1;
    } else if (pageFile) {
      std::fprintf(stderr, "linkscout-scan: one page file only\n%s", kUsage);
      return 1;
    } else {
      pageFile = argv[i];
    }
  }
  if (!pageFile) {
    std::fputs(kUsage, stderr);
    return 1;
  }

  if ((sitesFile != nullptr) != (siteArg != nullptr) || (settingsFile && !sitesFile)) {
    std::fprintf(stderr, "linkscout-scan: --sites and --site go together (--settings with them)\n%s", kUsage);
    return 1;
  }
  if (sitesFile) {
    // The record as the check cycle reads it, and the filters as the scan
    // reads them from the settings file.
    int k = siteNumber(siteArg);
    if (k < 1) {
      std::fprintf(stderr, "linkscout-scan: --site takes a record number from 1: %s\n", siteArg);
      return 1;
    }
    // The file readers take Shift_JIS paths, as the program holds them.
    ls::SiteLookup record = ls::readSiteRecord(argumentText(sitesFile), k);
    if (record.status == ls::SiteFileStatus::kCannotOpen) {
      std::fprintf(stderr, "linkscout-scan: cannot read %s: %s\n", sitesFile, std::strerror(errno));
      return 2;
    }
    if (!record.site) {
      std::fprintf(stderr, "linkscout-scan: %s has no record %d\n", sitesFile, k);
      return 2;
    }
    url = record.site->url;
    extract = record.site->extract;
    if (settingsFile) {
      const std::string settingsPath = argumentText(settingsFile);
      filters.deleteList = ls::readWordList(settingsPath, ls::kDELETE);
      filters.disregardList = ls::readWordList(settingsPath, ls::kDISREGARD);
    } else {
      filters = ls::HeadlineFilters{};
    }
  }

  std::string bytes;
  if (!readFile(pageFile, bytes)) {
    std::fprintf(stderr, "linkscout-scan: cannot read %s: %s\n", pageFile, std::strerror(errno));
    return 2;
  }

  switch (mode) {
    case Mode::Convert:
      {
        // A feed is read unjoined: its line breaks are blanks in its titles.
        std::string text = bytes;
        if (!ls::feedTextInPlace(text)) text = ls::scanTextOf(bytes);
        std::fwrite(text.data(), 1, text.size(), stdout);
      }
      break;
    case Mode::Wizard:
      for (const ls::ListedLink& row : ls::listPageLinks(bytes, url)) {
        writeLine(row.headline);
        writeLine(row.link);
      }
      break;
    case Mode::Suggest: {
      std::vector<ls::ListedLink> rows = ls::listPageLinks(bytes, url);
      for (std::size_t r : ticked) {
        if (r >= rows.size()) {
          std::fprintf(stderr, "linkscout-scan: the listing has %zu rows, no row %zu\n", rows.size(), r + 1);
          return 2;
        }
      }
      writeLine(ls::suggestHeadlineStrings(rows, ticked));
      break;
    }
    case Mode::Scan: {
      // The page's buffer becomes the text: the page is held once.
      std::string text = std::move(bytes);
      for (const ls::LinkItem& link : ls::pageLinks(text, url, ls::cutToBytes(extract, 498), filters)) {
        writeLine(ls::cutToBytes(link.headline, ls::kLogHeadlineLimit));
        writeLine(ls::cutToBytes(link.url, ls::kLogUrlLimit));
      }
      break;
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
