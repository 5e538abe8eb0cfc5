#include "engine/news_entry.h"

#include "common/program.h"
#include "common/text.h"
#include "settings/settings_file.h"

namespace ls {

void cleanUrl(std::string& url, std::string_view disregardUrlList) {
  for (std::string_view entry : splitCommaList(disregardUrlList)) removeFirst(url, entry);
  if (contains(url, kHomePageAddress)) url = kHomePageAddress;
}

void addNewsEntry(const EngineContext& ctx, const std::string& headline, std::string& url,
                  const std::string& siteName, int icon) {
  std::string keywords = readWordList(ctx.settingsPath, kKEYWORD);
  if (containsAny(headline, keywords)) icon = kIconKeyword;
  NewsList& list = *ctx.news;
  list.insertTop(headline, icon);
  cleanUrl(url, readWordList(ctx.settingsPath, kDISREGARDURL));
  list.setText(0, 1, siteName);
  list.setText(0, 2, url);
  trimNewsList(ctx);
  list.repaint();
}

void trimNewsList(const EngineContext& ctx) {
  int limit = readListLength(ctx.settingsPath);
  NewsList& list = *ctx.news;
  while (list.count() > limit && list.count() > 0) list.deleteRow(list.count() - 1);
}

void ageNewsList(NewsList& list) {
  for (int row = 0; row < list.count(); ++row) {
    if (list.icon(row) == kIconNew) list.setIcon(row, kIconOld);
  }
}

int openedIcon(int icon) {
  switch (icon) {
    case kIconNew:
    case kIconOld:
      return kIconOpened;
    case kIconKeyword:
      return kIconKeywordOpened;
    default:
      return icon;
  }
}

}  // namespace ls
