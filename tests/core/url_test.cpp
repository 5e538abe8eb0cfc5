#include "net/url.h"

#include <gtest/gtest.h>

#include <vector>

#include <string>

namespace ls {
namespace {

struct Row {
  const char* afterScheme;
  const char* host;
  int port;
  const char* path;
};

TEST(SplitUrlTest, EveryRowOfTheTable) {
  const Row rows[] = {
      {"h/news/", "h", 80, "/news/"},
      {"h:8080", "h", 8080, "/"},
      {"h:/x", "h", 0, "/x"},
      {"h", "h", 80, "/"},
      {"h/a?b=1#c", "h", 80, "/a?b=1#c"},
      {"h?a=1", "h?a=1", 80, "/"},
      // user information stays in the host
      {"u@h/x", "u@h", 80, "/x"},
      {"192.168.0.1:8000/a/b:c", "192.168.0.1", 8000, "/a/b:c"},
      {"h:8080abc/p", "h", 8080, "/p"},
      {"h: 81/", "h", 81, "/"},
      {"h:+82/", "h", 82, "/"},
      {"h:-0/", "h", 0, "/"},
      {"h:65535/", "h", 65535, "/"},
      {"/p", "", 80, "/p"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.afterScheme);
    std::optional<RequestTarget> t = splitUrl(std::string("http://") + row.afterScheme);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->host, row.host);
    EXPECT_EQ(t->port, row.port);
    EXPECT_EQ(t->path, row.path);
  }
}

TEST(SplitUrlTest, SchemeInAnyLetterCase) {
  for (const char* url : {"HTTP://h/x", "Http://h/x", "hTtP://h/x"}) {
    std::optional<RequestTarget> t = splitUrl(url);
    ASSERT_TRUE(t) << url;
    EXPECT_EQ(t->host, "h");
    EXPECT_EQ(t->path, "/x");
  }
}

TEST(SplitUrlTest, RefusedUrls) {
  for (const char* url : {"https://", "httpss://h/", "ftp://h/x", "http://", "http:/", "", "http:/ab",
                          " http://h/", "h/news/", "http:\\\\h/"}) {
    EXPECT_FALSE(splitUrl(url)) << '"' << url << '"';
  }
  EXPECT_TRUE(splitUrl("http://h")) << "8 bytes is long enough";
}

TEST(SplitUrlTest, PortsOutsideTheTcpRangeAreRefused) {
  for (const char* url : {"http://h:65536/", "http://h:-1/", "http://h:99999999999999999999/",
                          "http://h:123456"}) {
    EXPECT_FALSE(splitUrl(url)) << url;
  }
}

TEST(SplitUrlTest, LongUrlsAreSplitWhole) {
  const std::string host(200, 'h');
  const std::string path = "/" + std::string(289, 'p');  // with "q": a URL of 498 bytes, the longest a site holds
  std::optional<RequestTarget> t = splitUrl("http://" + host + path + "q");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->host, host);
  EXPECT_EQ(t->path, path + "q");

  std::string request = composeRequest(*t);
  EXPECT_EQ(request.find("GET " + path + "q HTTP/1.1\r\n"), 0u);
  EXPECT_NE(request.find("\r\nHost: " + host + "\r\n"), std::string::npos);
}

const std::string kFixedLines =
    "User-Agent: LINKSCOUT/0.3.3\r\n"
    "Accept: text/html, application/xhtml+xml, application/rss+xml, application/atom+xml, application/rdf+xml, "
    "application/xml;q=0.9, text/xml;q=0.9, */*;q=0.8\r\n"
    "Accept-Encoding: gzip, deflate\r\n";

TEST(ComposeRequestTest, ExactBytes) {
  std::optional<RequestTarget> t = splitUrl("http://h");
  ASSERT_TRUE(t);
  EXPECT_EQ(composeRequest(*t), "GET / HTTP/1.1\r\nHost: h\r\n" + kFixedLines + "Connection: close\r\n\r\n");

  t = splitUrl("HTTP://www.example.jp:8080/cgi?a=1&b=2#top");
  ASSERT_TRUE(t);
  EXPECT_EQ(composeRequest(*t), "GET /cgi?a=1&b=2#top HTTP/1.1\r\nHost: www.example.jp:8080\r\n" + kFixedLines +
                                    "Connection: close\r\n\r\n");

  EXPECT_EQ(composeRequest(RequestTarget{false, "h", 0, "/x"}),
            "GET /x HTTP/1.1\r\nHost: h:0\r\n" + kFixedLines + "Connection: close\r\n\r\n");
}

