// The real LINKSCOUT.exe, started as its own process in a fresh directory,
// driven from outside the way another program would: find its wndmain
// window, send it the check command, let it fetch from a local server,
// close it, and read the files it leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/file_io.h"
#include "program_process.h"
#include "settings/ini_file.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "test_http_server.h"
#include "win/wide_win.h"
#include "win_test_support.h"

namespace {

std::string page(const std::string& headline) {
  return lstest::httpResponse(200, "OK", "<html><a href=\"/story/1.html\">" + headline + "</a></html>\n",
                              "Content-Type: text/html; charset=Shift_JIS\r\n");
}

TEST(ProgramE2E, CheckCommandFromOutsideFetchesAndClosingKeepsEverything) {
  lstest::WinTempDir dir;
  lstest::TestHttpServer server;
  server.route("/news", lstest::Reply{page("外から確認した見出しです")});
  ASSERT_TRUE(ls::writeAllSites(dir.file("site.ck"), {{"外部サイト", server.url("/news"), "/story/", true}}));
  lstest::ProgramProcess program(dir.path());
  ASSERT_NE(program.window(), nullptr);

  std::string newList = dir.file("LOG\\新着リスト.all.log");
  ASSERT_TRUE(PostMessageW(program.window(), WM_COMMAND, IDM_CHECK, 0));
  EXPECT_TRUE(lstest::pumpUntil([&] { return lstest::fileBytes(newList) != "<missing>"; }, 20000));
  EXPECT_EQ(server.requestCount("/news"), 1);

  EXPECT_EQ(program.close(), 0);

  EXPECT_EQ(lstest::fileBytes(newList),
            "外から確認した見出しです\r\n0\r\n外部サイト\r\n" + server.url("/story/1.html") + "\r\n");
  EXPECT_EQ(lstest::fileBytes(dir.file("LOG\\外部サイト.log")),
            "外から確認した見出しです\r\n" + server.url("/story/1.html") + "\r\n");
  EXPECT_EQ(lstest::fileBytes(dir.file("LOG\\外部サイト.all.log")),
            "外から確認した見出しです\r\n" + server.url("/story/1.html") + "\r\n");
  std::string temp = lstest::fileBytes(dir.file("TEMPORARY\\temp.html"));
  EXPECT_EQ(temp.rfind("HTTP/1.0 200 OK\r\r\n", 0), 0u);
  std::string ini = dir.file("LINKSCOUT.ini");
  EXPECT_EQ(ls::readProfileString(ini, "SETTING", "INTERVAL", ""), "10");
  EXPECT_EQ(ls::readProfileString(ini, "LISTVIEW", "TITLE", ""), "250");
  EXPECT_EQ(ls::readProfileString(ini, "LOGWINDOW", "SHOW", ""), "0");
  EXPECT_NE(ls::readProfileString(ini, "Window", "right", ""), "");
  // The site file is the one written by hand, untouched.
  EXPECT_EQ(ls::readAllSites(dir.file("site.ck"), ls::kCheckLimits).sites.size(), 1u);
}

// A folder whose name Shift_JIS cannot hold (a Latin letter with a
// diaeresis and Hangul): the program still starts there and makes its files
// beside itself.
TEST(ProgramE2E, RunsFromAFolderNamedOutsideShiftJis) {
  lstest::WinTempDir dir;
  std::wstring folder = ls::toWide(dir.path()) + L"Zo\u00EB \uD55C\uAE00\\";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  lstest::ProgramProcess program(ls::pathFromWide(folder));
  ASSERT_NE(program.window(), nullptr);
  // The window exists before the start has finished; it is shown at the end.
  EXPECT_TRUE(lstest::pumpUntil([&] { return IsWindowVisible(program.window()) != FALSE; }, 20000));
  auto attributes = [&](const wchar_t* name) { return GetFileAttributesW((folder + name).c_str()); };
  for (const wchar_t* name : {L"TEMPORARY", L"LOG"}) {
    EXPECT_NE(attributes(name), INVALID_FILE_ATTRIBUTES) << ls::fromWide(name);
    EXPECT_TRUE(attributes(name) & FILE_ATTRIBUTE_DIRECTORY) << ls::fromWide(name);
  }
  EXPECT_NE(attributes(L"site.ck"), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes(L"LINKSCOUT.ini"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(program.close(), 0);
}

// The program keeps a parsed copy of its settings; an edit made by hand
// while it runs, of the same size and in the same second as the file it
// read, still counts at the next read: here LIST at the cycle.
TEST(ProgramE2E, AHandEditOfTheSettingsWhileRunningCountsAtTheNextRead) {
  lstest::WinTempDir dir;
  lstest::TestHttpServer server;
  server.route("/news", lstest::Reply{lstest::httpResponse(
                            200, "OK",
                            "<a href=\"/story/1.html\">一つ目の見出しです</a><a href=\"/story/2.html\">"
                            "二つ目の見出しです</a><a href=\"/story/3.html\">三つ目の見出しです</a>\n",
                            "Content-Type: text/html; charset=Shift_JIS\r\n")});
  ASSERT_TRUE(ls::writeAllSites(dir.file("site.ck"), {{"手で編集", server.url("/news"), "/story/", true}}));
  std::string ini = dir.file("LINKSCOUT.ini");
  lstest::putFile(ini, "[SETTING]\r\nLIST=700\r\n");
  lstest::ProgramProcess program(dir.path());
  ASSERT_NE(program.window(), nullptr);
  // The start has read LIST; the edit keeps the size.
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(program.window(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer));
  lstest::putFile(ini, "[SETTING]\r\nLIST=002\r\n");

  std::string newList = dir.file("LOG\\新着リスト.all.log");
  ASSERT_TRUE(PostMessageW(program.window(), WM_COMMAND, IDM_CHECK, 0));
  EXPECT_TRUE(lstest::pumpUntil([&] { return lstest::fileBytes(newList) != "<missing>"; }, 20000));
  EXPECT_EQ(program.close(), 0);
  std::string rows = lstest::fileBytes(newList);
  EXPECT_NE(rows.find("三つ目の見出しです"), std::string::npos) << rows;
  EXPECT_NE(rows.find("二つ目の見出しです"), std::string::npos) << rows;
  EXPECT_EQ(rows.find("一つ目の見出しです"), std::string::npos) << "trimmed to LIST=002: " << rows;
}

}  // namespace
