// Which HTTP proxy a fetch goes through: the one named in the settings, or
// the system's static setting read by the shell (a proxy list and a bypass
// list in the platform's text form).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ls {

struct ProxyEndpoint {
  std::string host;
  int port = 80;
};

enum class ProxyMode { kDirect = 0, kSystem = 1, kNamed = 2 };

// SETTING/PROXY (1 and 2 as written, anything else direct) and PROXYNAME.
struct ProxySetting {
  ProxyMode mode = ProxyMode::kDirect;
  std::string name;
};
ProxySetting readProxySetting(std::string_view settingsFile);

// A "host:port" proxy name; blanks around it are trimmed, and an "http://"
// in front or a "/" after it are tolerated. Without a port, 80. Nothing for
// an empty name, "none", a port outside 1..65535, or a host holding a blank
// or a control byte.
std::optional<ProxyEndpoint> parseProxyName(std::string_view text);

// The system's proxy list: entries separated by ';' or blanks, each
// "host:port" for every scheme or "scheme=host:port". The entry for "https"
// or "http" (as `secure` says) wins over one without a scheme; entries for
// other schemes (socks, ftp) are never used.
std::optional<ProxyEndpoint> systemProxyFor(std::string_view proxyList, bool secure);

// The system's bypass list: entries separated by ';' or blanks, compared
// with the host in any letter case, '*' matching any run of characters;
// "<local>" matches a host name without a dot.
bool bypassesProxy(std::string_view bypassList, std::string_view host);

}  // namespace ls
