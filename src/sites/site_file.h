// The site file "site.ck" (and importable *.ck files): four lines per site,
// name, URL, extraction strings and check marker, in the order the sites are
// watched. No header and no count; an empty file is an empty list. A site is
// identified by its position (record 1 is the first).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ls {

inline constexpr const char* kSiteFileName = "site.ck";

struct Site {
  std::string name;
  std::string url;
  std::string extract;  // extraction strings, one comma-separated text
  bool checked = false;
};

// Bytes of each line that a reader keeps. A longer line is still read whole
// and cut to its first bytes at a character boundary, so a record always
// stays four lines.
struct SiteLimits {
  std::size_t name;
  std::size_t url;
  std::size_t extract;
  std::size_t marker;
};

// Record lookup of the check cycle and of the end of a fetch.
inline constexpr SiteLimits kCheckLimits{98, 498, 498, 8};
// The settings dialog when it loads its list.
inline constexpr SiteLimits kSettingsLoadLimits{498, 498, 498, 498};
// The log switcher, which keeps only the names.
inline constexpr SiteLimits kLogSwitcherLimits{998, 998, 998, 998};
// Import of a *.ck file. Its extraction strings take 498 bytes like the
// check cycle's: a shorter limit would cut a working site's strings.
inline constexpr SiteLimits kImportLimits{98, 498, 498, 8};

// What the writer keeps of each field, so that every reader takes every
// field of a written file whole.
inline constexpr std::size_t kSiteNameWriteBytes = 98;
inline constexpr std::size_t kSiteUrlWriteBytes = 498;
inline constexpr std::size_t kSiteExtractWriteBytes = 498;

inline constexpr const char* kCheckMarker = "CHECK";
inline constexpr const char* kNoCheckMarker = "NOCHK";

// A site is checked exactly when its marker line holds "CHECK" (case
// matters): "NOCHK", "nochk", "check" and an empty line are not checked.
bool isCheckedMarker(std::string_view marker);

// A failure to open the file is told apart from an absent record: a check
// cycle that cannot open the site file must end the program.
enum class SiteFileStatus { kOk, kCannotOpen };

struct SiteLookup {
  SiteFileStatus status = SiteFileStatus::kOk;
  std::optional<Site> site;  // nothing when the file has fewer than k records
};

// Record k (counting from 1), read from the start of the file with the
// check-cycle limits.
SiteLookup readSiteRecord(std::string_view path, int k);

struct RecordAfter {
  SiteFileStatus status = SiteFileStatus::kOk;
  bool exists = false;
};

// Whether one more line follows records 1 to k (k = 0: whether the file
// holds any record).
RecordAfter hasRecordAfter(std::string_view path, int k);

struct SiteList {
  SiteFileStatus status = SiteFileStatus::kOk;
  std::vector<Site> sites;
};

SiteList readAllSites(std::string_view path, const SiteLimits& limits);

// The records of a site file's bytes, read as readAllSites reads the file.
std::vector<Site> parseSites(std::string_view bytes, const SiteLimits& limits);

// The file text for `sites`: name cut to 98 bytes, URL and extraction strings
// to 498, marker "CHECK" or "NOCHK", every line ending in CR LF. A line break
// inside a field would split the record, so CR and LF bytes are left out.
std::string siteFileText(const std::vector<Site>& sites);

// Writes siteFileText(sites) over the file by temp-and-rename. On failure the
// old file is kept and false returned.
bool writeAllSites(std::string_view path, const std::vector<Site>& sites);

}  // namespace ls
