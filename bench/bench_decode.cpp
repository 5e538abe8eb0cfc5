// Response decoding speed, measured in page bytes given out: a 1 MB
// Japanese news page gzip-compressed and sent chunked, as nginx sends it,
// in the fetcher's receive chunks; beside it the same page plain and chunked.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>

#include "http_body_encoding.h"
#include "net/body_decoder.h"

namespace {

std::string newsPage() {
  std::string page = "<html><head><title>ニュース</title></head><body>\r\n";
  for (int i = 0; page.size() < (1u << 20); ++i) {
    page += "<li><a href=\"/news/" + std::to_string(i) +
            ".html\">東京都内で桜が満開に、週末は各地で花見客がにぎわう見込み 第" + std::to_string(i) + "報</a></li>\r\n";
  }
  return page + "</body></html>\r\n";
}

using ls::test::gzipped;
// nginx's chunks are its buffer's size, 8 KB or so.
std::string chunked(const std::string& body) { return ls::test::chunkedOf(body, 8192); }

void decode(benchmark::State& state, const char* coding, bool compress) {
  const std::string page = newsPage();
  const std::string body = chunked(compress ? gzipped(page) : page);
  std::string out;
  out.reserve(page.size() + 65536);
  for (auto _ : state) {
    out.clear();
    ls::BodyDecoder d(200, "chunked", coding, -1);
    for (std::size_t at = 0; at < body.size(); at += 4068) d.feed(std::string_view(body).substr(at, 4068), out);
    if (!d.finish() || out.size() != page.size()) state.SkipWithError("not decoded");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
  state.counters["ratio"] = static_cast<double>(page.size()) / static_cast<double>(gzipped(page).size());
}

void BM_DecodeGzipChunked(benchmark::State& state) { decode(state, "gzip", true); }
void BM_DecodePlainChunked(benchmark::State& state) { decode(state, "", false); }
BENCHMARK(BM_DecodeGzipChunked)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePlainChunked)->Unit(benchmark::kMillisecond);

}  // namespace
