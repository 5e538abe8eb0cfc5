// The new-list file "LOG\新着リスト.all.log": the whole news list, four
// lines a row (headline, icon index, site name, URL), top row first. It keeps
// the new-list across runs and while a site log is shown.
#pragma once

#include <string>

#include "common/log_name.h"
#include "engine/engine_context.h"

namespace ls {

std::string newListPath(const EngineContext& ctx);

// Writes every row of the news list by temp-and-rename. False when the file
// could not be written (it is left as it was) or the rows did not fit in
// memory; the rows stay in the list for the next save.
bool saveNewList(const EngineContext& ctx);

// Empties the news list and fills it from the file; a missing or unreadable
// file leaves it empty.
void loadNewList(const EngineContext& ctx);

}  // namespace ls
