// The real fetcher against the loopback peers: https pages checked against
// a test certificate authority, broken certificates and handshakes,
// redirects, and proxies. Every fault ends with its own status text and a
// next fetch that works.
#include <gtest/gtest.h>

#include <string>

#include "fetch_fixture.h"
#include "net/page_file.h"
#include "net_peers.h"
#include "settings/ini_file.h"

namespace {

const std::string kSecureBody =
    "<html><body><a href=\"item1.html\">secure headline number one</a>"
    "<a href=\"../item2.html\">secure headline number two</a></body></html>";

class SecureFetch : public lstest::FetchHarness {
 protected:
  std::string https(const std::string& peer, const std::string& path) {
    return lstest::peerUrl("https", "localhost", peer, path);
  }
  std::string http(const std::string& path) { return lstest::peerUrl("http", "127.0.0.1", "http", path); }

  // The settings file of the fetcher with these proxy keys.
  void useProxy(const std::string& mode, const std::string& name) {
    std::string settings = dir_.file("LINKSCOUT.ini");
    ASSERT_TRUE(ls::writeProfileString(settings, "SETTING", "PROXY", mode));
    ASSERT_TRUE(ls::writeProfileString(settings, "SETTING", "PROXYNAME", name));
    fetcher_.setSettingsFile(settings);
  }

  void expectFailure(const std::string& url, const char* text) {
    SCOPED_TRACE(url);
    ASSERT_TRUE(fetch(url));
    ASSERT_EQ(outcome_.failures.size(), 1u) << "received instead";
    EXPECT_EQ(outcome_.failures[0], text);
    EXPECT_EQ(ui_.status[1], text);
    EXPECT_FALSE(fetcher_.inFlight());
  }

  // The page file holds one 200 response whose body is `body`.
  void expectPage(const std::string& body) {
    std::string stored = page(), expected = ls::pageFileBytes(body);
    EXPECT_EQ(stored.rfind("HTTP/1.0 200 OK\r\r\n", 0), 0u) << stored.substr(0, 200);
    ASSERT_GE(stored.size(), expected.size());
    EXPECT_EQ(stored.substr(stored.size() - expected.size()), expected);
  }

