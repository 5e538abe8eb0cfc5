// The real LINKSCOUT.exe against what a user's machine does to it: log files
// held open by other programs or not writable, a settings file saved as
// UTF-8, a feed that briefly answers with a maintenance page, and a page
// whose head links a style sheet.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/cp932.h"
#include "program_process.h"
#include "settings/ini_file.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "test_http_server.h"
#include "win/find_window_win.h"
#include "win/wide_win.h"
#include "win_test_support.h"

namespace {

lstest::Reply htmlPage(const std::string& body) {
  return lstest::Reply{lstest::httpResponse(200, "OK", "<html>" + body + "</html>\n",
                                            "Content-Type: text/html; charset=Shift_JIS\r\n")};
}

lstest::Reply rss(int first, int last) {
  std::string body = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><rss version=\"2.0\"><channel><title>t</title>";
  for (int n = last; n >= first; --n)
    body += "<item><title>フィードの記事その" + std::to_string(n) + "</title><link>http://f.example/" +
            std::to_string(n) + "</link></item>";
  return lstest::Reply{
      lstest::httpResponse(200, "OK", body + "</channel></rss>", "Content-Type: application/rss+xml\r\n")};
}

// A file opened the way a backup tool or a spreadsheet holds it.
struct HeldFile {
  HANDLE h;
  HeldFile(const std::string& path, DWORD share)
      : h(CreateFileW(ls::pathToWide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldFile() { release(); }
  void release() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
};

// Whether the process shows a message box (a dialog window of its own).
bool showsMessageBox(DWORD pid) {
  return ls::findTopLevelWindow([pid](HWND w) {
           return ls::windowProcess(w) == pid && ls::windowClassName(w) == L"#32770" && IsWindowVisible(w);
         }) != nullptr;
}

bool holds(const std::string& bytes, const std::string& part) { return bytes.find(part) != std::string::npos; }

class ProgramFaults : public ::testing::Test {
 protected:
  std::string log(const std::string& name) { return dir_.file("LOG\\" + name); }
  std::string newList() { return log("新着リスト.all.log"); }
  void check(lstest::ProgramProcess& program) {
    ASSERT_TRUE(PostMessageW(program.window(), WM_COMMAND, IDM_CHECK, 0));
  }
  bool alive(lstest::ProgramProcess& program) {
    DWORD_PTR answer = 0;
    return program.waitForExit(0) == -1 &&
           SendMessageTimeoutW(program.window(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer) != 0;
  }

  lstest::WinTempDir dir_;
  lstest::TestHttpServer server_;
};

TEST_F(ProgramFaults, LogsThatCannotBeWrittenLeaveTheProgramRunningAndTheNewsWhole) {
  server_.route("/a", htmlPage("<a href=\"/a/1.html\">Ａサイトの見出し一</a>"));
  server_.route("/b", htmlPage("<a href=\"/b/1.html\">Ｂサイトの見出し一</a>"));
  server_.route("/c", htmlPage("<a href=\"/c/1.html\">Ｃサイトの見出し一</a>"));
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"Ａ", server_.url("/a"), "", true},
                                                        {"Ｂ", server_.url("/b"), "", true},
                                                        {"Ｃ", server_.url("/c"), "", true}}));
  lstest::ProgramProcess program(dir_.path());
  ASSERT_NE(program.window(), nullptr);
  check(program);
  ASSERT_TRUE(lstest::pumpUntil([&] { return holds(lstest::fileBytes(newList()), "Ｃサイトの見出し一"); }, 20000));

  server_.route("/a", htmlPage("<a href=\"/a/2.html\">Ａサイトの見出し二</a>"));
  server_.route("/b", htmlPage("<a href=\"/b/2.html\">Ｂサイトの見出し二</a>"));
  server_.route("/c", htmlPage("<a href=\"/c/2.html\">Ｃサイトの見出し二</a>"));
  // A's site log is held without sharing (a backup tool); B's all-links log
  // is held by a reader that lets nobody write (a spreadsheet): it cannot be
  // written, as on a full disk or in a read-only folder; the news list is
  // held the same way, so it cannot be replaced.
  HeldFile lockedLog(log("Ａ.log"), 0);
  ASSERT_NE(lockedLog.h, INVALID_HANDLE_VALUE);
  HeldFile unwritable(log("Ｂ.all.log"), FILE_SHARE_READ);
  ASSERT_NE(unwritable.h, INVALID_HANDLE_VALUE);
  HeldFile heldList(newList(), FILE_SHARE_READ);
  ASSERT_NE(heldList.h, INVALID_HANDLE_VALUE);
  check(program);
  ASSERT_TRUE(lstest::pumpUntil([&] { return holds(lstest::fileBytes(log("Ｃ.log")), "見出し二"); }, 20000));
  lstest::pumpFor(1500);
  EXPECT_TRUE(alive(program));
  EXPECT_FALSE(showsMessageBox(program.processId()));
  EXPECT_EQ(server_.requestCount("/a"), 1);  // A was not fetched: its old links would have come back
  EXPECT_EQ(server_.requestCount("/c"), 2);

