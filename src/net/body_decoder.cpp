#include "net/body_decoder.h"

#include <zlib.h>

#include <vector>

#include "common/text.h"

namespace ls {

namespace {

// A chunk-size or trailer line longer than this is no chunked body.
constexpr std::size_t kChunkLineLimit = 4096;
constexpr std::size_t kInflateBlock = 65536;

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int hexValue(char c) {
  if (c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// The names of a coding list ("gzip, chunked"), trimmed, empty ones left out.
std::vector<std::string_view> codingNames(std::string_view list) {
  std::vector<std::string_view> names;
  while (!list.empty()) {
    std::size_t comma = list.find(',');
    std::string_view name = trimBlanks(list.substr(0, comma));
    if (!name.empty()) names.push_back(name);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return names;
}

}  // namespace

// zlib's inflate for one body: gzip (several members in a row too), or
// deflate with the zlib wrapper or without it, told apart by the first two
// bytes as servers send both.
class Inflater {
 public:
  enum class Result { kOk, kBad, kTooLarge };

  explicit Inflater(BodyDecoder::Coding coding) : gzip_(coding == BodyDecoder::Coding::kGzip) {}
  ~Inflater() {
    if (started_) inflateEnd(&z_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  Result feed(std::string_view in, std::string& out, std::uint64_t& produced, std::uint64_t limit) {
    if (!started_) {
      // Deflate's wrapper is told by its first two bytes.
      pending_.append(in);
      if (!gzip_ && pending_.size() < 2) return Result::kOk;
      if (!start()) return Result::kBad;
      std::string first;
      first.swap(pending_);
      return run(first, out, produced, limit);
    }
    return run(in, out, produced, limit);
  }

  // The stream ended where its format says it ends (or nothing came).
  bool complete() const { return ended_ || (!started_ && pending_.empty()); }

 private:
  bool start() {
    int window = 15 + 32;  // gzip, or a zlib stream labelled gzip
    if (!gzip_) {
      auto b0 = static_cast<unsigned char>(pending_[0]), b1 = static_cast<unsigned char>(pending_[1]);
      bool wrapped = (b0 & 0x0F) == 8 && (b0 >> 4) <= 7 && ((b0 << 8) | b1) % 31 == 0;
      window = wrapped ? 15 : -15;
    }
    started_ = inflateInit2(&z_, window) == Z_OK;
    return started_;
  }

  Result run(std::string_view in, std::string& out, std::uint64_t& produced, std::uint64_t limit) {
    if (ended_) return next(in, out, produced, limit);
    z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z_.avail_in = static_cast<uInt>(in.size());
    unsigned char block[kInflateBlock];
    for (;;) {
      z_.next_out = block;
      z_.avail_out = sizeof block;
      int r = inflate(&z_, Z_NO_FLUSH);
      std::size_t got = sizeof block - z_.avail_out;
      if (got > 0) {
        if (produced + got > limit) return Result::kTooLarge;
        out.append(reinterpret_cast<const char*>(block), got);
        produced += got;
      }
      if (r == Z_STREAM_END) {
        ended_ = true;
        std::string rest(reinterpret_cast<const char*>(z_.next_in), z_.avail_in);
        return next(rest, out, produced, limit);
      }
      if (r == Z_BUF_ERROR) return Result::kOk;  // all input taken, all output given
      if (r != Z_OK) return Result::kBad;
      if (z_.avail_in == 0 && z_.avail_out != 0) return Result::kOk;
    }
  }

  // Bytes after the end of a stream: another gzip member, or left alone.
  Result next(std::string_view in, std::string& out, std::uint64_t& produced, std::uint64_t limit) {
    if (!gzip_ || restIgnored_ || in.empty()) return Result::kOk;
    std::string bytes = after_ + std::string(in);
    after_.clear();
    if (bytes.size() < 2) {
      after_ = bytes;
      return Result::kOk;
    }
    if (bytes[0] != '\x1F' || bytes[1] != '\x8B') {
      restIgnored_ = true;
      return Result::kOk;
    }
    inflateReset(&z_);
    ended_ = false;
    return run(bytes, out, produced, limit);
  }

  bool gzip_;
  bool started_ = false;
  bool ended_ = false;
  bool restIgnored_ = false;
  std::string pending_, after_;
  z_stream z_{};
};

BodyDecoder::BodyDecoder(int status, std::string_view transferEncoding, std::string_view contentEncoding,
                         std::int64_t length, std::uint64_t limit)
    : limit_(limit) {
  // These answers carry no body whatever their head says.
  if ((status >= 100 && status < 200) || status == 204 || status == 304) {
    framing_ = Framing::kNone;
    ended_ = true;
    return;
  }
  std::vector<std::string_view> transfer = codingNames(transferEncoding);
  std::vector<std::string_view> compressions;
  if (!transfer.empty()) {
    // The last transfer coding says how the body ends; Content-Length does not count.
    if (equalsIgnoreAsciiCase(transfer.back(), "chunked")) {
      framing_ = Framing::kChunked;
      transfer.pop_back();
    }
    for (std::string_view name : transfer) compressions.push_back(name);
  } else if (length >= 0) {
    framing_ = Framing::kLength;
    remaining_ = static_cast<std::uint64_t>(length);
    if (remaining_ == 0) ended_ = true;
  }
  for (std::string_view name : codingNames(contentEncoding)) compressions.push_back(name);

  std::string unknown;
  int layers = 0;
  for (std::string_view name : compressions) {
    if (equalsIgnoreAsciiCase(name, "identity")) continue;
    if (equalsIgnoreAsciiCase(name, "gzip") || equalsIgnoreAsciiCase(name, "x-gzip")) {
      coding_ = Coding::kGzip;
    } else if (equalsIgnoreAsciiCase(name, "deflate")) {
      coding_ = Coding::kDeflate;
    } else {
      if (!unknown.empty()) unknown += ", ";
      unknown += name;
      continue;
    }
    ++layers;
  }
  // Only what was asked for, once: anything else would be scanned as bytes.
  if (unknown.empty() && layers > 1) unknown = std::string(contentEncoding);
  if (!unknown.empty()) {
    fail(kMsgUnknownEncoding + unknown.substr(0, 64) + ")");
    return;
  }
  if (coding_ != Coding::kIdentity) inflater_ = std::make_unique<Inflater>(coding_);
}

BodyDecoder::~BodyDecoder() = default;
BodyDecoder::BodyDecoder(BodyDecoder&&) noexcept = default;
BodyDecoder& BodyDecoder::operator=(BodyDecoder&&) noexcept = default;

bool BodyDecoder::fail(std::string text) {
  if (failure_.empty()) failure_ = std::move(text);
  inflater_.reset();
  return false;
}

bool BodyDecoder::feed(std::string_view bytes, std::string& page) {
  if (failed()) return false;
  if (ended_ || bytes.empty()) return true;
  switch (framing_) {
    case Framing::kChunked:
      return chunked(bytes, page);
    case Framing::kLength: {
      std::string_view part = bytes.substr(0, remaining_ < bytes.size() ? remaining_ : bytes.size());
      remaining_ -= part.size();
      if (remaining_ == 0) ended_ = true;
      return content(part, page);
    }
    default:
      return content(bytes, page);
  }
}

bool BodyDecoder::content(std::string_view bytes, std::string& page) {
  if (bytes.empty()) return true;
  if (!inflater_) {
    if (produced_ + bytes.size() > limit_) return fail(kMsgPageTooLarge);
    page.append(bytes);
    produced_ += bytes.size();
    return true;
  }
  switch (inflater_->feed(bytes, page, produced_, limit_)) {
    case Inflater::Result::kOk:
      return true;
    case Inflater::Result::kTooLarge:
      return fail(kMsgPageTooLarge);
    default:
      return fail(kMsgNotDecoded);
  }
}

bool BodyDecoder::chunked(std::string_view bytes, std::string& page) {
  while (!bytes.empty() && !ended_) {
    if (chunk_ == ChunkState::kData) {
      std::size_t take = remaining_ < bytes.size() ? static_cast<std::size_t>(remaining_) : bytes.size();
      if (!content(bytes.substr(0, take), page)) return false;
      bytes.remove_prefix(take);
      remaining_ -= take;
      if (remaining_ == 0) chunk_ = ChunkState::kDataEnd;
      continue;
    }
    // Size, data-end and trailer lines: collected up to their line feed.
    std::size_t lf = bytes.find('\n');
    std::string_view part = bytes.substr(0, lf);
    if (line_.size() + part.size() > kChunkLineLimit) return fail(kMsgChunksBroken);
    line_.append(part);
    if (lf == std::string_view::npos) return true;
    bytes.remove_prefix(lf + 1);
    std::string line;
    line.swap(line_);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!chunkLine(line)) return false;
  }
  return true;
}

bool BodyDecoder::chunkLine(std::string_view line) {
  switch (chunk_) {
    case ChunkState::kSize: {
      std::size_t digits = 0;
      std::uint64_t size = 0;
      while (digits < line.size() && isHexDigit(line[digits])) {
        if (digits == 15) return fail(kMsgChunksBroken);  // past any page's size
        size = size * 16 + static_cast<std::uint64_t>(hexValue(line[digits]));
        ++digits;
      }
      std::string_view rest = line.substr(digits);
      while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
      // After the size only blanks and extensions (";name=value") may follow.
      if (digits == 0 || (!rest.empty() && rest.front() != ';')) return fail(kMsgChunksBroken);
      remaining_ = size;
      chunk_ = size == 0 ? ChunkState::kTrailer : ChunkState::kData;
      return true;
    }
    case ChunkState::kDataEnd:
      if (!line.empty()) return fail(kMsgChunksBroken);
      chunk_ = ChunkState::kSize;
      return true;
    case ChunkState::kTrailer:
      // Trailer fields are read past; the empty line ends the body.
      if (line.empty()) ended_ = true;
      return true;
    case ChunkState::kData:
      break;
  }
  return true;
}

bool BodyDecoder::finish() {
  if (failed()) return false;
  if (framing_ == Framing::kLength && !ended_) return fail(kMsgBodyCut);
  if (framing_ == Framing::kChunked && !ended_) return fail(kMsgChunksCut);
  if (inflater_ && !inflater_->complete()) return fail(kMsgNotDecoded);
  return true;
}

}  // namespace ls
