// Turns the body of one HTTP/1.1 response, as it arrives, into the page: the
// framing (Content-Length, chunked with extensions and trailers, or the
// close) is taken off, then the content coding (gzip, or deflate zlib-wrapped
// or raw) is undone. Every page that passes the fetch's size limit fails
// there, so a small body that expands without end ("zip bomb") costs at most
// the limit in time and memory. One object per fetch: nothing is shared.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ls {

// The largest page a fetch takes, after decoding.
inline constexpr std::uint64_t kPageLimitBytes = 64ull * 1024 * 1024;

// Failure texts (status-bar part 1).
inline constexpr const char* kMsgBodyCut = "ページが途中で切れています。(Content-Lengthに足りません)";
inline constexpr const char* kMsgChunksCut = "ページが途中で切れています。(chunkedの最後のチャンクがありません)";
inline constexpr const char* kMsgChunksBroken = "chunkedの形式が正しくありません。";
inline constexpr const char* kMsgNotDecoded = "圧縮されたページを展開できません。";
inline constexpr const char* kMsgPageTooLarge = "ページが大きすぎます。(64MBまで)";
// Followed by the encoding's name and ")".
inline constexpr const char* kMsgUnknownEncoding = "対応していない圧縮形式です。(";

class Inflater;

class BodyDecoder {
 public:
  enum class Framing { kLength, kChunked, kClose, kNone };
  enum class Coding { kIdentity, kGzip, kDeflate };

  // For a response of `status` with these header values (empty when
  // absent); `length` is the Content-Length, negative without a readable one.
  BodyDecoder(int status, std::string_view transferEncoding, std::string_view contentEncoding, std::int64_t length,
              std::uint64_t limit = kPageLimitBytes);
  ~BodyDecoder();
  BodyDecoder(BodyDecoder&&) noexcept;
  BodyDecoder& operator=(BodyDecoder&&) noexcept;

  // Decodes received body bytes, appending the page's bytes to `page`.
  // False once the body failed (failure() says why); bytes after that, and
  // after the body's end, are ignored.
  bool feed(std::string_view bytes, std::string& page);
  // The body ended by its framing, or the server closed the connection:
  // false when the body is not whole or its compressed stream did not end.
  bool finish();

  // The framing says the body is complete: nothing more belongs to it.
  bool ended() const { return ended_; }
  bool failed() const { return !failure_.empty(); }
  const std::string& failure() const { return failure_; }
  Framing framing() const { return framing_; }
  Coding coding() const { return coding_; }
  std::uint64_t pageBytes() const { return produced_; }

 private:
  bool fail(std::string text);
  // Body bytes without their framing.
  bool content(std::string_view bytes, std::string& page);
  bool chunked(std::string_view bytes, std::string& page);
  bool chunkLine(std::string_view line);

  Framing framing_ = Framing::kClose;
  Coding coding_ = Coding::kIdentity;
  std::uint64_t limit_;
  std::uint64_t remaining_ = 0;  // kLength: body bytes still due; chunked: of this chunk
  std::uint64_t produced_ = 0;
  bool ended_ = false;
  std::string failure_;
  enum class ChunkState { kSize, kData, kDataEnd, kTrailer };
  ChunkState chunk_ = ChunkState::kSize;
  std::string line_;  // a chunk-size or trailer line until its line feed
  std::unique_ptr<Inflater> inflater_;
};

}  // namespace ls
