// Page conversion speed (detection included, as the page scan calls it) on a
// news page of about 1 MB in each encoding, each beside iconv told the
// encoding; and on a hostile page at 1 MB and 10 MB: linear code takes about
// ten times as long for the larger one.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_reference.h"
#include "common/cp932.h"
#include "engine/page_convert.h"
#include "test_encoders.h"

namespace {

constexpr std::size_t kPageSize = 1 << 20;

// About half markup, half Japanese text, no charset named anywhere, so the
// detection has to look at the bytes.
std::string sjisPage() {
  std::string page = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><head><title>ニュース</title></head><body>\r\n";
  for (int i = 0; page.size() < kPageSize; ++i) {
    page += "<li><a href=\"/news/" + std::to_string(i) +
            ".html\">東京都内で桜が満開に、週末は各地で花見客がにぎわう見込み（ｶﾀｶﾅ）</a></li>\r\n";
  }
  return page + "</body></html>\r\n";
}

const std::string& utf8Page() {
  static const std::string page = ls::cp932ToUtf8(sjisPage());
  return page;
}

void convert(benchmark::State& state, const std::string& page) {
  for (auto _ : state) {
    std::string out = ls::convertPageToSjis(page);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// Detection and conversion beside iconv from `iconvName`, which is told.
void convertAgainstIconv(benchmark::State& state, const std::string& page, const char* iconvName) {
  bench::IconvReference iconv(iconvName);
  if (!iconv.ok()) {
    state.SkipWithError("iconv cannot convert this encoding");
    return;
  }
  bench::againstReference(
      state, page.size(), [&] { benchmark::DoNotOptimize(ls::convertPageToSjis(page).size()); },
      [&] { benchmark::DoNotOptimize(iconv.run(page)); });
}

void BM_ConvertShiftJis(benchmark::State& state) { convert(state, sjisPage()); }
void BM_ConvertEucJp(benchmark::State& state) {
  convertAgainstIconv(state, ls::test::sjisToEuc(sjisPage()), "EUC-JP");
}
void BM_ConvertIso2022Jp(benchmark::State& state) {
  convertAgainstIconv(state, ls::test::sjisToIso2022(sjisPage()), "ISO-2022-JP");
}
void BM_ConvertUtf8(benchmark::State& state) { convertAgainstIconv(state, utf8Page(), "UTF-8"); }

// The conversion alone, the encoding given, and the detection alone.
void BM_ConvertUtf8Given(benchmark::State& state) {
  bench::IconvReference iconv("UTF-8");
  const std::string& page = utf8Page();
  bench::againstReference(
      state, page.size(),
      [&] { benchmark::DoNotOptimize(ls::convertPageAs(page, ls::PageEncoding::Utf8).size()); },
      [&] { benchmark::DoNotOptimize(iconv.run(page)); });
}
void BM_DetectUtf8(benchmark::State& state) {
  const std::string& page = utf8Page();
  for (auto _ : state) benchmark::DoNotOptimize(ls::detectPageEncoding(page));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// Unclosed meta tags, escape bytes and broken UTF-8 everywhere, after a joined
// header that never ends.
void BM_ConvertHostile(benchmark::State& state) {
  std::string page = "HTTP/1.0 200 OKContent-Type: text/html";
  // Split so that the compiler does not read "\x81C" as one escape.
  const std::string unit = "<meta charset=\x1B$\xE3\x81" "Content-Type:";
  while (page.size() < static_cast<std::size_t>(state.range(0)) * kPageSize) page += unit;
  convert(state, page);
}

BENCHMARK(BM_ConvertHostile)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertShiftJis)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertEucJp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertIso2022Jp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertUtf8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertUtf8Given)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetectUtf8)->Unit(benchmark::kMicrosecond);

}  // namespace
