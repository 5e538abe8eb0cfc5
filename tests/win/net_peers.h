// The network peers on 127.0.0.1 that CTest starts around the Windows suite
// (tests/peers/net_peers.py): plain and TLS servers and proxies, found by
// name in the ports file they write. Before the suite, CTest has made the
// prefix trust their certificate authority (trust_test_ca.exe).
#pragma once

#include <string>

namespace lstest {

// The port of a peer ("http", "tls_good", "proxy", ...); fails the test and
// gives 0 when the peers are not running.
int peerPort(const std::string& name);
// "http://127.0.0.1:<port of http><path>", "https://localhost:<port of tls_good><path>", ...
std::string peerUrl(const std::string& scheme, const std::string& host, const std::string& peer,
                    const std::string& path);
// What the proxies have logged so far, one request line per line.
std::string proxyLog();

}  // namespace lstest
