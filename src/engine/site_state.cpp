#include "engine/site_state.h"

#include <set>

#include "common/file_io.h"
#include "common/text.h"

namespace ls {

namespace {

constexpr std::string_view kHeader = "LINKSCOUT site state 1";
// A validator longer than this, or one holding a control byte, is not kept.
constexpr std::size_t kValidatorLimit = 1000;

bool keepable(const std::string& v) {
  if (v.size() > kValidatorLimit) return false;
  for (char c : v)
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') return false;
  return true;
}

std::optional<std::int64_t> seconds(const std::string& line) {
  if (line.empty() || line.size() > 18 || line.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return parseLeadingInt(line);
}

}  // namespace

std::string siteStateText(const SiteStates& states) {
  std::string out;
  appendLine(out, kHeader);
  for (const auto& [key, s] : states) {
    if (s.empty()) continue;
    appendLine(out, key.first);
    appendLine(out, key.second);
    appendLine(out, keepable(s.validators.etag) ? s.validators.etag : "");
    appendLine(out, keepable(s.validators.lastModified) ? s.validators.lastModified : "");
    appendLine(out, std::to_string(s.waitUntil));
    appendLine(out, std::to_string(s.lastWait));
  }
  return out;
}

SiteStates parseSiteStates(std::string_view text) {
  SiteStates states;
  std::string line;
  if (!readLine(text, line) || line != kHeader) return states;
  std::string lines[6];
  for (;;) {
    int got = 0;
    while (got < 6 && readLine(text, lines[got])) ++got;
    if (got < 6) break;
    std::optional<std::int64_t> until = seconds(lines[4]), last = seconds(lines[5]);
    // A record whose numbers do not read is damaged: that site starts afresh.
    if (!until || !last || !keepable(lines[2]) || !keepable(lines[3])) continue;
    SiteState s{Validators{lines[2], lines[3]}, *until, *last};
    states[{lines[0], lines[1]}] = s;
  }
  return states;
}

void SiteStateStore::load() {
  if (loaded_) return;
  loaded_ = true;
  if (std::optional<std::string> text = readWholeFile(path_)) states_ = parseSiteStates(*text);
}

SiteState SiteStateStore::get(const Site& site) {
  load();
  auto it = states_.find({site.url, site.extract});
  return it == states_.end() ? SiteState{} : it->second;
}

void SiteStateStore::put(const Site& site, const SiteState& state) {
  load();
  SiteState& kept = states_[{site.url, site.extract}];
  if (kept.validators == state.validators && kept.waitUntil == state.waitUntil && kept.lastWait == state.lastWait)
    return;
  kept = state;
  dirty_ = true;
}

bool SiteStateStore::save(const std::vector<Site>& sites) {
  load();
  std::set<std::pair<std::string, std::string>> present;
  for (const Site& s : sites) present.insert({s.url, s.extract});
  for (auto it = states_.begin(); it != states_.end();) {
    if (present.count(it->first) && !it->second.empty()) {
      ++it;
    } else {
      it = states_.erase(it);
      dirty_ = true;
    }
  }
  if (!dirty_) return true;
  if (!rewriteFile(path_, siteStateText(states_))) return false;
  dirty_ = false;
  return true;
}

}  // namespace ls
