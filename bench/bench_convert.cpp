// Page conversion speed (detection included, as the page scan calls it) on a
// news page of about 1 MB in each encoding, and on a hostile page at 1 MB and
// 10 MB: linear code takes about ten times as long for the larger one.
#include <benchmark/benchmark.h>

#include <string>

#include "common/cp932.h"
#include "engine/page_convert.h"

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

void toJis(unsigned char lead, unsigned char trail, unsigned& j1, unsigned& j2) {
  unsigned s1 = lead >= 0xE0 ? lead - 0x40 : lead;
  j1 = (s1 - 0x81) * 2 + 0x21 + (trail >= 0x9F);
  j2 = trail >= 0x9F ? trail - 0x7E : trail - 0x1F - (trail >= 0x80);
}

std::string toEuc(const std::string& sjis) {
  std::string out;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    auto b = static_cast<unsigned char>(sjis[i]);
    if (b >= 0xA1 && b <= 0xDF) {
      out += '\x8E';
      out += static_cast<char>(b);
    } else if (b >= 0x80) {
      unsigned j1, j2;
      toJis(b, static_cast<unsigned char>(sjis[++i]), j1, j2);
      out += static_cast<char>(j1 | 0x80);
      out += static_cast<char>(j2 | 0x80);
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

std::string toIso2022(const std::string& sjis) {
  std::string out;
  int mode = 0;  // 0 ASCII, 1 JIS X 0208, 2 katakana
  auto to = [&](int m, const char* esc) {
    if (mode != m) out += esc;
    mode = m;
  };
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    auto b = static_cast<unsigned char>(sjis[i]);
    if (b >= 0xA1 && b <= 0xDF) {
      to(2, "\x1B(I");
      out += static_cast<char>(b - 0x80);
    } else if (b >= 0x80) {
      to(1, "\x1B$B");
      unsigned j1, j2;
      toJis(b, static_cast<unsigned char>(sjis[++i]), j1, j2);
      out += static_cast<char>(j1);
      out += static_cast<char>(j2);
    } else {
      to(0, "\x1B(B");
      out += static_cast<char>(b);
    }
  }
  return out;
}

void convert(benchmark::State& state, const std::string& page) {
  for (auto _ : state) {
    std::string out = ls::convertPageToSjis(page);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void BM_ConvertShiftJis(benchmark::State& state) { convert(state, sjisPage()); }
void BM_ConvertEucJp(benchmark::State& state) { convert(state, toEuc(sjisPage())); }
void BM_ConvertIso2022Jp(benchmark::State& state) { convert(state, toIso2022(sjisPage())); }
void BM_ConvertUtf8(benchmark::State& state) { convert(state, ls::cp932ToUtf8(sjisPage())); }

// Unclosed meta tags, escape bytes and broken UTF-8 everywhere, after a joined
// header that never ends.
void BM_ConvertHostile(benchmark::State& state) {
  std::string page = "HTTP/1.0 200 OKContent-Type: text/html";
  const std::string unit = "<meta charset=\x1B$\xE3\x81Content-Type:";
  while (page.size() < static_cast<std::size_t>(state.range(0)) * kPageSize) page += unit;
  convert(state, page);
}

BENCHMARK(BM_ConvertHostile)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertShiftJis)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertEucJp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertIso2022Jp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertUtf8)->Unit(benchmark::kMicrosecond);

}  // namespace
