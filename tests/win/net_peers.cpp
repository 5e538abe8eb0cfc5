#include "net_peers.h"

#include <gtest/gtest.h>

#include <sstream>

#include "win_test_support.h"

namespace lstest {

int peerPort(const std::string& name) {
  std::istringstream ports(fileBytes(std::string(LINKSCOUT_PEERS_DIR) + "/ports.txt"));
  std::string peer;
  int port = 0;
  while (ports >> peer >> port) {
    if (peer == name) return port;
  }
  ADD_FAILURE() << "no peer \"" << name << "\" in " << LINKSCOUT_PEERS_DIR
                << "/ports.txt (CTest starts the peers with tests/peers/peers_fixture.sh)";
  return 0;
}

std::string peerUrl(const std::string& scheme, const std::string& host, const std::string& peer,
                    const std::string& path) {
  return scheme + "://" + host + ":" + std::to_string(peerPort(peer)) + path;
}

std::string proxyLog() { return fileBytes(std::string(LINKSCOUT_PEERS_DIR) + "/proxy.log"); }

}  // namespace lstest
