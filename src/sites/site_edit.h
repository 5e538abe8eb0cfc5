// The rules of editing the site list in the settings dialog: what the edit
// fields may hold, and how an imported site file merges into the list.
#pragma once

#include <string>
#include <vector>

#include "sites/site_file.h"

namespace ls {

// What the operations take from the fields and rows.
inline constexpr std::size_t kEditNameBytes = 99;
inline constexpr std::size_t kEditUrlBytes = 499;
inline constexpr std::size_t kEditExtractBytes = 499;

// What the user is told when one of the fields is empty.
inline constexpr const char* kMsgEmptyField = "入力されてない項目があります。";

// The fields cut to their limits; nothing when one of them is empty.
std::optional<Site> siteFromFields(const std::string& name, const std::string& url, const std::string& extract);

// Merges imported records into `rows` (top row first), as the import does:
// each new record goes to the top, unchecked; a record whose URL and
// extraction strings repeat a row's is skipped; a name that is taken gets
// "_" for every row, met from the bottom up, whose name equals it at that
// moment. The name is cut at a character boundary so that it keeps its
// suffixes and fits in 98 bytes, and it stays unique. Returns how many
// records were added.
int importSites(std::vector<Site>& rows, const std::vector<Site>& records);

}  // namespace ls
