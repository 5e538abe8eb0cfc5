// Fuzzes the page conversion: any page. No crash, the result within 1.3
// times the input, a page read as Shift_JIS unchanged, the leading ASCII
// (the header) kept, and the CP932 tables consistent both ways.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/cp932.h"
#include "engine/page_convert.h"
#include "fuzz_input.h"

namespace {

using fuzzing::check;
using fuzzing::takeField;

// The leading run of printable ASCII, tabs and line ends.
std::string_view asciiPrefix(std::string_view page) {
  std::size_t i = 0;
  while (i < page.size() && ((page[i] >= 0x20 && page[i] <= 0x7E) || (page[i] >= 0x09 && page[i] <= 0x0D)))
    ++i;
  return page.substr(0, i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view page(reinterpret_cast<const char*>(data), size);
  const std::size_t limit = size + size * 3 / 10;

  const ls::PageEncoding detected = ls::detectPageEncoding(page);
  const std::string out = ls::convertPageToSjis(page);
  check(out.size() <= limit);
  if (detected == ls::PageEncoding::ShiftJis) check(out == page);
  check(out.compare(0, asciiPrefix(page).size(), asciiPrefix(page)) == 0);

  for (ls::PageEncoding e : {ls::PageEncoding::ShiftJis, ls::PageEncoding::EucJp, ls::PageEncoding::Iso2022Jp,
                             ls::PageEncoding::Utf8, ls::PageEncoding::Utf16Le, ls::PageEncoding::Utf16Be}) {
    std::string forced = ls::convertPageAs(page, e);
    check(forced.size() <= limit);
    if (e == detected) check(forced == out);
  }

  // What the encoder writes decodes to characters that encode back the same.
  const std::string sjis = ls::utf8ToCp932(page);
  check(ls::utf8ToCp932(ls::cp932ToUtf8(sjis)) == sjis);
  check(ls::utf16ToCp932(ls::cp932ToUtf16(sjis)) == sjis);
  return 0;
}
