// Bodies as servers send them, for the tests and the benchmarks: gzip, zlib
// and raw deflate made with zlib, and chunked framing.
#pragma once

#include <zlib.h>

#include <cstdio>
#include <string>

namespace ls::test {

// windowBits: 15 + 16 gzip, 15 zlib, -15 raw deflate.
inline std::string compressed(const std::string& plain, int windowBits) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, plain.size()) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
  z.avail_in = static_cast<uInt>(plain.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}
inline std::string gzipped(const std::string& s) { return compressed(s, 15 + 16); }

// The body in chunks of `piece` bytes, each size line ending in `ext`; then
// the last chunk, the `trailer` lines and the blank line.
inline std::string chunkedOf(const std::string& body, std::size_t piece, const std::string& ext = "",
                             const std::string& trailer = "") {
  std::string out;
  for (std::size_t at = 0; at < body.size(); at += piece) {
    std::string part = body.substr(at, piece);
    char size[32];
    std::snprintf(size, sizeof size, "%zx", part.size());
    out += size + ext + "\r\n" + part + "\r\n";
  }
  return out + "0\r\n" + trailer + "\r\n";
}

}  // namespace ls::test
