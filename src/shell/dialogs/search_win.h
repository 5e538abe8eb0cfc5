// The modeless search dialog "検索" over the news list's headlines.
#pragma once

#include <windows.h>

#include "shell/news_list_win.h"
#include "shell/user_interface_win.h"
#include "win/dialog_win.h"

namespace ls {

class SearchDialog : public Dialog {
 public:
  SearchDialog(ListViewNewsList& news, WindowUserInterface& ui) : Dialog(ui), news_(news), ui_(ui) {}

 private:
  bool onCommand(int id, int code) override;
  void onOk() override { search(false); }
  void search(bool fromNext);

  ListViewNewsList& news_;
  WindowUserInterface& ui_;
};

}  // namespace ls
