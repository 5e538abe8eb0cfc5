// The modeless search dialog "検索" over the news list's headlines.
#pragma once

#include <windows.h>

#include "win/window_object_win.h"

namespace ls {

struct App;

class SearchDialog : public Dialog {
 public:
  explicit SearchDialog(App& app);

 private:
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool onCommand(int id);
  void search(bool fromNext);

  App& app_;
};

// Command 40014: opens the dialog unless it is open.
void openSearchDialog(App& app);

}  // namespace ls
