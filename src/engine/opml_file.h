// OPML, the subscription list every feed reader imports and exports: read
// into sites, and the site list written as one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sites/site_file.h"

namespace ls {

// The namespace of the attributes that keep what OPML has no word for.
inline constexpr const char* kOpmlNamespace = "urn:linkscout:sites";

inline constexpr const char* kMsgBadOpml = "OPMLファイルとして読めません。\n何も追加していません。";

struct OpmlRead {
  bool ok = false;          // false: not OPML, or broken; `sites` is empty then
  std::vector<Site> sites;  // in file order, all unchecked unless the file says otherwise
};

// Reads an OPML file's bytes in any encoding its XML declaration or byte-
// order mark names (UTF-8, UTF-16, Shift_JIS, EUC-JP, ISO-2022-JP); texts
// come out in Shift_JIS. Every <outline> at any depth with an xmlUrl is a
// feed: its title (else its text) is the name and "http" the extraction
// strings. An outline with this program's own attributes is a site as
// exported: htmlUrl or xmlUrl, its extraction strings and checked state.
// An outline with neither is a folder. Names and URLs are cut to the import
// limits; an outline without a URL or a name is passed over.
// Broken: no <opml> root element, no <body>, an unreadable tag, or an
// element left open at the end.
OpmlRead readOpml(std::string_view bytes);

// The site list as OPML 2.0 in UTF-8: each site an outline with text and
// title; a site whose extraction strings are "http" (what a feed is given)
// as a feed (type="rss", xmlUrl), any other as a page (htmlUrl); the
// extraction strings and checked state in this program's attributes.
std::string writeOpml(const std::vector<Site>& sites);

// Merges OPML sites into `rows` (top row first) as the site file import
// does (each new site at the top, names made unique), except that a site is
// skipped when the list, or an earlier outline, already holds its URL, and
// that an exported site keeps its checked state. Returns how many were added.
int importOpmlSites(std::vector<Site>& rows, const std::vector<Site>& sites);

// True when the file name ends in ".opml" or ".xml" (any letter case).
bool isOpmlFileName(std::string_view name);

}  // namespace ls
