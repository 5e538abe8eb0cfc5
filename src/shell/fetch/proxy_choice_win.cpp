#include "shell/fetch/proxy_choice_win.h"

#include <windows.h>
#include <winhttp.h>

#include "win/wide_win.h"

namespace ls {

namespace {

std::string narrow(const wchar_t* text) { return text ? fromWide(text) : std::string(); }

// The system's static proxy for the target, from the user's Internet settings.
ProxyChoice systemProxy(const RequestTarget& target) {
  ProxyChoice choice;
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return choice;
  std::string proxies = narrow(config.lpszProxy), bypass = narrow(config.lpszProxyBypass);
  // A script or detection would need a JavaScript engine or a network
  // search; the static setting, if any, still counts.
  choice.automaticIgnored = config.fAutoDetect || config.lpszAutoConfigUrl;
  for (LPWSTR p : {config.lpszAutoConfigUrl, config.lpszProxy, config.lpszProxyBypass}) {
    if (p) GlobalFree(p);
  }
  if (!bypassesProxy(bypass, target.host)) choice.proxy = systemProxyFor(proxies, target.secure);
  if (choice.proxy) choice.automaticIgnored = false;
  return choice;
}

}  // namespace

ProxyChoice chooseProxy(const std::string& settingsFile, const RequestTarget& target) {
  ProxySetting setting = readProxySetting(settingsFile);
  ProxyChoice choice;
  switch (setting.mode) {
    case ProxyMode::kDirect:
      break;
    case ProxyMode::kSystem:
      choice = systemProxy(target);
      break;
    case ProxyMode::kNamed:
      choice.proxy = parseProxyName(setting.name);
      choice.badName = !choice.proxy;
      break;
  }
  return choice;
}

}  // namespace ls
