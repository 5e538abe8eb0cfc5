// The default site file: the 63 preset news pages that a new installation
// starts with, all unchecked.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ls {

inline constexpr int kPresetSiteCount = 63;

// The presets in list order. Each is one complete site record as it is
// written: site name, URL, extraction strings and marker, each followed by
// "\n". Every marker is "NOCHK" except the second preset's, which is "nochk"
// (it reads as unchecked all the same).
extern const std::array<std::string_view, kPresetSiteCount> kPresetSites;

// The whole default site file: the presets in order, every line ending in
// CR LF like every file the program writes (4 * 63 = 252 lines).
std::string defaultSiteFileText();

// Writes defaultSiteFileText() to `path` by temp-and-rename, replacing a file
// that is there. False when the file cannot be written (a directory of that
// name, a read-only directory); an old file is then left as it was.
bool writeDefaultSiteFile(std::string_view path);

}  // namespace ls
