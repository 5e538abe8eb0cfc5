#include "settings/profile_cache.h"

#include <array>
#include <mutex>
#include <unordered_map>

#include "common/file_snapshot.h"
#include "common/file_text.h"
#include "common/text.h"
#include "settings/ini_file.h"

namespace ls {

namespace {

// Names fold the way equalsIgnoreAsciiCase compares them: ASCII letters
// lower-cased, both bytes of a double-byte character kept as they are.
std::string fold(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (isSjisLead(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
      ++i;
    } else if (out[i] >= 'A' && out[i] <= 'Z') {
      out[i] = static_cast<char>(out[i] - 'A' + 'a');
    }
  }
  return out;
}

// The length keeps "ab" + "c" apart from "a" + "bc".
std::string indexKey(std::string_view section, std::string_view key) {
  std::string s = fold(trimBlanks(section));
  return std::to_string(s.size()) + ':' + s + fold(trimBlanks(key));
}

struct ParsedFile {
  FileSnapshot file;
  // Every key that a read can find: the first key of its name in the first
  // section of its name.
  std::unordered_map<std::string, std::string> values;
  std::uint64_t lastUse = 0;

  void parse() {
    values.clear();
    const std::string text = fileTextToSjis(file.bytes());
    for (const ProfileEntry& e : profileEntries(text)) values.emplace(indexKey(e.section, e.key), e.value);
  }
};

// A handful of files is ever read in one run; the oldest copy makes room.
constexpr std::size_t kFiles = 4;

struct Cache {
  std::mutex lock;
  std::array<std::pair<std::string, ParsedFile>, kFiles> files;
  std::uint64_t uses = 0;

  ParsedFile& slot(std::string_view path) {
    ParsedFile* oldest = &files[0].second;
    for (auto& [p, f] : files) {
      if (p == path && f.lastUse != 0) return f;
      if (f.lastUse < oldest->lastUse) oldest = &f;
    }
    for (auto& [p, f] : files) {
      if (&f == oldest) {
        p = std::string(path);
        f = ParsedFile();
      }
    }
    return *oldest;
  }
};

Cache& cache() {
  static Cache c;
  return c;
}

}  // namespace

std::optional<std::string> cachedProfileValue(std::string_view path, std::string_view section,
                                              std::string_view key) {
  if (trimBlanks(key).empty()) return std::nullopt;
  Cache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  ParsedFile& f = c.slot(path);
  f.lastUse = ++c.uses;
  if (f.file.refresh(std::string(path))) f.parse();
  if (!f.file.readable()) return std::nullopt;
  auto it = f.values.find(indexKey(section, key));
  if (it == f.values.end()) return std::nullopt;
  return it->second;
}

void forgetProfile(std::string_view path) {
  Cache& c = cache();
  std::lock_guard<std::mutex> hold(c.lock);
  for (auto& [p, f] : c.files) {
    if (p == path) f.file.forget();
  }
}

}  // namespace ls
