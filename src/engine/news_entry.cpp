#include "engine/news_entry.h"

#include "common/program.h"
#include "common/text.h"
#include "settings/settings_file.h"

namespace ls {

void cleanUrl(std::string& url, std::string_view disregardUrlList) {
  for (std::string_view entry : splitCommaList(disregardUrlList)) removeFirst(url, entry);
  if (contains(url, kHomePageAddress)) url = kHomePageAddress;
}

NewsBatch::NewsBatch(const EngineContext& ctx)
    : ctx_(ctx),
      keywords_(readWordList(ctx.settingsPath, kKEYWORD)),
      disregardUrls_(readWordList(ctx.settingsPath, kDISREGARDURL)),
      listLength_(readListLength(ctx.settingsPath)) {}

void NewsBatch::add(const std::string& headline, std::string& url, const std::string& siteName, int icon) {
  if (containsAny(headline, keywords_)) icon = kIconKeyword;
  NewsList& list = *ctx_.news;
  if (!added_) list.holdPaint();
  list.insertTop(headline, icon);
  cleanUrl(url, disregardUrls_);
  list.setText(0, 1, siteName);
  list.setText(0, 2, url);
  trimNewsList(list, listLength_);
  added_ = true;
}

void NewsBatch::finish() {
  if (added_) ctx_.news->repaint();
  added_ = false;
}

void addNewsEntry(const EngineContext& ctx, const std::string& headline, std::string& url,
                  const std::string& siteName, int icon) {
  NewsBatch batch(ctx);
  batch.add(headline, url, siteName, icon);
}

void trimNewsList(const EngineContext& ctx) { trimNewsList(*ctx.news, readListLength(ctx.settingsPath)); }

void trimNewsList(NewsList& list, int limit) {
  while (list.count() > limit && list.count() > 0) list.deleteRow(list.count() - 1);
}

void ageNewsList(NewsList& list) {
  // Thousands of icons may change: they are painted together.
  list.holdPaint();
  for (int row = 0; row < list.count(); ++row) {
    if (list.icon(row) == kIconNew) list.setIcon(row, kIconOld);
  }
  list.repaint();
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
