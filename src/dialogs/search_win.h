// The modeless search dialog "検索" over the news list's headlines.
#pragma once

namespace ls {

// Command 40014: opens the dialog unless it is open.
void openSearchDialog();

}  // namespace ls
