// References that run in the same binary, on the same bytes, as the code
// measured beside them: glibc iconv for the conversions (told the encoding),
// memmem of "href=" for the scans. Each iteration runs both, one after the
// other, so the ratio holds on a busy machine too.
#pragma once

#include <benchmark/benchmark.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iconv.h>
#include <string>

namespace bench {

using Clock = std::chrono::steady_clock;

// iconv from `from` to CP932 over the whole page; a byte iconv refuses is
// skipped so that a reference never stops early.
class IconvReference {
 public:
  explicit IconvReference(const char* from) : cd_(iconv_open("CP932", from)) {}
  ~IconvReference() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  std::size_t run(const std::string& in) {
    out_.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char* dst = &out_[0];
    std::size_t room = out_.size();
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    while (left > 0) {
      if (iconv(cd_, &src, &left, &dst, &room) == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) break;
        ++src;
        --left;
      }
    }
    return out_.size() - room;
  }

 private:
  iconv_t cd_;
  std::string out_;
};

// Occurrences of "href=" found with memmem: the speed a scan of the page
// could reach if it did nothing but look for links.
inline std::size_t memmemHrefs(const std::string& page) {
  std::size_t count = 0;
  const char* p = page.data();
  const char* end = p + page.size();
  while (const void* hit = memmem(p, static_cast<std::size_t>(end - p), "href=", 5)) {
    ++count;
    p = static_cast<const char*>(hit) + 5;
  }
  return count;
}

// `unit` again and again until the text has at least `bytes` bytes.
inline std::string repeatTo(const std::string& unit, std::size_t bytes) {
  std::string out;
  out.reserve(bytes + unit.size());
  while (out.size() < bytes) out += unit;
  return out;
}

// Times `work` (what Google Benchmark reports) and `reference` in the same
// iterations and adds the reference's speed and the ratio as counters.
template <typename Work, typename Reference>
void againstReference(benchmark::State& state, std::size_t bytes, Work work, Reference reference) {
  double workSeconds = 0, refSeconds = 0;
  for (auto _ : state) {
    Clock::time_point t0 = Clock::now();
    work();
    Clock::time_point t1 = Clock::now();
    state.PauseTiming();
    Clock::time_point r0 = Clock::now();
    reference();
    refSeconds += std::chrono::duration<double>(Clock::now() - r0).count();
    state.ResumeTiming();
    workSeconds += std::chrono::duration<double>(t1 - t0).count();
  }
  const double total = static_cast<double>(state.iterations()) * static_cast<double>(bytes);
  state.SetBytesProcessed(static_cast<std::int64_t>(total));
  state.counters["MB/s"] = total / workSeconds / 1e6;
  state.counters["ref_MB/s"] = total / refSeconds / 1e6;
  state.counters["x_ref"] = refSeconds / workSeconds;
}

}  // namespace bench
