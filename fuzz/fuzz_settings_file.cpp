// Fuzzes the settings file reader and writer: any file text read with any
// section and key, then a write and its read-back. A write that is accepted
// must read back as written and leave every other key as it was; a refused
// one must change nothing; the file functions must agree with the text ones.
//
// Input: section, key, value, a second section and key to watch, each ended
// by a NUL byte (missing fields are empty), then the file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

#include "common/file_io.h"
#include "common/file_text.h"
#include "common/text.h"
#include "settings/ini_file.h"
#include "fuzz_input.h"

namespace {

using fuzzing::check;
using fuzzing::takeField;

std::string_view trimmed(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) { return ls::equalsIgnoreAsciiCase(trimmed(a), trimmed(b)); }

const std::string& iniPath() {
  static const std::string path = [] {
    auto dir = std::filesystem::temp_directory_path() / ("linkscout-fuzz-ini-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / "test.ini").string();
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string section(takeField(in)), key(takeField(in)), value(takeField(in));
  const std::string otherSection(takeField(in)), otherKey(takeField(in));
  const std::string original(in);

  // Reading anything: a cut value stays within its limit at a boundary.
  std::string read = ls::readProfileText(original, section, key, "<default>", 17);
  check(read.size() <= 17 && ls::cutLength(read, 17) == read.size());
  const std::string otherBefore = ls::readProfileText(original, otherSection, otherKey, "<none>");

  std::string text = original;
  const bool written = ls::updateProfileText(text, section, key, value);
  if (!written) {
    check(text == original);
  } else {
    // Read back as a file holding nothing else would read it.
    const std::string alone = "[S]\r\nk=" + value + "\r\n";
    check(ls::readProfileText(text, section, key, "<none>") == ls::readProfileText(alone, "S", "k", "<none>"));
    if (!(sameName(section, otherSection) && sameName(key, otherKey)))
      check(ls::readProfileText(text, otherSection, otherKey, "<none>") == otherBefore);
    // A second write of the same value changes nothing more.
    std::string again = text;
    check(ls::updateProfileText(again, section, key, value) && again == text);
  }

  // The file functions do the same as the text functions, on the file's
  // text as read: a file saved as UTF-8 is read in Shift_JIS, once for all.
  // The program writes Shift_JIS texts only; bytes that are none (such as
  // C3 A9) could make a written file read as UTF-8 the next time.
  for (const std::string* t : {&section, &key, &value})
    if (!ls::isWellFormedSjis(*t)) return 0;
  const std::string asRead = ls::fileTextToSjis(original);
  check(ls::fileTextToSjis(asRead) == asRead);
  std::string fileText = asRead;
  const bool fileWritten = ls::updateProfileText(fileText, section, key, value);
  const std::string& path = iniPath();
  ls::rewriteFile(path, original);
  check(ls::writeProfileString(path, section, key, value) == fileWritten);
  check(ls::readWholeFile(path).value_or("<unreadable>") == (fileWritten ? fileText : original));
  check(ls::readProfileString(path, otherSection, otherKey, "<none>") ==
        ls::readProfileText(fileText, otherSection, otherKey, "<none>"));
  int number = ls::readProfileInt(path, section, key, -7);
  std::string asText = ls::readProfileText(fileText, section, key, "");
  check(asText.empty() ? number == -7 : number == ls::parseInt(asText));
  return 0;
}
