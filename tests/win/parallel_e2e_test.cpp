// The real LINKSCOUT.exe checking several sites at once: with PARALLEL=6 the
// pages end in another order than the site file's (each answers after its
// own delay, the first ones last), yet the news list and every site log are
// byte for byte those of a check with PARALLEL=1 on the same pages.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/file_io.h"
#include "program_process.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "test_http_server.h"
#include "win_test_support.h"

namespace {

// Spellings of 127.0.0.1 that the per-host rule counts as six hosts.
const char* const kHosts[] = {"127.0.0.1", "127.1", "127.0.1", "2130706433", "0x7f000001", "localhost"};
constexpr int kSites = 14;

std::string pageOf(int site, int round) {
  std::string body = "<html>";
  // Each round keeps the earlier headlines and adds one per site.
  for (int n = 1; n <= 2 + round; ++n)
    body += "<a href=\"/s" + std::to_string(site) + "/" + std::to_string(n) + ".html\">サイト" + std::to_string(site) +
            "の見出し" + std::to_string(n) + "</a>\n";
  return lstest::httpResponse(200, "OK", body + "</html>", "Content-Type: text/html; charset=Shift_JIS\r\n");
}

// What the program's folder holds after a check, file by file.
struct Files {
  std::string newList;
  std::vector<std::string> logs;
};

void serve(lstest::TestHttpServer& server, int round) {
  for (int i = 1; i <= kSites; ++i) {
    std::string path = "/p" + std::to_string(i);
    lstest::Reply reply{pageOf(i, round)};
    // The first sites answer last; with one slot this costs a second.
    reply.delayMs = (kSites - i) * 15;
    if (i == 5) reply = lstest::Reply{lstest::httpResponse(404, "Not Found", "gone")};
    if (i == 9) reply = lstest::Reply{lstest::httpResponse(200, "OK", "<html>no links</html>")};
    server.route(path, reply);
  }
}

std::vector<ls::Site> sitesOf(const lstest::TestHttpServer& server) {
  std::vector<ls::Site> sites;
  for (int i = 1; i <= kSites; ++i) {
    // Runs of one host, as real lists have them: 1-3 on one, 4-5 on the next...
    std::string url = "http://" + std::string(kHosts[(i - 1) / 3 % 6]) + ":" + std::to_string(server.port()) + "/p" +
                      std::to_string(i);
    // Sites 7 and 12 share one log name, which must never be in flight twice.
    std::string name = i == 12 ? "サイト7" : "サイト" + std::to_string(i);
    sites.push_back(ls::Site{name, url, "/s", i != 3});
  }
  return sites;
}

Files checkTwice(lstest::TestHttpServer& server, int parallel, std::vector<Files>& rounds) {
  lstest::WinTempDir dir;
  lstest::putFile(dir.file("LINKSCOUT.ini"), "[SETTING]\r\nPARALLEL=" + std::to_string(parallel) + "\r\n");
  EXPECT_TRUE(ls::writeAllSites(dir.file("site.ck"), sitesOf(server)));
  const std::string newList = dir.file("LOG\\新着リスト.all.log");
  lstest::ProgramProcess program(dir.path());
  EXPECT_NE(program.window(), nullptr);
  for (int round = 0; round < 2; ++round) {
    serve(server, round);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(program.window(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer));
    EXPECT_TRUE(lstest::pumpUntil([&] { return IsWindowVisible(program.window()) != FALSE; }, 20000));
    ls::removeFile(newList);
    EXPECT_TRUE(PostMessageW(program.window(), WM_COMMAND, IDM_CHECK, 0));
    // The last site's newest headline enters the list only at its turn, the
    // last one of the check, which saves the list at once.
    const std::string last = "サイト14の見出し" + std::to_string(2 + round);
    EXPECT_TRUE(lstest::pumpUntil([&] { return lstest::fileBytes(newList).find(last) != std::string::npos; }, 30000));
    Sleep(300);
    Files files{lstest::fileBytes(newList), {}};
    for (int i = 1; i <= kSites; ++i) {
      files.logs.push_back(lstest::fileBytes(dir.file("LOG\\サイト" + std::to_string(i) + ".log")));
      files.logs.push_back(lstest::fileBytes(dir.file("LOG\\サイト" + std::to_string(i) + ".log.bak")));
    }
    rounds.push_back(files);
  }
  EXPECT_EQ(program.close(), 0);
  // No page waiting for its turn is left behind.
  for (int i = 1; i <= kSites; ++i) EXPECT_FALSE(ls::isPlainFile(dir.file("TEMPORARY\\wait" + std::to_string(i) + ".html")));
  return rounds.back();
}

TEST(ParallelE2E, SixAtOnceGiveTheFilesOfOneAfterAnother) {
  lstest::TestHttpServer server;
  std::vector<Files> one, six;
  checkTwice(server, 1, one);
  checkTwice(server, 6, six);
  ASSERT_EQ(one.size(), 2u);
  ASSERT_EQ(six.size(), 2u);
  for (int round = 0; round < 2; ++round) {
    EXPECT_NE(one[round].newList, "<missing>");
    EXPECT_NE(one[round].newList.find("サイト14の見出し"), std::string::npos) << one[round].newList;
    EXPECT_EQ(six[round].newList, one[round].newList) << "round " << round;
    for (std::size_t k = 0; k < one[round].logs.size(); ++k)
      EXPECT_EQ(six[round].logs[k], one[round].logs[k]) << "round " << round << " file " << k;
  }
}

}  // namespace