// The validators go back byte for byte; one that holds a control byte would
// end its line and is left out.
TEST(ComposeRequestTest, ValidatorsVerbatim) {
  RequestTarget t{false, "h", 80, "/"};
  const std::string head = "GET / HTTP/1.1\r\nHost: h\r\n" + kFixedLines;
  struct Row {
    Validators v;
    std::string lines;
  } rows[] = {
      {{"W/\"5f-abc\"", ""}, "If-None-Match: W/\"5f-abc\"\r\n"},
      {{"", "Tue, 08 Dec 2026 03:00:00 GMT"}, "If-Modified-Since: Tue, 08 Dec 2026 03:00:00 GMT\r\n"},
      {{"\"a b\"", "any text"}, "If-None-Match: \"a b\"\r\nIf-Modified-Since: any text\r\n"},
      {{"\"x\"\r\nCookie: y", "ok"}, "If-Modified-Since: ok\r\n"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(composeRequest(t, r.v), head + r.lines + "Connection: close\r\n\r\n") << r.v.etag;
  }
}

TEST(SplitUrlTest, ControlBytesAreRefusedSoNoSecondRequestCanFollow) {
  for (const std::string& bad : std::vector<std::string>{"http://h/a\r\nGET /evil HTTP/1.0", "http://h/a\nb", "http://h\r/x",
                          std::string("http://h/a\0b", 12), "http://h/\x7F", "http://h/a\tb",
                          "http://h/\x1B[0m"}) {
    EXPECT_FALSE(splitUrl(bad)) << testing::PrintToString(bad);
  }
  // Bytes of 0x80 and above are no control bytes: Shift_JIS paths still go.
  EXPECT_TRUE(splitUrl("http://h/\x83\x6A\x83\x85"));
}

TEST(SplitUrlTest, SpacesInThePathAreSentEscaped) {
  std::optional<RequestTarget> t = splitUrl("http://h:81/a b/c  d.html?q= 1");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->path, "/a%20b/c%20%20d.html?q=%201");
  std::string request = composeRequest(*t);
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /a%20b/c%20%20d.html?q=%201 HTTP/1.1");
  EXPECT_EQ(request.find(' ', 4), request.find(" HTTP/1.1"));
}

TEST(SplitUrlTest, HttpsUrlsAreSecureWithPort443ByDefault) {
  for (const char* url : {"https://h/x", "HTTPS://h/x", "hTTpS://h/x"}) {
    std::optional<RequestTarget> t = splitUrl(url);
    ASSERT_TRUE(t) << url;
    EXPECT_TRUE(t->secure);
    EXPECT_EQ(t->host, "h");
    EXPECT_EQ(t->port, 443);
    EXPECT_EQ(t->path, "/x");
  }
  std::optional<RequestTarget> t = splitUrl("https://h:8443");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->port, 8443);
  EXPECT_EQ(t->path, "/");
  EXPECT_EQ(composeRequest(*t), "GET / HTTP/1.1\r\nHost: h:8443\r\n" + kFixedLines + "Connection: close\r\n\r\n");
  EXPECT_EQ(hostHeader(*splitUrl("https://h:443/")), "h");
  EXPECT_EQ(hostHeader(*splitUrl("https://h:80/")), "h:80");
  EXPECT_EQ(hostHeader(*splitUrl("http://h:443/")), "h:443");
  EXPECT_FALSE(splitUrl("https://h/a\r\nX: y"));
  EXPECT_FALSE(splitUrl("https://h:70000/"));
  EXPECT_FALSE(splitUrl("http://h/")->secure);
}

TEST(ComposeRequestTest, ProxyFormsNameTheTargetWithItsPort) {
  std::optional<RequestTarget> plain = splitUrl("http://www.example.jp/news/a b.html");
  ASSERT_TRUE(plain);
  EXPECT_EQ(composeProxyRequest(*plain, {"\"e\"", ""}),
            "GET http://www.example.jp/news/a%20b.html HTTP/1.1\r\n"
            "Host: www.example.jp\r\n" +
                kFixedLines + "If-None-Match: \"e\"\r\nConnection: close\r\n\r\n");
  std::optional<RequestTarget> secure = splitUrl("https://www.example.jp/news/");
  ASSERT_TRUE(secure);
  EXPECT_EQ(composeConnect(*secure),
            "CONNECT www.example.jp:443 HTTP/1.1\r\n"
            "Host: www.example.jp:443\r\n"
            "User-Agent: LINKSCOUT/0.3.3\r\n"
            "\r\n");
  EXPECT_EQ(urlOf(*secure), "https://www.example.jp:443/news/");
  EXPECT_EQ(urlOf(*plain), "http://www.example.jp:80/news/a%20b.html");
}

}  // namespace
}  // namespace ls
