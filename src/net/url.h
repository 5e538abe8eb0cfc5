// Splitting a page's URL into host, port and path, and the HTTP/1.0 request
// sent for it. Only "http://" URLs are fetched, straight from their host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ls {

// Where a fetch connects and what it asks for.
struct RequestTarget {
  std::string host;  // without scheme, port and path
  int port = 80;
  std::string path;  // from the first "/" after the host, query and fragment included, spaces as %20
};

// Splits an "http://" URL (scheme in any letter case). Only "/" ends the host
// part, so "h?a=1" is a host; a ":" in the host part starts the port, read
// the way atoi reads ("h:/x" gives port 0). Nothing (the refusal that the
// fetcher treats as port -1) for a URL of 7 bytes or fewer, any other
// scheme, a port outside 0..65535, or a URL holding a control byte (below
// 0x20, or 0x7F: a CR or LF would split the request in two). A space in the
// path is sent as "%20". The lengths of host and path have no limit of
// their own.
std::optional<RequestTarget> splitUrl(std::string_view url);

// The request for `target`, byte for byte:
// "GET <path> HTTP/1.0\r\nHost: <host>:<port>\r\nUser-Agent: <program title>\r\n\r\n".
// The Host header carries the port also when it is 80.
std::string composeRequest(const RequestTarget& target);

}  // namespace ls
