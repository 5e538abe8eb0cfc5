// Page scan, wizard listing and detection speed, on a realistic page and on
// hostile ones, every scan beside memmem of "href=" over the same bytes.
// Each hostile kind runs at 1 MB and 10 MB so the two can be compared:
// linear code takes about ten times as long for the larger one.
#include <benchmark/benchmark.h>

#include "bench_reference.h"

#include <filesystem>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "common/file_io.h"
#include "engine/link_extract.h"
#include "engine/page_scan.h"
#include "engine/page_text.h"
#include "engine/site_log.h"
#include "wizard/link_listing.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

constexpr std::size_t kMB = 1 << 20;

#ifdef __GLIBC__
// Buffers of 10 MB would otherwise be mapped afresh at every iteration while
// those of 1 MB are reused from the heap, and on a virtual machine the first
// touch of new pages costs more than the scan itself. Reusing both measures
// the code, which is what the 1 MB against 10 MB comparison is about.
const bool kHeapKept = [] {
  mallopt(M_MMAP_THRESHOLD, 512 << 20);
  mallopt(M_TRIM_THRESHOLD, 1024 << 20);
  return true;
}();
#endif

using bench::repeatTo;

// A Shift_JIS news page of about 1 MB with 5,000 links amid markup, as
// the page file stores it (CR CR LF line ends).
std::string realisticPage() {
  std::string page = "HTTP/1.0 200 OK\r\r\nContent-Type: text/html; charset=Shift_JIS\r\r\n\r\r\n<html><head>"
                     "<title>ニュース</title></head><body>\r\r\n";
  for (int i = 0; page.size() < kMB; ++i) {
    page += "<div class=\"item\"><span class=\"date\">2026/12/07 10:" + std::to_string(i % 60) +
            "</span><!-- item -->\r\r\n";
    page += "<a href=\"/news/2026/12/07/" + std::to_string(i) + ".html\" target=\"_top\">【速報】台風" +
            std::to_string(i) + "号が接近、関東は夜から雨&nbsp;<b>続報</b></a></div>\r\r\n";
  }
  return page;
}

void scanText(benchmark::State& state, const std::string& page, const char* extract = "",
              ls::HeadlineFilters filters = {}) {
  std::size_t links = 0;
  bench::againstReference(
      state, page.size(),
      [&] {
        std::string text = ls::scanTextOf(page);
        links = ls::extractLinks(text, "http://host/news/index.html", extract, filters).size();
        benchmark::DoNotOptimize(links);
      },
      [&] { benchmark::DoNotOptimize(bench::memmemHrefs(page)); });
  state.counters["links"] = static_cast<double>(links);
}

ls::HeadlineFilters realisticFilters() {
  ls::HeadlineFilters f;
  f.deleteList = "&nbsp;,&gt;";
  return f;
}

void BM_ScanRealistic(benchmark::State& state) {
  static const std::string page = realisticPage();
  scanText(state, page, "/news/", realisticFilters());
}
BENCHMARK(BM_ScanRealistic)->Unit(benchmark::kMillisecond);

// The same page in UTF-8, as declared: the conversion a UTF-8 feed goes
// through too, for comparing the two like with like.
void BM_ScanRealisticUtf8(benchmark::State& state) {
  static const std::string page = [] {
    const std::string sjis = realisticPage();
    const std::size_t body = sjis.find("\r\r\n\r\r\n") + 6;
    std::string head = sjis.substr(0, body);
    head.replace(head.find("Shift_JIS"), 9, "UTF-8");
    return head + ls::cp932ToUtf8(std::string_view(sjis).substr(body));
  }();
  scanText(state, page, "/news/", realisticFilters());
}
BENCHMARK(BM_ScanRealisticUtf8)->Unit(benchmark::kMillisecond);

// The two halves of that scan: join and conversion, then link extraction on
// the converted text (its copy included, since the extraction edits it).
void BM_ScanRealisticJoinConvert(benchmark::State& state) {
  static const std::string page = realisticPage();
  bench::againstReference(
      state, page.size(), [&] { benchmark::DoNotOptimize(ls::scanTextOf(page).size()); },
      [&] { benchmark::DoNotOptimize(bench::memmemHrefs(page)); });
}
void BM_ScanRealisticExtract(benchmark::State& state) {
  static const std::string page = realisticPage();
  static const std::string converted = ls::scanTextOf(page);
  const ls::HeadlineFilters f = realisticFilters();
  bench::againstReference(
      state, page.size(),
      [&] {
        std::string text = converted;
        benchmark::DoNotOptimize(ls::extractLinks(text, "http://host/news/index.html", "/news/", f).size());
      },
      [&] { benchmark::DoNotOptimize(bench::memmemHrefs(page)); });
}
BENCHMARK(BM_ScanRealisticJoinConvert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRealisticExtract)->Unit(benchmark::kMillisecond);

