#include "settings/ini_file.h"

#include <optional>
#include <vector>

#include "common/file_text.h"
#include "common/file_io.h"
#include "common/text.h"
#include "settings/profile_cache.h"

namespace ls {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The lines of the file without their LF or CR LF; a final line break does
// not start another line.
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t lf = text.find('\n', pos);
    std::size_t end = lf == npos ? text.size() : lf;
    std::string_view line = text.substr(pos, end - pos);
    if (lf != npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    pos = end == text.size() ? end : end + 1;
  }
  return lines;
}

// The name of a section line "[name]" (text after the ']' is ignored), or
// nothing for any other line. The ']' is searched character by character: a
// double-byte character may have ']' as its second byte.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == ']') return trimBlanks(line.substr(1, i - 1));
    if (isSjisLead(static_cast<unsigned char>(line[i]))) ++i;
  }
  return std::nullopt;
}

struct KeyLine {
  std::string_view name;
  std::string_view value;
};

// '=' is below the range of second bytes, so a byte-wise search is safe.
std::optional<KeyLine> keyLine(std::string_view line) {
  std::string_view t = trimBlanks(line);
  if (t.empty() || t.front() == ';' || sectionName(t)) return std::nullopt;
  std::size_t eq = t.find('=');
  if (eq == npos) return std::nullopt;
  return KeyLine{trimBlanks(t.substr(0, eq)), trimBlanks(t.substr(eq + 1))};
}

// Where a section and a key are in the lines of a file.
struct Location {
  std::size_t section = npos;  // line of the first matching section
  std::size_t key = npos;      // line of the first matching key in it
  std::size_t lastInSection = npos;  // its last line that is not blank
};

Location locate(const std::vector<std::string_view>& lines, std::string_view section,
                std::string_view key) {
  Location at;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::optional<std::string_view> name = sectionName(lines[i]);
    if (at.section == npos) {
      if (name && equalsIgnoreAsciiCase(*name, section)) at.section = at.lastInSection = i;
      continue;
    }
    if (name) break;  // only the first section of that name counts
    if (!trimBlanks(lines[i]).empty()) at.lastInSection = i;
    if (at.key == npos) {
      std::optional<KeyLine> k = keyLine(lines[i]);
      if (k && equalsIgnoreAsciiCase(k->name, key)) at.key = i;
    }
  }
  return at;
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// A name whose last byte opens a double-byte character would swallow the
// ']' after it, and the reader would never find the section.
bool endsInsideCharacter(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) i += isSjisLead(static_cast<unsigned char>(s[i])) ? 2 : 1;
  return i > s.size();
}

bool holdsLineBreakOrNul(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != npos; }

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) appendLine(out, line);
  return out;
}

// The value of the key with surrounding blanks and one pair of quotes
// removed, or nothing when the section or the key is missing.
std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
  section = trimBlanks(section);
  key = trimBlanks(key);
  if (key.empty()) return std::nullopt;
  std::vector<std::string_view> lines = splitLines(text);
  Location at = locate(lines, section, key);
  if (at.key == npos) return std::nullopt;
  return unquote(keyLine(lines[at.key])->value);
}

}  // namespace

namespace {

// The value found, or the default the way Windows gives it.
std::string valueOrDefault(std::optional<std::string_view> value, std::string_view def, std::size_t maxBytes) {
  if (!value) {
    // Windows drops the trailing blanks of a default, not the leading ones.
    value = def;
    while (!value->empty() && isBlank(value->back())) value->remove_suffix(1);
  }
  return std::string(cutToBytes(*value, maxBytes));
}

}  // namespace

std::string readProfileText(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view def, std::size_t maxBytes) {
  return valueOrDefault(findValue(text, section, key), def, maxBytes);
}

std::vector<ProfileEntry> profileEntries(std::string_view text) {
  std::vector<ProfileEntry> entries;
  std::vector<std::string_view> seen;
  bool counts = false;  // keys before the first section belong to none
  std::string_view section;
  for (std::string_view line : splitLines(text)) {
    if (std::optional<std::string_view> name = sectionName(line)) {
      counts = true;
      for (std::string_view s : seen) counts = counts && !equalsIgnoreAsciiCase(s, *name);
      seen.push_back(*name);
      section = *name;
      continue;
    }
    if (!counts) continue;
    if (std::optional<KeyLine> k = keyLine(line)) entries.push_back({section, k->name, unquote(k->value)});
  }
  return entries;
}

bool updateProfileText(std::string& text, std::string_view section, std::string_view key,
                       std::string_view value) {
  section = trimBlanks(section);
  key = trimBlanks(key);
  if (section.empty() || key.empty() || holdsLineBreakOrNul(section) || holdsLineBreakOrNul(key) ||
      holdsLineBreakOrNul(value) || key.find('=') != npos || key.front() == ';' ||
      key.front() == '[' || section.find(']') != npos || endsInsideCharacter(section))
    return false;

  std::vector<std::string_view> views = splitLines(text);
  Location at = locate(views, section, key);
  std::vector<std::string> lines(views.begin(), views.end());
  std::string entry = std::string(key) + "=" + std::string(value);
  if (at.key != npos) {
    // Keep the key's own spelling; only the value changes.
    lines[at.key] = std::string(keyLine(views[at.key])->name) + "=" + std::string(value);
  } else if (at.section != npos) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at.lastInSection + 1), entry);
  } else {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(entry);
  }
  text = joinLines(lines);
  return true;
}

std::string readProfileString(std::string_view path, std::string_view section, std::string_view key,
                              std::string_view def, std::size_t maxBytes) {
  std::optional<std::string> value = cachedProfileValue(path, section, key);
  return valueOrDefault(value ? std::optional<std::string_view>(*value) : std::nullopt, def, maxBytes);
}

int readProfileInt(std::string_view path, std::string_view section, std::string_view key, int def) {
  std::optional<std::string> value = cachedProfileValue(path, section, key);
  if (!value || value->empty()) return def;
  return parseInt(*value);
}

bool writeProfileString(std::string_view path, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::string text;
  if (isPlainFile(path)) {
    std::optional<std::string> old = readWholeFile(path);
    if (!old) return false;  // never replace a file that could not be read
    // A file saved as UTF-8 is written back in the program's own format.
    text = fileTextToSjis(std::move(*old));
  }
  if (!updateProfileText(text, section, key, value)) return false;
  bool written = rewriteFile(path, text);
  forgetProfile(path);
  return written;
}

}  // namespace ls
