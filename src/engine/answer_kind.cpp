#include "engine/answer_kind.h"

#include "common/file_io.h"
#include "common/log_name.h"

namespace ls {

namespace {

constexpr std::string_view kFeedWord = "feed";
constexpr std::string_view kPageWord = "page";

std::optional<AnswerKind> rememberedKind(const EngineContext& ctx, std::string_view siteName,
                                         std::string_view address) {
  std::optional<std::string> bytes = readWholeFile(answerKindPath(ctx, siteName));
  if (!bytes) return std::nullopt;
  std::string_view rest(*bytes);
  std::string word, url;
  if (!readLine(rest, word) || !readLine(rest, url) || url != address) return std::nullopt;
  if (word == kFeedWord) return AnswerKind::kFeed;
  if (word == kPageWord) return AnswerKind::kPage;
  return std::nullopt;
}

}  // namespace

std::string answerKindPath(const EngineContext& ctx, std::string_view siteName) {
  return ctx.logDir() + logNameForm(siteName) + ".kind";
}

std::optional<std::string> answerKindChange(const EngineContext& ctx, std::string_view siteName,
                                            std::string_view address, AnswerKind kind) {
  std::optional<AnswerKind> last = rememberedKind(ctx, siteName, address);
  if (!last || *last == kind) return std::nullopt;
  return std::string(kind == AnswerKind::kPage ? kMsgFeedAnsweredPage : kMsgPageAnsweredFeed);
}

void rememberAnswerKind(const EngineContext& ctx, std::string_view siteName, std::string_view address,
                        AnswerKind kind) {
  if (rememberedKind(ctx, siteName, address)) return;
  std::string text;
  appendLine(text, kind == AnswerKind::kFeed ? kFeedWord : kPageWord);
  appendLine(text, address);
  rewriteFile(answerKindPath(ctx, siteName), text);
}

}  // namespace ls
