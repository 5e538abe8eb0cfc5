// The modeless dialogs under the message loop: each open one takes its own
// keys, and one closed while a check runs leaves the check going.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "program_fixture.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_file.h"
#include "test_http_server.h"

namespace {

using ModelessDialogs = lstest::ProgramFixture;

TEST_F(ModelessDialogs, EachOpenOneTakesItsOwnKeys) {
  ASSERT_TRUE(start());
  command(IDM_LOGS);
  command(IDM_SEARCH);
  HWND logs = lstest::dialogWith(IDC_LOGLIST);
  HWND search = lstest::dialogWith(IDC_SEARCH_TEXT);
  ASSERT_NE(logs, nullptr);
  ASSERT_NE(search, nullptr);

  // Tab moves on from the search text; the focus stays in the search box.
  HWND text = GetDlgItem(search, IDC_SEARCH_TEXT);
  SetFocus(text);
  key(text, VK_TAB);
  EXPECT_NE(GetFocus(), text);
  EXPECT_TRUE(IsChild(search, GetFocus()));

  // Escape in the log switcher's list closes the log switcher, not the
  // search box; a key for a closed dialog goes nowhere.
  HWND list = GetDlgItem(logs, IDC_LOGLIST);
  key(list, VK_ESCAPE);
  EXPECT_EQ(lstest::dialogWith(IDC_LOGLIST), nullptr);
  EXPECT_EQ(lstest::dialogWith(IDC_SEARCH_TEXT), search);
  key(list, VK_ESCAPE);
  EXPECT_EQ(lstest::dialogWith(IDC_SEARCH_TEXT), search);
}

TEST_F(ModelessDialogs, ClosedWhileACheckRunsTheCheckGoesOn) {
  lstest::TestHttpServer server;
  lstest::Reply slow{lstest::httpResponse(200, "OK", "<a href=/n/1.html>遅れて届く見出し</a>")};
  slow.delayMs = 400;
  server.route("/slow", slow);
  ASSERT_TRUE(ls::writeAllSites(dir_.file("site.ck"), {{"遅いサイト", server.url("/slow"), "", true}}));
  ASSERT_TRUE(start());
  command(IDM_LOGS);
  command(IDM_SEARCH);
  command(IDM_CHECK);
  ASSERT_TRUE(lstest::pumpUntil([&] { return server.requestCount("/slow") == 1; }, 10000));
  ASSERT_FALSE(lstest::program().cycle.idle());
  SendMessageW(lstest::dialogWith(IDC_LOGLIST), WM_CLOSE, 0, 0);
  SendMessageW(lstest::dialogWith(IDC_SEARCH_TEXT), WM_CLOSE, 0, 0);
  EXPECT_EQ(lstest::dialogWith(IDC_LOGLIST), nullptr);
  EXPECT_EQ(lstest::dialogWith(IDC_SEARCH_TEXT), nullptr);

  ASSERT_TRUE(lstest::pumpUntil([&] { return lstest::program().cycle.idle(); }, 10000));
  EXPECT_EQ(headlines(), std::vector<std::string>{"遅れて届く見出し"});
  EXPECT_FALSE(lstest::program().logs.isOpen());  // the check's end does not bring it back
  command(IDM_LOGS);  // and it opens again
  EXPECT_NE(lstest::dialogWith(IDC_LOGLIST), nullptr);
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
