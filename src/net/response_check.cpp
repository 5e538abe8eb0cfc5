#include "net/response_check.h"

#include "common/text.h"

namespace ls {

namespace {

// A head longer than this is no HTTP head the check understands.
constexpr std::size_t kHeadLimit = 65536;

// "HTTP/1.1 301 Moved" gives 301; anything else 0.
int statusOf(std::string_view line) {
  if (!startsWithIgnoreAsciiCase(line, "HTTP/")) return 0;
  std::size_t space = line.find(' ');
  if (space == std::string_view::npos) return 0;
  std::string_view code = line.substr(space + 1, 3);
  if (code.size() != 3 || code.find_first_not_of("0123456789") != std::string_view::npos) return 0;
  if (line.size() > space + 4 && line[space + 4] != ' ' && line[space + 4] != '\r') return 0;
  return (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
}

}  // namespace

void ResponseCheck::feed(std::string_view bytes) {
  if (headDone_) {
    bodyBytes_ += bytes.size();
    lastBody_ = bytes.size();
    return;
  }
  lastBody_ = 0;
  std::size_t before = head_.size();
  std::size_t room = kHeadLimit - before;
  head_.append(bytes.substr(0, room));
  // The blank line may straddle two chunks, so look a little before the new bytes.
  std::size_t from = before >= 3 ? before - 3 : 0;
  std::size_t lf = head_.find("\n\r\n", from);
  std::size_t bare = head_.find("\n\n", from);
  std::size_t end = std::string::npos;
  if (lf != std::string::npos) end = lf + 3;
  if (bare != std::string::npos && bare + 2 < end) end = bare + 2;
  if (end == std::string::npos) {
    if (head_.size() >= kHeadLimit) {
      headDone_ = true;  // not a head we can read: never call it truncated
      lastBody_ = before + bytes.size() - kHeadLimit;
      head_.clear();
    }
    return;
  }
  headDone_ = true;
  bodyBytes_ = before + bytes.size() - end;
  lastBody_ = static_cast<std::size_t>(bodyBytes_);
  head_.resize(end);
  readHead();
  head_.clear();
  head_.shrink_to_fit();
}

void ResponseCheck::readHead() {
  std::string_view rest(head_);
  bool statusLine = true;
  bool lengthSeen = false, locationSeen = false;
  bool etagSeen = false, modifiedSeen = false, retrySeen = false;
  while (!rest.empty()) {
    std::size_t lf = rest.find('\n');
    std::string_view line = rest.substr(0, lf);
    rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
    if (statusLine) {
      statusLine = false;
      status_ = statusOf(line);
      continue;
    }
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = trimBlanks(line.substr(0, colon));
    std::string_view value = trimBlanks(line.substr(colon + 1));
    auto first = [&](const char* wanted, std::string& field, bool& seen) {
      if (seen || !equalsIgnoreAsciiCase(name, wanted)) return false;
      seen = true;
      field = std::string(value);
      return true;
    };
    auto joined = [&](const char* wanted, std::string& field) {
      if (!equalsIgnoreAsciiCase(name, wanted)) return false;
      if (!field.empty() && !value.empty()) field += ", ";
      field += value;
      return true;
    };
    if (joined("Transfer-Encoding", transferEncoding_) || joined("Content-Encoding", contentEncoding_) ||
        first("ETag", etag_, etagSeen) || first("Last-Modified", lastModified_, modifiedSeen) ||
        first("Retry-After", retryAfter_, retrySeen))
      continue;
    if (!locationSeen && equalsIgnoreAsciiCase(name, "Location")) {
      locationSeen = true;
      location_ = std::string(value);
    } else if (!lengthSeen && equalsIgnoreAsciiCase(name, "Content-Length")) {
      lengthSeen = true;
      // Unreadable: nothing to compare with.
      if (value.empty() || value.find_first_not_of("0123456789") != std::string_view::npos || value.size() > 18)
        continue;
      length_ = std::stoull(std::string(value));
    }
  }
}

bool ResponseCheck::truncated() const { return headDone_ && length_ && bodyBytes_ < *length_; }

}  // namespace ls