  // Freed: the next check brings A's news and saves what the last one brought.
  lockedLog.release();
  heldList.release();
  unwritable.release();
  check(program);
  ASSERT_TRUE(lstest::pumpUntil([&] { return holds(lstest::fileBytes(newList()), "Ａサイトの見出し二"); }, 20000));
  EXPECT_EQ(program.close(), 0);
  const std::string rows = lstest::fileBytes(newList());
  for (const char* headline : {"Ａサイトの見出し一", "Ｂサイトの見出し一", "Ｃサイトの見出し一", "Ａサイトの見出し二",
                               "Ｂサイトの見出し二", "Ｃサイトの見出し二"})
    EXPECT_TRUE(holds(rows, headline)) << ls::cp932ToUtf8(headline);
}

TEST_F(ProgramFaults, ASettingsFileSavedAsUtf8KeepsItsLists) {
  server_.route("/n", htmlPage("<a href=\"/n/1.html\">宣伝のお知らせです</a><a href=\"/n/2.html\">普通のニュースです</a>"));
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"サイト", server_.url("/n"), "", true}}));
  const std::string ini = dir_.file("LINKSCOUT.ini");
  lstest::putFile(ini, "\xEF\xBB\xBF[Window]\r\nleft=10\r\ntop=10\r\nright=500\r\nbottom=400\r\n[SETTING]\r\nDISREGARD=" +
                           ls::cp932ToUtf8("宣伝,広告") + "\r\n");
  lstest::ProgramProcess program(dir_.path());
  ASSERT_NE(program.window(), nullptr);
  check(program);
  ASSERT_TRUE(lstest::pumpUntil([&] { return holds(lstest::fileBytes(newList()), "普通のニュースです"); }, 20000));
  EXPECT_EQ(program.close(), 0);
  EXPECT_FALSE(holds(lstest::fileBytes(newList()), "宣伝のお知らせです"));
  const std::string bytes = lstest::fileBytes(ini);
  EXPECT_EQ(bytes.rfind("[Window]", 0), 0u) << "no mark, and the first section kept";
  EXPECT_EQ(bytes.find("[Window]", 1), std::string::npos) << "one [Window] section";
  EXPECT_EQ(ls::readProfileString(ini, "SETTING", "DISREGARD", ""), "宣伝,広告");
}

TEST_F(ProgramFaults, AFeedsMaintenancePageAndItsReturnBringNothingOld) {
  server_.route("/feed", rss(1, 3));
  server_.route("/page", htmlPage("<link rel=\"stylesheet\" href=\"/css/main.css\"><a href=\"/news/1.html\">"
                                  "スタイルの後の見出し</a>"));
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"フィード", server_.url("/feed"), "http", true},
                                                        {"ページ", server_.url("/page"), "", true}}));
  lstest::ProgramProcess program(dir_.path());
  ASSERT_NE(program.window(), nullptr);
  check(program);
  ASSERT_TRUE(lstest::pumpUntil([&] { return holds(lstest::fileBytes(newList()), "スタイルの後の見出し"); }, 20000));
  // The first anchor after a <link href> has its own URL.
  EXPECT_TRUE(holds(lstest::fileBytes(newList()), "スタイルの後の見出し\r\n0\r\nページ\r\n" + server_.url("/news/1.html")));

  server_.route("/feed", htmlPage("<p>メンテナンス中です</p><a href=\"http://f.example/\">トップページへ戻る</a>"));
  check(program);
  ASSERT_TRUE(lstest::pumpUntil([&] { return server_.requestCount("/page") == 2; }, 20000));
  lstest::pumpFor(1500);
  server_.route("/feed", rss(1, 4));
  check(program);
  ASSERT_TRUE(lstest::pumpUntil([&] { return holds(lstest::fileBytes(newList()), "フィードの記事その4"); }, 20000));
  ASSERT_TRUE(lstest::pumpUntil([&] { return server_.requestCount("/page") == 3; }, 20000));
  EXPECT_EQ(program.close(), 0);
  const std::string rows = lstest::fileBytes(newList());
  EXPECT_FALSE(holds(rows, "トップページへ戻る"));
  for (int n = 1; n <= 4; ++n) {
    const std::string item = "フィードの記事その" + std::to_string(n) + "\r\n";
    const std::size_t first = rows.find(item);
    EXPECT_NE(first, std::string::npos) << n;
    EXPECT_EQ(rows.find(item, first + 1), std::string::npos) << "item " << n << " came twice";
  }
}

}  // namespace
