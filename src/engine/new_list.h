// The new-list file "LOG\新着リスト.all.log": the whole news list, four
// lines a row (headline, icon index, site name, URL), top row first. It keeps
// the new-list across runs and while a site log is shown.
#pragma once

#include <string>

#include "common/log_name.h"
#include "engine/engine_context.h"

namespace ls {

std::string newListPath(const EngineContext& ctx);

// Writes every row of the news list by temp-and-rename. A file that cannot
// be written is left as it was, silently.
void saveNewList(const EngineContext& ctx);

// Empties the news list and fills it from the file; a missing or unreadable
// file leaves it empty.
void loadNewList(const EngineContext& ctx);

}  // namespace ls
