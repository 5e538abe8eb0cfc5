#include "net/response_decoder.h"

namespace ls {

bool ResponseDecoder::feed(std::string_view bytes, std::string& page) {
  while (!body_) {
    head_.feed(bytes);
    if (!head_.headDone()) {
      page.append(bytes);
      return true;
    }
    std::size_t body = head_.bodyInLastFeed();
    page.append(bytes.substr(0, bytes.size() - body));
    bytes.remove_prefix(bytes.size() - body);
    if (interim()) {
      head_ = ResponseCheck{};
      if (bytes.empty()) return true;
      continue;
    }
    std::int64_t length = head_.contentLength() ? static_cast<std::int64_t>(*head_.contentLength()) : -1;
    body_.emplace(head_.status(), head_.transferEncoding(), head_.contentEncoding(), length, limit_);
  }
  return body_->feed(bytes, page);
}

bool ResponseDecoder::finish() {
  // A head that never ended is a page of whatever came, as before.
  if (!body_) return true;
  return body_->finish();
}

}  // namespace ls
