// Which proxy a fetch goes through.
#include <gtest/gtest.h>

#include "net/proxy_route.h"
#include "test_support.h"

namespace ls {
namespace {

TEST(ProxyName, HostAndPortInTheFormsUsersType) {
  struct Row {
    const char* text;
    const char* host;
    int port;
  } rows[] = {
      {"proxy.example:8080", "proxy.example", 8080},
      {"  10.0.0.1:3128 ", "10.0.0.1", 3128},
      {"http://proxy.example:8080/", "proxy.example", 8080},
      {"proxy.example", "proxy.example", 80},
  };
  for (const Row& row : rows) {
    std::optional<ProxyEndpoint> p = parseProxyName(row.text);
    ASSERT_TRUE(p) << row.text;
    EXPECT_EQ(p->host, row.host);
    EXPECT_EQ(p->port, row.port);
  }
  for (const char* bad : {"", "none", "NONE", ":8080", "proxy:", "proxy:0", "proxy:65536", "proxy:80a", "pro xy:80",
                          "proxy:8080/path", "proxy\r\n:80"}) {
    EXPECT_FALSE(parseProxyName(bad)) << bad;
  }
}

TEST(SystemProxy, TheEntryForTheSchemeWinsOverOneForAll) {
  auto hostOf = [](std::string_view list, bool secure) {
    std::optional<ProxyEndpoint> p = systemProxyFor(list, secure);
    return p ? p->host + ":" + std::to_string(p->port) : std::string("direct");
  };
  EXPECT_EQ(hostOf("p:8080", false), "p:8080");
  EXPECT_EQ(hostOf("p:8080", true), "p:8080");
  EXPECT_EQ(hostOf("http=a:1;https=b:2", false), "a:1");
  EXPECT_EQ(hostOf("http=a:1;https=b:2", true), "b:2");
  EXPECT_EQ(hostOf("http=a:1", true), "direct");
  EXPECT_EQ(hostOf("socks=s:1080", false), "direct");
  EXPECT_EQ(hostOf("all:3 HTTPS=b:2", true), "b:2");
  EXPECT_EQ(hostOf("", false), "direct");
}

TEST(SystemProxy, BypassList) {
  EXPECT_TRUE(bypassesProxy("<local>", "intranet"));
  EXPECT_FALSE(bypassesProxy("<local>", "www.example.jp"));
  EXPECT_TRUE(bypassesProxy("*.example.jp; 10.*", "News.Example.JP"));
  EXPECT_TRUE(bypassesProxy("*.example.jp;10.*", "10.1.2.3"));
  EXPECT_FALSE(bypassesProxy("*.example.jp", "example.jp"));
  EXPECT_TRUE(bypassesProxy("localhost 127.0.0.1", "127.0.0.1"));
  EXPECT_FALSE(bypassesProxy("", "anything"));
  EXPECT_TRUE(bypassesProxy("a*b*c", "aXXbYYc"));
  EXPECT_FALSE(bypassesProxy("a*b*c", "aXXbYY"));
}

TEST(ProxySetting, ReadFromTheSettingsFile) {
  test::EngineFixture f;
  EXPECT_EQ(readProxySetting(f.ctx.settingsPath).mode, ProxyMode::kDirect);
  f.setSetting("PROXY", "2");
  f.setSetting("PROXYNAME", "proxy.example:8080");
  ProxySetting s = readProxySetting(f.ctx.settingsPath);
  EXPECT_EQ(s.mode, ProxyMode::kNamed);
  EXPECT_EQ(s.name, "proxy.example:8080");
  f.setSetting("PROXY", "1");
  EXPECT_EQ(readProxySetting(f.ctx.settingsPath).mode, ProxyMode::kSystem);
  f.setSetting("PROXY", "7");
  EXPECT_EQ(readProxySetting(f.ctx.settingsPath).mode, ProxyMode::kDirect);
}

}  // namespace
}  // namespace ls
