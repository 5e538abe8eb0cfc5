// Feed reading speed: a realistic 1 MB feed of 2,000 items read end to end
// as the check reads it (recognition, conversion, items, limits, the user's
// lists), beside memmem of "href=" over the same bytes as the page scan's
// benchmarks are; and hostile feeds at 1 MB and 10 MB (50 MB for the plain
// large feed), which linear code reads in about proportional time.
#include <benchmark/benchmark.h>

#include "bench_reference.h"

#include <string>

#include "common/cp932.h"
#include "engine/page_scan.h"

namespace {

constexpr std::size_t kMB = 1 << 20;

bool g_shiftJis = false;  // the realistic feed's encoding: UTF-8 unless set

// A Shift_JIS literal in the feed's encoding.
std::string utf8(const std::string& sjis) { return g_shiftJis ? sjis : ls::cp932ToUtf8(sjis); }

std::string pageFileOf(const std::string& body, const char* type) {
  return std::string("HTTP/1.0 200 OK\r\r\nContent-Type: ") + type + "\r\r\n\r\r\n" + body;
}

// One RSS 2.0 item of about 520 bytes in UTF-8: a title with an entity, a
// link, a CDATA description in Japanese, date, guid and category.
std::string rssItem(int i) {
  const std::string n = std::to_string(i);
  return "<item>\r\r\n<title>" + utf8("【速報】台風") + n + utf8("号が接近、関東は夜から雨") +
         " &amp; " + utf8("強風") + "</title>\r\r\n<link>https://news.example.jp/articles/2026/12/07/" + n +
         ".html?from=rss</link>\r\r\n<description><![CDATA[<p>" +
         utf8("気象庁によると、台風は勢力を保ったまま北上し、今夜遅くから明日にかけて関東地方に接近する見込みです。") +
         "</p>]]></description>\r\r\n<pubDate>Mon, 07 Dec 2026 10:00:00 +0900</pubDate>\r\r\n"
         "<guid isPermaLink=\"false\">news-" + n + "</guid>\r\r\n<category>" + utf8("社会") +
         "</category>\r\r\n</item>\r\r\n";
}

std::string realisticFeed(std::size_t bytes, int* itemCount = nullptr) {
  std::string body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\r\n<rss version=\"2.0\"><channel><title>" +
                     utf8("ニュース") + "</title><link>https://news.example.jp/</link>\r\r\n";
  int i = 0;
  while (body.size() < bytes) body += rssItem(i++);
  body += "</channel></rss>\r\r\n";
  if (itemCount) *itemCount = i;
  return pageFileOf(body, g_shiftJis ? "application/rss+xml; charset=Shift_JIS" : "application/rss+xml; charset=UTF-8");
}

void readFeed(benchmark::State& state, const std::string& page, const char* extract = "") {
  ls::HeadlineFilters filters;
  filters.deleteList = "&nbsp;,&gt;";
  std::size_t links = 0;
  bench::againstReference(
      state, page.size(),
      [&] {
        std::string bytes = page;
        links = ls::pageLinks(bytes, "https://news.example.jp/rss/index.xml", extract, filters).size();
        benchmark::DoNotOptimize(links);
      },
      [&] { benchmark::DoNotOptimize(bench::memmemHrefs(page)); });
  state.counters["links"] = static_cast<double>(links);
}

using bench::repeatTo;

std::string rssOf(const std::string& inside) { return "<?xml version=\"1.0\"?><rss><channel>" + inside; }

// 2,000 items in 1 MB, the page scan's benchmark page size: in UTF-8, as
// most feeds are (Arg 0), and in Shift_JIS like that page (Arg 1).
void BM_FeedRealistic(benchmark::State& state) {
  g_shiftJis = state.range(0) == 1;
  int items = 0;
  const std::string page = realisticFeed(g_shiftJis ? kMB - 700 : kMB - 600, &items);
  g_shiftJis = false;
  readFeed(state, page, "/articles/");
  state.counters["items"] = items;
}
BENCHMARK(BM_FeedRealistic)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_HostileFeedLarge(benchmark::State& state) { readFeed(state, realisticFeed(state.range(0) * kMB)); }
// Unclosed elements and stray '&' everywhere, items that never end.
void BM_HostileFeedMalformed(benchmark::State& state) {
  readFeed(state, rssOf(repeatTo("<item><title>a & b <p>&amp c<link>http://h/x<description>&", state.range(0) * kMB)));
}
void BM_HostileFeedNested(benchmark::State& state) {
  readFeed(state, rssOf("<item>" + repeatTo("<x>", state.range(0) * kMB)));
}
// Entity declarations that would double at every level if expanded, and
// references to them everywhere.
void BM_HostileFeedEntities(benchmark::State& state) {
  std::string doctype = "<!DOCTYPE rss [<!ENTITY a0 \"ha\">";
  for (int i = 1; i < 30; ++i)
    doctype += "<!ENTITY a" + std::to_string(i) + " \"&a" + std::to_string(i - 1) + ";&a" + std::to_string(i - 1) + ";\">";
  doctype += "]>";
  readFeed(state, "<?xml version=\"1.0\"?>" + doctype + "<rss><channel>" +
                      repeatTo("<item><title>&a29; &a29; &a29;</title><link>http://h/x</link></item>", state.range(0) * kMB));
}
void BM_HostileFeedHugeTitle(benchmark::State& state) {
  readFeed(state, rssOf("<item><title>" + repeatTo(utf8("あ") + "&lt;b&gt;", state.range(0) * kMB) +
                        "</title><link>http://h/x</link></item></channel></rss>"));
}
// Titles whose end tag never comes, under ever new prefixes.
void BM_HostileFeedUnclosedTitles(benchmark::State& state) {
  std::string body;
  for (int i = 0; body.size() < state.range(0) * kMB; ++i) {
    const std::string p = "p" + std::to_string(i);
    body += "<" + p + ":item><" + p + ":title>x<" + p + ":link>http://h/</" + p + ":link>";
  }
  readFeed(state, rssOf(body));
}
void BM_HostileFeedGarbageAfterRoot(benchmark::State& state) {
  std::string garbage;
  for (std::size_t i = 0; garbage.size() < state.range(0) * kMB; ++i)
    garbage += static_cast<char>((i * 2654435761u) >> 13);
  readFeed(state, realisticFeed(4096) + garbage);
}
BENCHMARK(BM_HostileFeedLarge)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileFeedMalformed)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileFeedNested)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileFeedEntities)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileFeedHugeTitle)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileFeedUnclosedTitles)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileFeedGarbageAfterRoot)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
