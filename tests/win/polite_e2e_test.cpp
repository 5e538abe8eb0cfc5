// The real LINKSCOUT.exe as a polite client: a compressed, chunked page
// read as its text; its validators sent back verbatim at the next check and
// after a restart; a 304 that keeps the logs; a 429 whose Retry-After keeps
// the site out of the next check.
#include <windows.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "../core/http_body_encoding.h"
#include "common/file_io.h"
#include "net/url.h"
#include "program_process.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "test_http_server.h"
#include "win_test_support.h"

namespace {

std::string chunked(const std::string& body) { return ls::test::chunkedOf(body, 100, ";ext=1", "X-Trailer: 1\r\n"); }

const char* kEtag = "W/\"5e-17a\"";
const char* kModified = "Tue, 08 Dec 2026 01:02:03 GMT";

std::string compressedPage() {
  std::string body = "<html>";
  for (int i = 1; i <= 3; ++i)
    body += "<a href=\"/story/" + std::to_string(i) + ".html\">圧縮された見出しその" + std::to_string(i) + "</a>\n";
  body += "</html>\n";
  return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=Shift_JIS\r\nTransfer-Encoding: chunked\r\n"
         "Content-Encoding: gzip\r\nETag: " + std::string(kEtag) + "\r\nLast-Modified: " + kModified + "\r\n\r\n" +
         chunked(ls::test::gzipped(body));
}

TEST(PoliteE2E, ValidatorsGoBackVerbatimA304KeepsTheLogsAnd429Waits) {
  lstest::WinTempDir dir;
  lstest::TestHttpServer server;
  server.route("/news", lstest::Reply{compressedPage()});
  server.route("/busy", lstest::Reply{"HTTP/1.1 429 Too Many Requests\r\nRetry-After: 3600\r\nContent-Length: 4\r\n\r\nbusy"});
  ASSERT_TRUE(ls::writeAllSites(dir.file("site.ck"), {{"圧縮サイト", server.url("/news"), "/story/", true},
                                                       {"混雑サイト", server.url("/busy"), "", true}}));
  const ls::RequestTarget target = *ls::splitUrl(server.url("/news"));
  const std::string newList = dir.file("LOG\\新着リスト.all.log");
  const std::string siteLog = dir.file("LOG\\圧縮サイト.log");
  const std::string state = dir.file("LOG\\site_state.txt");
  // A check by the menu command, until the cycle's end saved the new-list.
  auto check = [&](lstest::ProgramProcess& program) {
    // The start has loaded the new-list once the window answers.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(program.window(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer));
    ASSERT_TRUE(lstest::pumpUntil([&] { return IsWindowVisible(program.window()) != FALSE; }, 20000));
    ls::removeFile(newList);
    ASSERT_TRUE(PostMessageW(program.window(), WM_COMMAND, IDM_CHECK, 0));
    ASSERT_TRUE(lstest::pumpUntil([&] { return lstest::fileBytes(newList) != "<missing>"; }, 20000));
  };

  std::string rows, log;
  {
    lstest::ProgramProcess program(dir.path());
    ASSERT_NE(program.window(), nullptr);
    check(program);
    EXPECT_TRUE(lstest::pumpUntil([&] { return lstest::fileBytes(state) != "<missing>"; }, 20000));
    EXPECT_EQ(server.lastRequest("/news"), ls::composeRequest(target));
    EXPECT_EQ(server.requestCount("/busy"), 1);
    rows = lstest::fileBytes(newList);
    // Each check's start ages the rows: new (0) becomes old (4).
    for (std::size_t at; (at = rows.find("\r\n0\r\n")) != std::string::npos;) rows.replace(at, 5, "\r\n4\r\n");
    log = lstest::fileBytes(siteLog);
    for (int i = 1; i <= 3; ++i) EXPECT_NE(log.find("圧縮された見出しその" + std::to_string(i)), std::string::npos) << log;
    EXPECT_EQ(log.find("分割"), std::string::npos);

    // The page has not changed: a 304, and the logs stay as they were.
    server.route("/news", lstest::Reply{"HTTP/1.1 304 Not Modified\r\nETag: " + std::string(kEtag) + "\r\n\r\n"});
    check(program);
    EXPECT_EQ(server.lastRequest("/news"), ls::composeRequest(target, {kEtag, kModified}));
    EXPECT_EQ(server.requestCount("/news"), 2);
    EXPECT_EQ(server.requestCount("/busy"), 1) << "asked again before its Retry-After";
    EXPECT_EQ(lstest::fileBytes(siteLog), log);
    EXPECT_EQ(lstest::fileBytes(newList), rows);
    EXPECT_EQ(program.close(), 0);
  }

  // After a restart: the same validators, the busy site still left alone,
  // and the same page again brings nothing new.
  server.route("/news", lstest::Reply{compressedPage()});
  lstest::ProgramProcess program(dir.path());
  ASSERT_NE(program.window(), nullptr);
  check(program);
  EXPECT_EQ(server.lastRequest("/news"), ls::composeRequest(target, {kEtag, kModified}));
  EXPECT_EQ(server.requestCount("/busy"), 1);
  EXPECT_EQ(lstest::fileBytes(siteLog), log);
  EXPECT_EQ(lstest::fileBytes(newList), rows);
  EXPECT_EQ(program.close(), 0);
}

}  // namespace
