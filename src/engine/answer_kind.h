// Whether a site answers with a feed or a page, remembered from its last
// answer that gave links, so that a feed which briefly answers with an HTML
// page (a maintenance page) brings none of that page's links and, when it
// comes back, none of its old items as new; and the reverse. The kind lives
// in a small file beside the site's logs, LOG\<log name>.kind, holding
// "feed" or "page" and the site's address; it goes with the logs when they
// are deleted. A site with no such file (never checked, or checked by an
// older version), or whose address has changed since (the wizard switched
// it to its feed), takes whatever comes and remembers it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/engine_context.h"

namespace ls {

enum class AnswerKind { kPage, kFeed };

inline constexpr const char* kMsgFeedAnsweredPage =
    "フィードの代わりにHTMLページが返されました。今回は取り込みません。";
inline constexpr const char* kMsgPageAnsweredFeed =
    "HTMLページの代わりにフィードが返されました。今回は取り込みません。";

std::string answerKindPath(const EngineContext& ctx, std::string_view siteName);

// The status text when this answer's kind is not the one remembered for the
// site; nothing when it may be read.
// `address` is the site's address as the site file holds it.
std::optional<std::string> answerKindChange(const EngineContext& ctx, std::string_view siteName,
                                            std::string_view address, AnswerKind kind);

// Remembers the kind of an answer that gave links, when none is remembered
// for this address yet. A file that cannot be written leaves the site
// without one.
void rememberAnswerKind(const EngineContext& ctx, std::string_view siteName, std::string_view address,
                        AnswerKind kind);

}  // namespace ls
