// A file that a step of the program could not read or write (held open by
// another program, a full disk, a read-only or removed folder). Such a
// failure ends that step only: it is told like a fetch failure, in the
// status bar, naming the file, and the program goes on.
#pragma once

#include <string>
#include <string_view>

#include "engine/engine_context.h"

namespace ls {

inline constexpr const char* kMsgCannotReadFile = "ファイルが開けません: ";
inline constexpr const char* kMsgCannotWriteFile = "ファイルに書き込めません: ";
// A step that ran out of memory (a page too large to scan) fails alone.
inline constexpr const char* kMsgStepOutOfMemory = "メモリが足りません。";

// The status text for a file that could not be read or written: the file
// named from the application directory on (LOG\site.log), or whole when it
// lies elsewhere.
std::string cannotReadText(const EngineContext& ctx, std::string_view path);
std::string cannotWriteText(const EngineContext& ctx, std::string_view path);

}  // namespace ls
