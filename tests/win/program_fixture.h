// A test that starts the program in its own process state: a fresh
// application directory, message boxes and browser launches answered here,
// and everything closed and forgotten at the end.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "test_program.h"
#include "win/wide_win.h"
#include "win_test_support.h"

namespace lstest {

class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(0x0101, &data), 0);  // the program's sockets, as at its start
  }
  void TearDown() override {
    stop();
    WSACleanup();
  }

  bool start() {
    ls::Program& p = lstest::makeProgram(dir_.path());
    p.ui.messageHook = [this](const std::string& text) { messages_.push_back(text); };
    p.seams.openUrl = [this](const std::string& url) { opened_.push_back(url); };
    return p.start();
  }
  void stop() {
    if (!lstest::programSlot()) return;
    if (HWND main = lstest::program().mainWindow()) SendMessageW(main, WM_CLOSE, 0, 0);
    pumpFor(20);
    lstest::resetProgram();
  }
  std::string ini() const { return dir_.file("LINKSCOUT.ini"); }
  std::string setting(const char* section, const char* key) {
    return ls::readProfileString(ini(), section, key, "<none>");
  }
  void addRow(const std::string& headline, int icon, const std::string& url) {
    ls::NewsList& list = lstest::program().news;
    list.insertRow(list.count(), headline, icon);
    list.setText(list.count() - 1, 1, "サイト");
    list.setText(list.count() - 1, 2, url);
  }
  static void selectRow(HWND list, int row) {
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  void select(int row) { selectRow(lstest::newsList(), row); }
  void command(int id) { SendMessageW(lstest::program().mainWindow(), WM_COMMAND, id, 0); }
  // A dialog's controls, as a user would fill them in and press them.
  static void set(HWND d, int id, const std::string& text) { SetDlgItemTextW(d, id, ls::toWide(text).c_str()); }
  static std::string get(HWND d, int id) {
    wchar_t buffer[1024] = {};
    GetDlgItemTextW(d, id, buffer, 1024);
    return ls::fromWide(buffer);
  }
  static void press(HWND d, int id) { SendMessageW(d, WM_COMMAND, id, 0); }
  // A key pressed in `to`, as the message loop hands it on.
  static void key(HWND to, WPARAM vk) {
    MSG msg{};
    msg.hwnd = to;
    msg.message = WM_KEYDOWN;
    msg.wParam = vk;
    ls::dispatchMessage(msg, lstest::program().keys());
    pumpFor(50);
  }
  static std::string cell(HWND list, int row, int column) {
    wchar_t buffer[1024] = {};
    ListView_GetItemText(list, row, column, buffer, 1024);
    return ls::fromWide(buffer);
  }
  std::vector<std::string> headlines() {
    std::vector<std::string> out;
    for (int r = 0; r < lstest::program().news.count(); ++r) out.push_back(lstest::program().news.text(r, 0));
    return out;
  }

  WinTempDir dir_;
  std::vector<std::string> messages_, opened_;
};

}  // namespace lstest
