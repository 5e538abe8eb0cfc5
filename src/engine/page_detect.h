// The parts of the page detection that the conversion shares, so that a page
// can be converted while its encoding is judged (see detectPageEncoding).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/page_convert.h"

namespace ls::detect {

// Penalties of reading a page as EUC-JP or as Shift_JIS.
inline constexpr long kIllegal = 1000;
inline constexpr long kUnlikely = 8;  // no character at that code, or user-defined
inline constexpr long kJisX0212 = 4;
inline constexpr long kKana = 1;      // half-width katakana: legal, but rare in real text
inline constexpr long kNoCap = 0x7FFFFFFF;

// The reading that looks better on this much of the page is counted first.
inline constexpr std::size_t kProbeBytes = 16 * 1024;

// Where the body starts, as far as a header can be told: after the empty
// line; in a joined text, at the first '<' that does not open a header value
// (Link: <url> does); 0 when the text has no status line.
std::size_t bodyStart(std::string_view page);

// The encoding a page states: its byte-order mark, a charset it names, or an
// ISO-2022-JP escape; nothing when only its bytes can tell.
std::optional<PageEncoding> declaredEncoding(std::string_view page);

// The penalty of each reading, counted until it reaches `cap`.
long shiftJisPenalty(std::string_view page, long cap);
long eucJpPenalty(std::string_view page, long cap);

}  // namespace ls::detect
