// Splitting a page's URL into scheme, host, port and path, and the HTTP/1.1
// requests sent for it: straight to its host, or through an HTTP proxy.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "net/validators.h"

namespace ls {

// Where a fetch connects and what it asks for.
struct RequestTarget {
  bool secure = false;  // "https://": TLS to the host
  std::string host;     // without scheme, port and path
  int port = 80;        // 443 by default for https
  std::string path;     // from the first "/" after the host, query and fragment included, spaces as %20
};

// Splits an "http://" or "https://" URL (scheme in any letter case). Only
// "/" ends the host part, so "h?a=1" is a host; a ":" in the host part
// starts the port, read the way atoi reads ("h:/x" gives port 0). Nothing
// (the refusal that the fetcher treats as port -1) for a URL no longer than
// its scheme, any other scheme, a port outside 0..65535, or a URL holding a
// control byte (below 0x20, or 0x7F: a CR or LF would split the request in
// two). A space in the path is sent as "%20". The lengths of host and path
// have no limit of their own.
std::optional<RequestTarget> splitUrl(std::string_view url);

// The URL of a target again, with its port always written.
std::string urlOf(const RequestTarget& target);

// "host", or "host:port" when the port is not the scheme's default, as
// browsers write the Host header.
std::string hostHeader(const RequestTarget& target);

// The request for `target`, byte for byte:
// "GET <path> HTTP/1.1\r\nHost: <host header>\r\nUser-Agent: LINKSCOUT/<version>\r\n"
// "Accept: ...\r\nAccept-Encoding: gzip, deflate\r\n", then If-None-Match and
// If-Modified-Since for the validators there are, "Connection: close\r\n\r\n".
// A validator holding a control byte is left out: it would end the line.
std::string composeRequest(const RequestTarget& target, const Validators& validators = {});

// The same request sent to an HTTP proxy: the target in absolute form
// ("GET http://<host header><path> HTTP/1.1"), the other lines unchanged.
std::string composeProxyRequest(const RequestTarget& target, const Validators& validators = {});

// The tunnel request to an HTTP proxy for a TLS connection to the target:
// "CONNECT <host>:<port> HTTP/1.1\r\nHost: <host>:<port>\r\nUser-Agent: ...\r\n\r\n".
std::string composeConnect(const RequestTarget& target);

}  // namespace ls
