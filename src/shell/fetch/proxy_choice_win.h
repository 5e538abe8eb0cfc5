// The proxy of one fetch, chosen at its start from the settings file, so a
// change in the settings dialog takes effect at the next fetch.
#pragma once

#include <optional>
#include <string>

#include "net/proxy_route.h"
#include "net/url.h"

namespace ls {

struct ProxyChoice {
  std::optional<ProxyEndpoint> proxy;  // nothing: straight to the host
  bool badName = false;                // PROXY=2 with a name that is no "host:port"
  bool automaticIgnored = false;       // the system asks for a script or detection
};

ProxyChoice chooseProxy(const std::string& settingsFile, const RequestTarget& target);

}  // namespace ls
