// The log switcher's rules: which logs it lists, and what choosing or
// deleting one does to the news list and the files. The window itself is
// shell code; it passes the rows it shows and the row the user chose.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/engine_context.h"
#include "engine/shown_log.h"

namespace ls {

inline constexpr const char* kMsgLogListFailed = "ログリスト作成失敗";
inline constexpr const char* kMsgLogReadFailed = "ログの読み込みに失敗しました。";
inline constexpr const char* kMsgNewListUndeletable = "新着リストは削除できません。";

// Row 0 is "新着リスト"; then, in site-file order, every site whose
// all-links log exists, by its name as the site file holds it. Nothing when
// the site file cannot be read.
std::optional<std::vector<std::string>> buildLogList(const EngineContext& ctx);

enum class ShowResult {
  kRefused,     // a check cycle runs (or stopped on a failure): nothing changes
  kNewList,     // the new-list is shown
  kSiteLog,     // the site's past headlines are shown
  kNothing,     // no row was chosen: the list keeps its rows
  kReadFailed,  // the site's log could not be read: the list stays empty
};

// The user chose `row` of `rows` (-1: none). The log shown until now is
// written back (a site log) or saved (the new-list) first.
ShowResult showLog(const EngineContext& ctx, ShownLog& shown, const std::vector<std::string>& rows, int row,
                   bool cycleIdle);

// Writes the news list back into the shown site log, oldest pair first,
// after the pairs the view never held. Nothing happens unless a site log is
// shown; a file that cannot be written is left as it was, and the status
// bar names it.
void writeBackShownLog(const EngineContext& ctx, const ShownLog& shown);

enum class DeleteResult { kNothing, kNewListRefused, kDeleted };

// Deletes the chosen site's three log files. When they are the shown log,
// nothing will be written back to them.
DeleteResult deleteLog(const EngineContext& ctx, ShownLog& shown, const std::vector<std::string>& rows, int row);

}  // namespace ls
