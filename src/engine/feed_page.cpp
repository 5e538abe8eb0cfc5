#include "engine/feed_page.h"

#include <algorithm>
#include <cstring>

#include "common/text.h"
#include "engine/byte_blocks.h"
#include "engine/feed_latin1.h"
#include "engine/feed_reader.h"
#include "engine/headline_removal.h"
#include "engine/page_convert.h"
#include "engine/page_detect.h"
#include "engine/page_text.h"

namespace ls {

namespace {

// A NUL byte would end a site log's line early.
void dropNulBytes(std::string& text) {
  if (std::memchr(text.data(), '\0', text.size()) == nullptr) return;
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
}

}  // namespace

std::optional<FeedKind> feedTextInPlace(std::string& fileBytes) {
  std::optional<ByteOrderMark> mark = findByteOrderMark(fileBytes);
  if (mark && (mark->encoding == PageEncoding::Utf16Le || mark->encoding == PageEncoding::Utf16Be)) {
    // Its markup can only be read once converted; the stored line ends are
    // parts of characters.
    std::string text = convertPageAs(receivedBytes(fileBytes), mark->encoding);
    std::optional<FeedKind> kind = feedKindOfPage(text);
    if (!kind) return std::nullopt;
    fileBytes = std::move(text);
    dropNulBytes(fileBytes);
    return kind;
  }
  std::optional<FeedKind> kind = feedKindOfPage(fileBytes);
  if (!kind) return std::nullopt;
  dropNulBytes(fileBytes);
  if (!mark && declaresWindows1252(fileBytes, detect::bodyStart(fileBytes))) {
    windows1252ToSjisInPlace(fileBytes);
  } else {
    convertPageToSjisInPlace(fileBytes);
  }
  return kind;
}

std::optional<std::vector<LinkItem>> readFeed(std::string& fileBytes, std::string_view pageUrl) {
  std::optional<FeedKind> kind = feedTextInPlace(fileBytes);
  if (!kind) return std::nullopt;
  return readFeedItems(fileBytes, detect::bodyStart(fileBytes), *kind, pageUrl);
}

bool feedItemQualifies(std::string_view headline, std::string_view url, const std::vector<std::string_view>& entries) {
  for (std::string_view entry : entries)
    if (!blocks::containsPart(url, entry) && !blocks::containsPart(headline, entry)) return false;
  return true;
}

void filterFeedItems(std::vector<LinkItem>& items, std::string_view extract, const HeadlineFilters& filters) {
  const std::vector<std::string_view> required = splitCommaList(extract);
  const std::vector<std::string_view> removals = splitCommaList(filters.deleteList);
  const std::vector<std::string_view> ignored = splitCommaList(filters.disregardList);
  if (required.empty() && removals.empty() && ignored.empty()) return;  // most sites set none
  auto disregarded = [&](std::string_view headline) {
    for (std::string_view entry : ignored)
      if (blocks::containsPart(headline, entry)) return true;
    return false;
  };
  std::size_t kept = 0;
  for (LinkItem& item : items) {
    if (!feedItemQualifies(item.headline, item.url, required)) continue;
    for (std::string_view entry : removals) removeAllFrom(item.headline, entry);
    if (disregarded(item.headline)) continue;
    if (&items[kept] != &item) items[kept] = std::move(item);
    ++kept;
  }
  items.resize(kept);
}

}  // namespace ls
