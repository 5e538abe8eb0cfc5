// How long a server that answered 429 or 503 asks to be left alone: its
// Retry-After (seconds, or an HTTP date), or without one twice the last
// wait, starting at the check interval; never more than a day.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ls {

inline constexpr std::int64_t kMaxWaitSeconds = 24 * 60 * 60;

// The time of an HTTP date in any of its three forms ("Sun, 06 Nov 1994
// 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT", "Sun Nov  6 08:49:37
// 1994"), as seconds since 1970 UTC; nothing for any other text.
std::optional<std::int64_t> parseHttpDate(std::string_view text);

// Seconds to wait from `now` for a Retry-After value; nothing when it is
// absent or unreadable. A date in the past gives 0.
std::optional<std::int64_t> retryAfterSeconds(std::string_view value, std::int64_t now);

// The wait after a 429 or 503: Retry-After when readable, else twice
// `lastWait` (the interval when there was none); at most a day.
std::int64_t backOffSeconds(std::string_view retryAfter, std::int64_t now, std::int64_t lastWait,
                            std::int64_t intervalSeconds);

}  // namespace ls
