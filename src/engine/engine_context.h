// Where the engine finds its files and the platform.
#pragma once

#include <string>

#include "common/paths.h"
#include "engine/ports.h"

namespace ls {

struct EngineContext {
  std::string appDir;        // the application directory, ending in a separator
  std::string settingsPath;  // the settings file
  NewsList* news = nullptr;
  UserInterface* ui = nullptr;

  std::string logDir() const { return appDir + "LOG" + kPathSep; }
  std::string pageFile() const { return joinPath(appDir, "TEMPORARY", "temp.html"); }
};

// Message texts the engine shows.
inline constexpr const char* kMsgOutOfMemory = "メモリの確保に失敗しました。";
inline constexpr const char* kMsgCannotOpenFile = "ファイルが開けません。";
inline constexpr const char* kMsgInternalError = "内部エラーが起きました: ";

// An exception that is no failed allocation, told with its own text.
inline std::string internalErrorText(const char* what) { return kMsgInternalError + std::string(what); }

}  // namespace ls
