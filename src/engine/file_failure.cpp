#include "engine/file_failure.h"

namespace ls {

namespace {

std::string textFor(const char* head, const EngineContext& ctx, std::string_view path) {
  std::string_view name = path;
  if (!ctx.appDir.empty() && name.substr(0, ctx.appDir.size()) == ctx.appDir) name.remove_prefix(ctx.appDir.size());
  std::string text = head;
  text += name;
  return text;
}

}  // namespace

std::string cannotReadText(const EngineContext& ctx, std::string_view path) {
  return textFor(kMsgCannotReadFile, ctx, path);
}

std::string cannotWriteText(const EngineContext& ctx, std::string_view path) {
  return textFor(kMsgCannotWriteFile, ctx, path);
}

}  // namespace ls
