// One response as it arrives, turned into the bytes of the page file: the
// head as received (the page scan reads the charset from it), then the body
// decoded (body_decoder.h). Interim answers (100 Continue, 103 Early Hints)
// are passed over to the final one. One object per fetch.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "net/body_decoder.h"
#include "net/response_check.h"

namespace ls {

class ResponseDecoder {
 public:
  explicit ResponseDecoder(std::uint64_t limit = kPageLimitBytes) : limit_(limit) {}

  // Appends the page file's bytes for `bytes` to `page`. False once the
  // response failed (failure() says why); the bytes before the failure are
  // still appended.
  bool feed(std::string_view bytes, std::string& page);
  // The body ended or the server closed: false when the page is not whole.
  bool finish();

  bool headDone() const { return head_.headDone() && !interim(); }
  // The final response's head, once headDone().
  const ResponseCheck& head() const { return head_; }
  // The body is complete by its own framing: the fetch need not wait for the close.
  bool ended() const { return body_ && body_->ended(); }
  const std::string& failure() const { return body_ ? body_->failure() : noFailure_; }

 private:
  bool interim() const { return head_.status() >= 100 && head_.status() < 200 && head_.status() != 101; }

  std::uint64_t limit_;
  ResponseCheck head_;
  std::optional<BodyDecoder> body_;
  std::string noFailure_;
};

}  // namespace ls
