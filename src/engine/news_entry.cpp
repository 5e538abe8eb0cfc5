#include "engine/news_entry.h"

#include "common/program.h"
#include "common/text.h"
#include "settings/ini_file.h"

namespace ls {

namespace {
constexpr std::size_t kListSettingLimit = 499;
}

void cleanUrl(std::string& url, std::string_view disregardUrlList) {
  for (std::string_view entry : splitCommaList(disregardUrlList)) removeFirst(url, entry);
  if (contains(url, kHomePageAddress)) url = kHomePageAddress;
}

void addNewsEntry(const EngineContext& ctx, const std::string& headline, std::string& url,
                  const std::string& siteName, int icon) {
  std::string keywords = readProfileString(ctx.settingsPath, "SETTING", "KEYWORD", "", kListSettingLimit);
  if (containsAny(headline, keywords)) icon = kIconKeyword;
  NewsList& list = *ctx.news;
  list.insertTop(headline, icon);
  cleanUrl(url, readProfileString(ctx.settingsPath, "SETTING", "DISREGARDURL", "", kListSettingLimit));
  list.setText(0, 1, siteName);
  list.setText(0, 2, url);
  trimNewsList(ctx);
  list.repaint();
}

void trimNewsList(const EngineContext& ctx) {
  int limit = readProfileInt(ctx.settingsPath, "SETTING", "LIST", 500);
  NewsList& list = *ctx.news;
  while (list.count() > limit && list.count() > 0) list.deleteRow(list.count() - 1);
}

}  // namespace ls
