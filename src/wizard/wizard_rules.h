// The add-site wizard's rules: its fetch through the program's one fetcher,
// the suggestion of "判別" and what "追加" takes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/cycle_ports.h"
#include "engine/ports.h"
#include "sites/site_file.h"

namespace ls {

inline constexpr const char* kMsgFetchFirst = "URLを入力して[取得]ボタンを押下してください。";
inline constexpr const char* kMsgNoExtract = "抽出文字列を入力してください。";
inline constexpr const char* kMsgListFirst = "先にURLを入力して[取得]ボタンを押下してください。";

// "取得": false for an empty URL. There is one fetcher: a fetch in flight
// (the cycle's or an earlier one) is closed and nothing starts, so a second
// press starts the wizard's own, whose end only `wizard` hears.
bool wizardFetch(Fetcher& fetcher, FetchListener& wizard, UserInterface& ui, const std::string& url);

// "判別" over the links of the ticked rows: with two or more, the strings are
// learnt from them (suggestHeadlineStrings) and kLearn says so.
struct Suggestion {
  enum Kind { kNoRows, kClear, kSet, kLearn } kind;
  std::string extract;  // kSet: the ticked link, at most 498 bytes
};
Suggestion suggestExtract(std::size_t rowCount, const std::vector<std::string>& tickedLinks);

// "追加": the site of the three fields (name 99 bytes, URL and extraction
// strings 499), or nothing when one is empty.
std::optional<Site> wizardSite(const std::string& name, const std::string& url, const std::string& extract);

}  // namespace ls
