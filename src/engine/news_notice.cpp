#include "engine/news_notice.h"

#include "common/text.h"

namespace ls {

namespace {

constexpr const char* kEllipsis = "…";
constexpr std::size_t kShownRows = 3;

// The byte length of the first `chars` characters of `text` (all of it when shorter).
std::size_t bytesOfChars(const std::string& text, std::size_t chars) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < chars && at < text.size(); ++n)
    at += isSjisLead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
  return at;
}

}  // namespace

std::string cutToChars(const std::string& text, std::size_t chars) {
  if (chars == 0) return std::string();
  if (bytesOfChars(text, chars) >= text.size()) return text;
  return text.substr(0, bytesOfChars(text, chars - 1)) + kEllipsis;
}

void NewsTally::add(const std::string& headline, const std::string& site) {
  ++count;
  newest.insert(newest.begin(), NoticeRow{headline, site});
  if (newest.size() > kShownRows) newest.pop_back();
}

NewsNotice makeNewsNotice(int count, const std::vector<NoticeRow>& newest, const std::string& failedSite,
                          const std::string& failedText) {
  NewsNotice notice;
  notice.title = cutToChars("新着ニュース " + std::to_string(count) + "件", kNoticeTitleChars);
  std::string text;
  std::size_t shown = 0;
  for (const NoticeRow& row : newest) {
    if (shown == kShownRows) break;
    if (!text.empty()) text += "\n";
    text += "【" + row.site + "】" + cutToChars(row.headline, kNoticeHeadlineChars);
    ++shown;
  }
  if (count > static_cast<int>(shown)) text += "\nほか " + std::to_string(count - static_cast<int>(shown)) + "件";
  if (!failedText.empty()) text += "\n※" + failedSite + ": " + failedText;
  notice.text = cutToChars(text, kNoticeTextChars);
  return notice;
}

}  // namespace ls
