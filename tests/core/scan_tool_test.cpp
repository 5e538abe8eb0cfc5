// linkscout-scan, run as users run it.
#include <gtest/gtest.h>

#include <cstdio>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "engine/page_scan.h"
#include "test_support.h"
#include "wizard/link_listing.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define popen _popen
#define pclose _pclose
#endif

namespace ls {
namespace {

struct ToolRun {
  std::string out;
  int status = -1;
};

ToolRun runTool(const std::string& args) {
  std::string command = std::string("\"") + LINKSCOUT_SCAN_EXE + "\" " + args;
#ifdef _WIN32
  command = "\"" + command + "\"";  // cmd /c strips one pair of quotes
#endif
  ToolRun run;
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return run;
#ifdef _WIN32
  _setmode(_fileno(p), _O_BINARY);
#endif
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
  int status = pclose(p);
#ifdef _WIN32
  run.status = status;
#else
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return run;
}

const char* kPage =
    "HTTP/1.0 200 OK\r\r\n\r\r\n"
    "<a href=\"news/1.html\">first news headline</a>\r\r\n"
    "<!-- <a href=old.html>old headline text</a> -->\r\r\n"
    "<a href='../sports/2.html'>second story here</a>\r\r\n"
    "<a href=ad.html>PR: advertisement</a>\r\r\n";

TEST(ScanTool, ScanPrintsTheSiteLogLines) {
  test::TempDir dir;
  std::string page = dir.file("page.html");
  test::writeBytes(page, kPage);
  ToolRun run = runTool("--url http://host/a/b/ --extract news --disregard PR: \"" + page + "\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "first news headline\nhttp://host/a/b/news/1.html\n");

  run = runTool("--url http://host/a/b/ --disregard PR: \"" + page + "\"");
  EXPECT_EQ(run.out,
            "first news headline\nhttp://host/a/b/news/1.html\n"
            "second story here\nhttp://host/a/sports/2.html\n");
  run = runTool("--delete \"first ,second \" \"" + page + "\"");
  EXPECT_EQ(run.out.substr(0, 14), "news headline\n");
}

TEST(ScanTool, WizardListsEveryLinkBottomUp) {
  test::TempDir dir;
  std::string page = dir.file("page.html");
  test::writeBytes(page, kPage);
  ToolRun run = runTool("--wizard \"" + page + "\"");
  EXPECT_EQ(run.status, 0);
  std::string expected;
  for (const ListedLink& row : listPageLinks(kPage)) expected += row.headline + "\n" + row.link + "\n";
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.out.substr(0, 34), "PR:advertisement\nad.html\nsecondsto");
}

TEST(ScanTool, ConvertPrintsTheJoinedShiftJisText) {
  test::TempDir dir;
  std::string page = dir.file("page.html");
  // "日本" in UTF-8 with its header: comes out joined and in Shift_JIS.
  test::writeBytes(page, "HTTP/1.0 200 OK\r\r\nContent-Type: text/html; charset=utf-8\r\r\n\r\r\n\xE6\x97\xA5\xE6\x9C\xAC<!--c-->");
  ToolRun run = runTool("--convert \"" + page + "\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "HTTP/1.0 200 OKContent-Type: text/html; charset=utf-8日本<!--c-->");
}

TEST(ScanTool, UnreadableFileExitsWithStatus2) {
  test::TempDir dir;
  ToolRun run = runTool("\"" + dir.file("missing.html") + "\"");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace ls