void BM_ListingRealistic(benchmark::State& state) {
  static const std::string page = realisticPage();
  for (auto _ : state) benchmark::DoNotOptimize(ls::listPageLinks(page).size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ListingRealistic)->Unit(benchmark::kMillisecond);

void BM_HostileComments(benchmark::State& state) {
  scanText(state, repeatTo("<!---->", state.range(0) * kMB));
}
void BM_HostileUnclosedHref(benchmark::State& state) {
  scanText(state, repeatTo("href=x>", state.range(0) * kMB));
}
// Every "href=" inside a tag that is no anchor, some tags very long: each
// is passed over by looking back no further than the last one.
void BM_HostileHrefInOtherTags(benchmark::State& state) {
  scanText(state, repeatTo("<link rel=x href=a.css>" + repeatTo("<base href=", 400) + ">", state.range(0) * kMB));
}
void BM_HostileDotDotChains(benchmark::State& state) {
  scanText(state, repeatTo("<a href=" + repeatTo("../", 6000) + "x.html>a long headline</a>\r\r\n", state.range(0) * kMB));
}
void BM_HostileHugeHeadline(benchmark::State& state) {
  scanText(state, "<a href=x.html>" + repeatTo("あ", state.range(0) * kMB) + "</a>");
}
void BM_HostileDeleteEverywhere(benchmark::State& state) {
  ls::HeadlineFilters f;
  f.deleteList = "aa";
  scanText(state, repeatTo("<a href=x.html>" + repeatTo("a", 990) + "</a>", state.range(0) * kMB), "", f);
}
void BM_HostileListingComments(benchmark::State& state) {
  std::string page = repeatTo("<!-- -->", state.range(0) * kMB);
  for (auto _ : state) benchmark::DoNotOptimize(ls::listPageLinks(page).size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
void BM_HostileListingUnclosedHref(benchmark::State& state) {
  std::string page = repeatTo("href = x >", state.range(0) * kMB);
  for (auto _ : state) benchmark::DoNotOptimize(ls::listPageLinks(page).size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_HostileComments)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileUnclosedHref)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileHrefInOtherTags)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileDotDotChains)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileHugeHeadline)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileDeleteEverywhere)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileListingComments)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileListingUnclosedHref)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Detection of 2,000 links against a previous log of 2,000: none new (the
// comparison alone), or half of them new (each goes to the list and the
// all-links log, reading the settings anew).
class MemoryList : public ls::NewsList {
 public:
  int count() const override { return static_cast<int>(rows_.size()); }
  void insertRow(int row, const std::string& h, int) override { rows_.insert(rows_.begin() + row, h); }
  void setText(int, int, const std::string&) override {}
  std::string text(int row, int) const override { return rows_[row]; }
  int icon(int) const override { return 0; }
  void setIcon(int, int) override {}
  void deleteRow(int row) override { rows_.erase(rows_.begin() + row); }
  void clear() override { rows_.clear(); }
  void repaint() override {}

 private:
  std::vector<std::string> rows_;
};

class QuietUi : public ls::UserInterface {
 public:
  void setStatus(int, const std::string&) override {}
  void message(const std::string&) override {}
};

void BM_Detection2000(benchmark::State& state) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "linkscout-bench-detect";
  fs::create_directories(dir / "LOG");
  MemoryList list;
  QuietUi ui;
  ls::EngineContext ctx;
  ctx.appDir = dir.string() + "/";
  ctx.settingsPath = ctx.appDir + "LINKSCOUT.ini";
  ctx.news = &list;
  ctx.ui = &ui;
  std::string previous, current;
  for (int i = 0; i < 2000; ++i) {
    std::string h = "【速報】台風" + std::to_string(i) + "号が接近、関東は夜から雨 続報あり";
    ls::appendLogEntry(previous, h, "http://host/news/" + std::to_string(i) + ".html");
    std::string c = (state.range(0) && i % 2 == 0) ? "新しい見出し " + std::to_string(i) + " 地震情報" : h;
    ls::appendLogEntry(current, c, "http://host/news/" + std::to_string(i) + ".html");
  }
  ls::SiteLogPaths p = ls::siteLogPaths(ctx, "bench");
  for (auto _ : state) {
    state.PauseTiming();
    ls::rewriteFile(p.previous, previous);
    ls::rewriteFile(p.current, current);
    ls::removeFile(p.all);
    list.clear();
    state.ResumeTiming();
    benchmark::DoNotOptimize(ls::detectNewLinks(ctx, "bench", 0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (previous.size() + current.size())));
  fs::remove_all(dir);
}
BENCHMARK(BM_Detection2000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
