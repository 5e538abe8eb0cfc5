// Fuzzes the page scan: any page, site URL and headline lists. The scan must
// neither crash nor overrun, must keep its limits, and must agree with the
// slow literal scan of the tests.
//
// Input: site URL, extraction strings, DELETE and DISREGARD, each ended by
// a NUL byte, then the page file's bytes; missing fields are empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/text.h"
#include "engine/link_extract.h"
#include "engine/page_scan.h"
#include "engine/page_text.h"
#include "literal_scan.h"
#include "fuzz_input.h"

using fuzzing::check;
using fuzzing::takeField;


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string url(ls::cutToBytes(takeField(in), 499));
  std::string extract(ls::cutToBytes(takeField(in), 498));
  ls::HeadlineFilters filters;
  filters.deleteList = std::string(ls::cutToBytes(takeField(in), 499));
  filters.disregardList = std::string(ls::cutToBytes(takeField(in), 499));

  std::string text = ls::scanTextOf(in);
  check(text.size() <= in.size() * 13 / 10);
  const std::string converted = text;
  auto links = ls::extractLinks(text, url, extract, filters);
  for (const ls::LinkItem& link : links) {
    check(link.headline.size() <= 999);
    check(link.url.size() <= 499);
  }
  if (converted.size() <= 1 << 16) {
    auto slow = ls::literal::extractLinks(converted, url, extract, filters);
    check(slow.size() == links.size());
    for (std::size_t i = 0; i < links.size(); ++i) {
      check(slow[i].headline == links[i].headline);
      check(slow[i].url == links[i].url);
    }
  }
  return 0;
}
