#include "net/proxy_route.h"

#include <cctype>
#include <vector>

#include "common/text.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"

namespace ls {

namespace {

std::vector<std::string_view> entriesOf(std::string_view list) {
  std::vector<std::string_view> entries;
  std::size_t at = 0;
  while (at < list.size()) {
    while (at < list.size() && (isBlank(list[at]) || list[at] == ';')) ++at;
    std::size_t end = at;
    while (end < list.size() && !isBlank(list[end]) && list[end] != ';') ++end;
    if (end > at) entries.push_back(list.substr(at, end - at));
    at = end;
  }
  return entries;
}

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// '*' matches any run, everything else one character in any letter case.
bool globMatches(std::string_view pattern, std::string_view text) {
  std::size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && lower(pattern[p]) == lower(text[t])) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

ProxySetting readProxySetting(std::string_view settingsFile) {
  ProxySetting s;
  int mode = readProfileInt(settingsFile, kSETTING, kPROXY, 0);
  if (mode == 1) s.mode = ProxyMode::kSystem;
  if (mode == 2) s.mode = ProxyMode::kNamed;
  s.name = readProfileString(settingsFile, kSETTING, kPROXYNAME, "");
  return s;
}

std::optional<ProxyEndpoint> parseProxyName(std::string_view text) {
  text = trimBlanks(text);
  if (startsWithIgnoreAsciiCase(text, "http://")) text.remove_prefix(7);
  if (!text.empty() && text.back() == '/') text.remove_suffix(1);
  if (text.empty() || equalsIgnoreAsciiCase(text, "none")) return std::nullopt;
  for (char c : text) {
    if (static_cast<unsigned char>(c) <= 0x20 || c == '\x7F' || c == '/') return std::nullopt;
  }
  ProxyEndpoint proxy;
  std::size_t colon = text.rfind(':');
  if (colon != std::string_view::npos) {
    std::string_view port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string_view::npos)
      return std::nullopt;
    proxy.port = static_cast<int>(parseLeadingInt(port));
    if (proxy.port < 1 || proxy.port > 65535) return std::nullopt;
    text = text.substr(0, colon);
  }
  if (text.empty()) return std::nullopt;
  proxy.host = std::string(text);
  return proxy;
}

std::optional<ProxyEndpoint> systemProxyFor(std::string_view proxyList, bool secure) {
  std::optional<ProxyEndpoint> forAll, forScheme;
  const std::string_view scheme = secure ? "https" : "http";
  for (std::string_view entry : entriesOf(proxyList)) {
    std::size_t eq = entry.find('=');
    if (eq == std::string_view::npos) {
      if (!forAll) forAll = parseProxyName(entry);
    } else if (equalsIgnoreAsciiCase(entry.substr(0, eq), scheme) && !forScheme) {
      forScheme = parseProxyName(entry.substr(eq + 1));
    }
  }
  return forScheme ? forScheme : forAll;
}

bool bypassesProxy(std::string_view bypassList, std::string_view host) {
  for (std::string_view entry : entriesOf(bypassList)) {
    if (equalsIgnoreAsciiCase(entry, "<local>")) {
      if (host.find('.') == std::string_view::npos) return true;
    } else if (globMatches(entry, host)) {
      return true;
    }
  }
  return false;
}

}  // namespace ls
