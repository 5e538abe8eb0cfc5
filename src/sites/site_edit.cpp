#include "sites/site_edit.h"

#include "common/text.h"

namespace ls {

namespace {

constexpr std::size_t kImportCompareNameBytes = 99;
constexpr std::size_t kImportCompareExtractBytes = 99;

// The base cut so that base + suffixes fits the site file's 98 bytes.
std::string withSuffixes(const std::string& base, std::size_t suffixes) {
  std::size_t room = suffixes >= kSiteNameWriteBytes ? 0 : kSiteNameWriteBytes - suffixes;
  return std::string(cutToBytes(base, room)) + std::string(suffixes, '_');
}

}  // namespace

std::optional<Site> siteFromFields(const std::string& name, const std::string& url, const std::string& extract) {
  if (name.empty() || url.empty() || extract.empty()) return std::nullopt;
  Site s;
  s.name = std::string(cutToBytes(name, kEditNameBytes));
  s.url = std::string(cutToBytes(url, kEditUrlBytes));
  s.extract = std::string(cutToBytes(extract, kEditExtractBytes));
  return s;
}

int importSites(std::vector<Site>& rows, const std::vector<Site>& records) {
  int added = 0;
  for (const Site& record : records) {
    std::size_t suffixes = 0;
    std::string name = withSuffixes(record.name, 0);
    bool duplicate = false;
    for (std::size_t i = rows.size(); i-- > 0;) {
      const Site& row = rows[i];
      if (name == cutToBytes(row.name, kImportCompareNameBytes)) name = withSuffixes(record.name, ++suffixes);
      if (record.url == cutToBytes(row.url, kEditUrlBytes) &&
          record.extract == cutToBytes(row.extract, kImportCompareExtractBytes)) {
        duplicate = true;
      }
    }
    if (duplicate) continue;
    // A cut name can meet a row above the one that made it longer: go on
    // until no row holds it.
    for (bool clash = true; clash;) {
      clash = false;
      for (const Site& row : rows) {
        if (name == row.name) {
          name = withSuffixes(record.name, ++suffixes);
          clash = true;
          break;
        }
      }
    }
    Site s = record;
    s.name = name;
    s.checked = false;
    rows.insert(rows.begin(), s);
    ++added;
  }
  return added;
}

}  // namespace ls
