#include "net/retry_after.h"

#include <array>
#include <cctype>

#include "common/text.h"

namespace ls {

namespace {

// Days from 1970-01-01 to the date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

int monthOf(std::string_view name) {
  static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (std::size_t i = 0; i < kMonths.size(); ++i)
    if (equalsIgnoreAsciiCase(name, kMonths[i])) return static_cast<int>(i) + 1;
  return 0;
}

// Splits at blanks, commas, dashes and colons.
std::vector<std::string_view> fields(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && std::string_view(" ,-:\t").find(text[at]) != std::string_view::npos) ++at;
    std::size_t from = at;
    while (at < text.size() && std::string_view(" ,-:\t").find(text[at]) == std::string_view::npos) ++at;
    if (at > from) out.push_back(text.substr(from, at - from));
  }
  return out;
}

std::optional<int> number(std::string_view s, std::size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace

std::optional<std::int64_t> parseHttpDate(std::string_view text) {
  std::vector<std::string_view> f = fields(trimBlanks(text));
  // IMF-fixdate and RFC 850: weekday day month year hh mm ss GMT;
  // asctime: weekday month day hh mm ss year.
  if (f.size() < 7) return std::nullopt;
  std::optional<int> day, year, hh, mm, ss;
  int month = 0;
  if (monthOf(f[1])) {
    month = monthOf(f[1]);
    day = number(f[2], 2);
    hh = number(f[3], 2);
    mm = number(f[4], 2);
    ss = number(f[5], 2);
    year = number(f[6], 4);
  } else {
    day = number(f[1], 2);
    month = monthOf(f[2]);
    year = number(f[3], 4);
    hh = number(f[4], 2);
    mm = number(f[5], 2);
    ss = number(f[6], 2);
    // A two-digit year of RFC 850: the past 50 years or the next 50.
    if (year && f[3].size() == 2) *year += *year < 70 ? 2000 : 1900;
  }
  if (!month || !day || !year || !hh || !mm || !ss) return std::nullopt;
  if (*day < 1 || *day > 31 || *hh > 23 || *mm > 59 || *ss > 60 || *year < 1970) return std::nullopt;
  return daysFromCivil(*year, static_cast<unsigned>(month), static_cast<unsigned>(*day)) * 86400 + *hh * 3600 +
         *mm * 60 + *ss;
}

std::optional<std::int64_t> retryAfterSeconds(std::string_view value, std::int64_t now) {
  value = trimBlanks(value);
  if (value.empty()) return std::nullopt;
  if (value.find_first_not_of("0123456789") == std::string_view::npos) {
    // Delta-seconds; past a day it is a day anyway.
    if (value.size() > 9) return kMaxWaitSeconds;
    return parseLeadingInt(value);
  }
  std::optional<std::int64_t> date = parseHttpDate(value);
  if (!date) return std::nullopt;
  return *date > now ? *date - now : 0;
}

std::int64_t backOffSeconds(std::string_view retryAfter, std::int64_t now, std::int64_t lastWait,
                            std::int64_t intervalSeconds) {
  std::int64_t wait;
  if (std::optional<std::int64_t> asked = retryAfterSeconds(retryAfter, now)) {
    wait = *asked;
  } else {
    wait = lastWait > 0 ? lastWait * 2 : intervalSeconds;
  }
  if (wait < 0) wait = 0;
  return wait > kMaxWaitSeconds ? kMaxWaitSeconds : wait;
}

}  // namespace ls
