#include "engine/answer_kind.h"

#include "common/file_io.h"
#include "common/log_name.h"

namespace ls {

namespace {

constexpr std::string_view kFeedWord = "feed";
constexpr std::string_view kPageWord = "page";

std::optional<AnswerKind> rememberedKind(const EngineContext& ctx, std::string_view siteName) {
  std::optional<std::string> bytes = readWholeFile(answerKindPath(ctx, siteName));
  if (!bytes) return std::nullopt;
  std::string_view word(*bytes);
  word = word.substr(0, 4);
  if (word == kFeedWord) return AnswerKind::kFeed;
  if (word == kPageWord) return AnswerKind::kPage;
  return std::nullopt;
}

}  // namespace

std::string answerKindPath(const EngineContext& ctx, std::string_view siteName) {
  return ctx.logDir() + logNameForm(siteName) + ".kind";
}

std::optional<std::string> answerKindChange(const EngineContext& ctx, std::string_view siteName, AnswerKind kind) {
  std::optional<AnswerKind> last = rememberedKind(ctx, siteName);
  if (!last || *last == kind) return std::nullopt;
  return std::string(kind == AnswerKind::kPage ? kMsgFeedAnsweredPage : kMsgPageAnsweredFeed);
}

void rememberAnswerKind(const EngineContext& ctx, std::string_view siteName, AnswerKind kind) {
  if (rememberedKind(ctx, siteName)) return;
  std::string line(kind == AnswerKind::kFeed ? kFeedWord : kPageWord);
  line += "\r\n";
  rewriteFile(answerKindPath(ctx, siteName), line);
}

}  // namespace ls
