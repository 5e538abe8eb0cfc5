#include "sites/site_file.h"

#include <cstdio>

#include "common/file_io.h"
#include "common/file_text.h"
#include "common/text.h"

namespace ls {

// Reads the next record; false when not one byte of its name line is left.
// Lines missing because the file ends early read as empty. `f` is a FILE*
// or the bytes left of a file read whole.
template <typename Source>
bool readRecord(Source& f, const SiteLimits& limits, Site& site) {
  if (!readLine(f, site.name, limits.name)) return false;
  if (!readLine(f, site.url, limits.url)) site.url.clear();
  if (!readLine(f, site.extract, limits.extract)) site.extract.clear();
  std::string marker;
  if (!readLine(f, marker, limits.marker)) marker.clear();
  site.checked = isCheckedMarker(marker);
  return true;
}

namespace {

void appendField(std::string& out, std::string_view field, std::size_t limit) {
  std::string line;
  line.reserve(field.size());
  for (char c : field)
    if (c != '\r' && c != '\n') line.push_back(c);
  appendLine(out, cutToBytes(line, limit));
}

// The file's text, in Shift_JIS when it was saved as UTF-8.
std::optional<std::string> readSiteText(std::string_view path) {
  std::optional<std::string> bytes = readWholeFile(path);
  if (bytes) *bytes = fileTextToSjis(std::move(*bytes));
  return bytes;
}

// Reads the file and records 1 to k; `read` tells how many came, `rest`
// holds what follows them.
std::optional<std::string> readUpTo(std::string_view path, int k, SiteFileStatus& status, Site& last, int& read,
                                    std::string_view& rest) {
  read = 0;
  std::optional<std::string> text = readSiteText(path);
  if (!text) {
    status = SiteFileStatus::kCannotOpen;
    return text;
  }
  rest = *text;
  while (read < k && readRecord(rest, kCheckLimits, last)) ++read;
  return text;
}

}  // namespace

bool isCheckedMarker(std::string_view marker) { return contains(marker, kCheckMarker); }

SiteLookup readSiteRecord(std::string_view path, int k) {
  SiteLookup result;
  Site site;
  int read = 0;
  std::string_view rest;
  std::optional<std::string> text = readUpTo(path, k, result.status, site, read, rest);
  if (text && k >= 1 && read == k) result.site = std::move(site);
  return result;
}

RecordAfter hasRecordAfter(std::string_view path, int k) {
  RecordAfter result;
  Site skipped;
  int read = 0;
  std::string_view rest;
  std::optional<std::string> text = readUpTo(path, k, result.status, skipped, read, rest);
  if (!text || read < k) return result;
  std::string line;
  result.exists = readLine(rest, line, 0);
  return result;
}

SiteList readAllSites(std::string_view path, const SiteLimits& limits) {
  SiteList result;
  std::optional<std::string> bytes = readWholeFile(path);
  if (!bytes) {
    result.status = SiteFileStatus::kCannotOpen;
    return result;
  }
  result.sites = parseSites(*bytes, limits);
  return result;
}

std::vector<Site> parseSites(std::string_view bytes, const SiteLimits& limits) {
  std::vector<Site> sites;
  Site site;
  const std::string text = fileTextToSjis(std::string(bytes));
  std::string_view rest = text;
  while (readRecord(rest, limits, site)) sites.push_back(site);
  return sites;
}

std::string siteFileText(const std::vector<Site>& sites) {
  std::string out;
  for (const Site& site : sites) {
    appendField(out, site.name, kSiteNameWriteBytes);
    appendField(out, site.url, kSiteUrlWriteBytes);
    appendField(out, site.extract, kSiteExtractWriteBytes);
    appendLine(out, site.checked ? kCheckMarker : kNoCheckMarker);
  }
  return out;
}

bool writeAllSites(std::string_view path, const std::vector<Site>& sites) {
  return rewriteFile(path, siteFileText(sites));
}

}  // namespace ls