  // After a fault the next https fetch works.
  void expectUsable() {
    ASSERT_TRUE(fetch(https("tls_good", "/dir/page.html")));
    EXPECT_EQ(outcome_.received, 1);
    expectPage(kSecureBody);
    EXPECT_EQ(ui_.status[1], ls::kMsgReceived);
  }
};

TEST_F(SecureFetch, PageSignedByATrustedAuthority) {
  ASSERT_TRUE(fetch(https("tls_good", "/dir/page.html")));
  ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
  expectPage(kSecureBody);
  EXPECT_EQ(ui_.status[1], ls::kMsgReceived);
  EXPECT_TRUE(fetcher_.tlsProtocol() == "TLS 1.2" || fetcher_.tlsProtocol() == "TLS 1.3") << fetcher_.tlsProtocol();
  EXPECT_FALSE(fetcher_.inFlight());
  std::printf("negotiated %s\n", fetcher_.tlsProtocol().c_str());
}

TEST_F(SecureFetch, TlsOlderThan12IsRefused) {
  expectFailure(https("tls11_only", "/dir/page.html"), ls::kMsgTlsFailed);
  EXPECT_EQ(page(), "<missing>");
  expectUsable();
}

TEST_F(SecureFetch, EachProtocolVersionTheSystemOffers) {
  ASSERT_TRUE(fetch(https("tls12_only", "/dir/page.html")));
  ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
  EXPECT_EQ(fetcher_.tlsProtocol(), "TLS 1.2");
  expectPage(kSecureBody);
  // Wine 8 offers TLS 1.2 only; a system with TLS 1.3 gets the page, one
  // without it a clean TLS failure, never a page over something else.
  ASSERT_TRUE(fetch(https("tls13_only", "/dir/page.html")));
  const bool offered = outcome_.received == 1;
  if (offered) {
    EXPECT_EQ(fetcher_.tlsProtocol(), "TLS 1.3");
    expectPage(kSecureBody);
  } else {
    ASSERT_EQ(outcome_.failures.size(), 1u);
    EXPECT_EQ(outcome_.failures[0], ls::kMsgTlsFailed);
    expectUsable();
  }
  std::printf("TLS 1.3 only: %s\n", offered ? "received" : "not offered by this system");
}

TEST_F(SecureFetch, TheRequestIsTheSameBytesAsOverPlainHttp) {
  ASSERT_TRUE(fetch(https("tls_good", "/echo")));
  ASSERT_EQ(outcome_.received, 1);
  expectPage(ls::composeRequest(*ls::splitUrl(https("tls_good", "/echo"))));
}

TEST_F(SecureFetch, AnAddressIsCheckedAgainstTheCertificatesAddresses) {
  ASSERT_TRUE(fetch(lstest::peerUrl("https", "127.0.0.1", "tls_good", "/dir/page.html")));
  ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
  expectPage(kSecureBody);
  // The wrong-name certificate holds no address; the others hold it but
  // fail for their own reasons.
  for (const char* peer : {"tls_wrong_name", "tls_expired", "tls_self_signed"})
    expectFailure(lstest::peerUrl("https", "127.0.0.1", peer, "/dir/page.html"), ls::kMsgCertRejected);
}

TEST_F(SecureFetch, CertificatesThatDoNotCheckOut) {
  for (const char* peer :
       {"tls_wrong_name", "tls_expired", "tls_self_signed", "tls_untrusted_ca", "tls_no_intermediate"}) {
    SCOPED_TRACE(peer);
    expectFailure(https(peer, "/dir/page.html"), ls::kMsgCertRejected);
    EXPECT_EQ(page(), "<missing>") << "nothing of the page arrived";
    expectUsable();
  }
}

TEST_F(SecureFetch, AChainWithItsIntermediateChecksOut) {
  ASSERT_TRUE(fetch(https("tls_with_intermediate", "/dir/page.html")));
  ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
  expectPage(kSecureBody);
}

TEST_F(SecureFetch, ServerThatClosesDuringTheHandshake) {
  expectFailure(https("tls_close_handshake", "/"), ls::kMsgTlsFailed);
  expectUsable();
}

TEST_F(SecureFetch, TheTimeoutCoversTheHandshake) {
  fetcher_.setTimeoutMs(1500);
  expectFailure(https("tls_hang_handshake", "/"), ls::kMsgTimeout);
  fetcher_.setTimeoutMs(120000);
  expectUsable();
}

TEST_F(SecureFetch, PlainHttpToATlsPortFails) {
  ASSERT_TRUE(fetch(lstest::peerUrl("http", "localhost", "tls_good", "/dir/page.html")));
  // The TLS server answers a plain request with an alert or a close, never
  // with a page.
  EXPECT_TRUE(outcome_.ended());
  EXPECT_EQ(page().find("HTTP/1.0 200"), std::string::npos) << page();
  expectUsable();
}

TEST_F(SecureFetch, PageInManyTinyRecords) {
  ASSERT_TRUE(fetch(https("tls_good", "/small-records"), 60000));
  ASSERT_EQ(outcome_.received, 1);
  std::string stored = page();
  EXPECT_EQ(stored.rfind("HTTP/1.0 200 OK\r\r\n", 0), 0u);
  std::string body = stored.substr(stored.find("\r\r\n\r\r\n") + 6);
  EXPECT_EQ(body.size(), 20000u);
  EXPECT_EQ(body.substr(0, 14), "record-record-");
  EXPECT_EQ(body.substr(body.size() - 3), "END");
}

TEST_F(SecureFetch, FiftyMegabyteBody) {
  DWORD started = GetTickCount();
  ASSERT_TRUE(fetch(https("tls_good", "/big"), 300000));
  ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
  std::printf("50 MB over TLS in %lu ms\n", GetTickCount() - started);
  std::string stored = page();
  std::size_t bodyAt = stored.find("\r\r\n\r\r\n") + 6;
  // Each 64-byte line gains a CR in the page file.
  EXPECT_EQ(stored.size() - bodyAt, 52428800u + 52428800u / 64);
  EXPECT_EQ(stored.substr(stored.size() - 65), "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ+\r\n");
}

TEST_F(SecureFetch, RedirectFromHttpToHttpsIsFollowedAndAPermanentOneReported) {
  ASSERT_TRUE(fetch(http("/to-https")));
  ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
  expectPage(kSecureBody);
  std::string final = https("tls_good", "/dir/page.html");
  EXPECT_EQ(fetcher_.fetchedPage().finalUrl, final);
  EXPECT_EQ(fetcher_.fetchedPage().movedTo, final);

  ASSERT_TRUE(fetch(http("/to-https-302")));
  ASSERT_EQ(outcome_.received, 1);
  EXPECT_EQ(fetcher_.fetchedPage().finalUrl, final);
  EXPECT_EQ(fetcher_.fetchedPage().movedTo, "") << "302 is no move for good";
}

TEST_F(SecureFetch, RedirectsOfEveryStatusAndForm) {
  const std::string plainBody =
      "<html><body><a href=\"item1.html\">plain headline number one</a>"
      "<a href=\"item2.html\">plain headline number two</a></body></html>";
  struct Row {
    const char* path;
    const char* finalPath;
  } rows[] = {{"/relative", "/sub/page.html"}, {"/rooted", "/page.html"},  {"/s307", "/page.html"},
              {"/s308", "/page.html"},         {"/chain/5", "/chain/0"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    ASSERT_TRUE(fetch(http(row.path)));
    ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
    expectPage(plainBody);
    EXPECT_EQ(fetcher_.fetchedPage().finalUrl, http(row.finalPath));
  }
}

TEST_F(SecureFetch, AnErrorPageIsAFailureWithItsStatus) {
  // A redirect without a Location, a missing page, an overloaded server, a
  // proxy that cannot reach the site: none of them is the site's news.
  useProxy("2", "127.0.0.1:" + std::to_string(lstest::peerPort("proxy")));
  const std::pair<std::string, int> cases[] = {{http("/no-location"), 302},
                                               {http("/missing.html"), 404},
                                               {http("/busy"), 503},
                                               {"http://127.0.0.1:1/page.html", 502}};
  for (const auto& [url, status] : cases) {
    expectFailure(url, ls::msgHttpStatus(status).c_str());
    // What arrived is kept for a look at it.
    EXPECT_EQ(page().rfind("HTTP/1.0 " + std::to_string(status), 0), 0u) << page();
  }
  expectUsable();
}

TEST_F(SecureFetch, RedirectsThatAreNotFollowed) {
  expectFailure(http("/chain/6"), ls::kMsgTooManyRedirects);
  expectFailure(http("/loop-a"), ls::kMsgTooManyRedirects);
  expectFailure(https("tls_good", "/to-http"), ls::kMsgRedirectDowngrade);
  expectFailure(https("tls_good", "/chain/6"), ls::kMsgTooManyRedirects);
  EXPECT_EQ(page(), "<missing>") << "a redirect response is never the page";
  expectUsable();
}

TEST_F(SecureFetch, ANamedProxyForwardsPlainRequestsAndTunnelsTls) {
  std::string proxyPort = std::to_string(lstest::peerPort("proxy"));
  useProxy("2", "127.0.0.1:" + proxyPort);
  ASSERT_TRUE(fetch(http("/page.html")));
  ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
  EXPECT_NE(page().find("Via: 1.0 test-proxy"), std::string::npos);
  EXPECT_NE(lstest::proxyLog().find("proxy GET " + http("/page.html") + " HTTP/1.1\n"), std::string::npos);

  expectUsable();
  std::string tunnel = "proxy CONNECT localhost:" + std::to_string(lstest::peerPort("tls_good")) + " HTTP/1.1\n";
  EXPECT_NE(lstest::proxyLog().find(tunnel), std::string::npos);

  // A redirect through the proxy to https goes through it again.
  ASSERT_TRUE(fetch(http("/to-https")));
  ASSERT_EQ(outcome_.received, 1);
  expectPage(kSecureBody);
}

TEST_F(SecureFetch, ARefusingOrMissingProxyIsAFailure) {
  useProxy("2", "127.0.0.1:" + std::to_string(lstest::peerPort("proxy_refusing")));
  expectFailure(http("/page.html"), ls::kMsgProxyRefused);
  expectFailure(https("tls_good", "/dir/page.html"), ls::kMsgProxyRefused);

  useProxy("2", "127.0.0.1:1");
  expectFailure(http("/page.html"), ls::kMsgSocketError);

  useProxy("2", "none");
  expectFailure(http("/page.html"), ls::kMsgBadProxyName);

  useProxy("0", "127.0.0.1:1");
  expectUsable();
}

// The user's Internet settings in this Wine prefix only, in the system's
// binary form: version, counter, flags, then the proxy list, the bypass
// list and the script URL, each as a length and its bytes.
void setSystemProxy(const std::string& proxy, bool autoDetect = false) {
  auto dword = [](std::string& out, DWORD v) { out.append(reinterpret_cast<const char*>(&v), 4); };
  std::string blob;
  dword(blob, 0x46);
  dword(blob, 1);
  // Direct, plus the named proxy, plus automatic detection.
  dword(blob, (proxy.empty() ? 0x1 : 0x3) | (autoDetect ? 0x8 : 0));
  dword(blob, static_cast<DWORD>(proxy.size()));
  blob += proxy;
  dword(blob, 0);
  dword(blob, 0);
  blob.append(32, '\0');
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER,
                            L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections", 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, L"DefaultConnectionSettings", 0, REG_BINARY,
                           reinterpret_cast<const BYTE*>(blob.data()), static_cast<DWORD>(blob.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(SecureFetch, TheSystemProxySetting) {
  setSystemProxy("127.0.0.1:" + std::to_string(lstest::peerPort("proxy")));
  useProxy("1", "");
  bool fetched = fetch(http("/page.html"));
  setSystemProxy("");
  ASSERT_TRUE(fetched);
  ASSERT_EQ(outcome_.received, 1) << (outcome_.failures.empty() ? "" : outcome_.failures[0]);
  EXPECT_NE(page().find("Via: 1.0 test-proxy"), std::string::npos);
  // Switched off again: straight to the host.
  ASSERT_TRUE(fetch(http("/page.html")));
  ASSERT_EQ(outcome_.received, 1);
  EXPECT_EQ(page().find("Via:"), std::string::npos);
  EXPECT_EQ(ui_.status[1], ls::kMsgReceived);

  // Automatic detection alone cannot be run: direct, and the status says so.
  setSystemProxy("", true);
  fetched = fetch(http("/page.html"));
  setSystemProxy("");
  ASSERT_TRUE(fetched);
  ASSERT_EQ(outcome_.received, 1);
  EXPECT_EQ(page().find("Via:"), std::string::npos);
  EXPECT_EQ(ui_.status[1], std::string(ls::kMsgReceived) + ls::kMsgProxyAutomaticNote);
}

}  // namespace
