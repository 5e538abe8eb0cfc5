// Watches the bytes of a response as they arrive, so a fetch can tell a
// complete page from one cut short: a reset that the platform reports as an
// orderly close would otherwise hand half a page to the scan, and the next
// whole page would then report the missing headlines as new.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ls {

class ResponseCheck {
 public:
  void feed(std::string_view bytes);
  // The head ended and declared a Content-Length that the body has not reached.
  bool truncated() const;
  std::optional<std::uint64_t> contentLength() const { return length_; }
  // The head has ended (or grew too long to be one).
  bool headDone() const { return headDone_; }
  // The status code of an "HTTP/x.y NNN" status line, 0 without one.
  int status() const { return status_; }
  // The value of the first Location header, trimmed; empty without one.
  const std::string& location() const { return location_; }
  // The values of the first header of each name, trimmed; empty without one.
  // Transfer-Encoding and Content-Encoding join repeated headers with ", ".
  const std::string& transferEncoding() const { return transferEncoding_; }
  const std::string& contentEncoding() const { return contentEncoding_; }
  const std::string& etag() const { return etag_; }
  const std::string& lastModified() const { return lastModified_; }
  const std::string& retryAfter() const { return retryAfter_; }
  // How many of the bytes of the latest feed() came after the head.
  std::size_t bodyInLastFeed() const { return lastBody_; }

 private:
  void readHead();

  std::string head_;  // until the blank line, at most kHeadLimit bytes
  bool headDone_ = false;
  std::optional<std::uint64_t> length_;
  std::uint64_t bodyBytes_ = 0;
  int status_ = 0;
  std::string location_;
  std::string transferEncoding_, contentEncoding_, etag_, lastModified_, retryAfter_;
  std::size_t lastBody_ = 0;
};

}  // namespace ls
