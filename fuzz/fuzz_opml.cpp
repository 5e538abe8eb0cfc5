// Fuzzes the OPML reader: any file bytes, in any encoding. A file that reads
// gives sites whose fields fit the import limits; written out again and read
// back they come back the same (where their texts survive a trip through
// UTF-8); merged into a list they never repeat a URL or a name.
//
// Input: the OPML file's bytes.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "common/cp932.h"
#include "common/text.h"
#include "fuzz_input.h"
#include "engine/opml_file.h"

namespace {

using fuzzing::check;

bool fits(const std::string& field, std::size_t limit) {
  return field.size() <= limit && ls::cutLength(field, limit) == field.size();
}

// A text the writer's UTF-8 gives back byte for byte, with no control
// character that a reader turns into a blank.
bool survivesUtf8(const std::string& sjis) {
  for (char c : sjis)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  return ls::utf8ToCp932(ls::cp932ToUtf8(sjis)) == sjis;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ls::OpmlRead read = ls::readOpml(bytes);
  if (!read.ok) {
    check(read.sites.empty());
    return 0;
  }
  for (const ls::Site& s : read.sites) {
    check(!s.name.empty() && !s.url.empty() && !s.extract.empty());
    check(fits(s.name, ls::kImportLimits.name) && fits(s.url, ls::kImportLimits.url) &&
          fits(s.extract, ls::kImportLimits.extract));
  }

  const ls::OpmlRead back = ls::readOpml(ls::writeOpml(read.sites));
  check(back.ok);
  check(back.sites.size() <= read.sites.size());
  bool clean = true;
  for (const ls::Site& s : read.sites)
    clean = clean && survivesUtf8(s.name) && survivesUtf8(s.url) && survivesUtf8(s.extract) &&
            ls::trimBlanks(s.url) == s.url;
  if (clean) {
    check(back.sites.size() == read.sites.size());
    for (std::size_t i = 0; i < back.sites.size(); ++i) {
      check(back.sites[i].url == read.sites[i].url && back.sites[i].extract == read.sites[i].extract);
      check(back.sites[i].checked == read.sites[i].checked);
    }
  }

  std::vector<ls::Site> rows = {{"News", "http://a/rss", "http", true}};
  const int added = ls::importOpmlSites(rows, read.sites);
  check(added >= 0 && rows.size() == 1 + static_cast<std::size_t>(added));
  std::set<std::string> urls, names;
  for (const ls::Site& s : rows) {
    check(urls.insert(s.url).second);
    check(names.insert(s.name).second);
  }
  return 0;
}
