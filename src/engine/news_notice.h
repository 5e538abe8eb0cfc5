// The text of the notification a check shows when it found news: how many
// new headlines, the newest three with their sites, and the failure the
// status bar keeps for the check's end, if any. Windows shows at most 63
// characters of a title and 255 of a text, so both are cut to that many
// characters (each Shift_JIS character is one UTF-16 unit).
#pragma once

#include <string>
#include <vector>

namespace ls {

struct NoticeRow {
  std::string headline, site;
};

struct NewsNotice {
  std::string title, text;  // Shift_JIS
};

inline constexpr std::size_t kNoticeTitleChars = 63;
inline constexpr std::size_t kNoticeTextChars = 255;
// A headline in the notice is cut to this many characters and ends in "…".
inline constexpr std::size_t kNoticeHeadlineChars = 60;

// The new rows of one check: how many, and the newest three (newest first).
struct NewsTally {
  int count = 0;
  std::vector<NoticeRow> newest;
  // A row put at the top of the news list.
  void add(const std::string& headline, const std::string& site);
};

// `count` new headlines, `newest` the top rows of the list (newest first;
// more than three are not shown); `failedSite` and `failedText` what the
// status bar shows at the check's end (empty: nothing failed).
NewsNotice makeNewsNotice(int count, const std::vector<NoticeRow>& newest, const std::string& failedSite,
                          const std::string& failedText);

// `text` cut to at most `chars` Shift_JIS characters; a cut text ends in "…"
// within that count.
std::string cutToChars(const std::string& text, std::size_t chars);

}  // namespace ls
