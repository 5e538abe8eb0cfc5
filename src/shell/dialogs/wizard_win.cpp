#include "shell/dialogs/wizard_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/app_win.h"
#include "win/controls_win.h"
#include "win/window_object_win.h"
#include "common/file_io.h"
#include "common/program.h"
#include "common/text.h"
#include "win/wide_win.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_edit.h"
#include "shell/dialogs/sites_page_win.h"
#include "wizard/headline_suggest.h"
#include "wizard/link_listing.h"
#include "wizard/wizard_rules.h"

namespace ls {

namespace {

constexpr std::size_t kFieldBytes = 498;
constexpr std::size_t kLinkReadBytes = 498;
constexpr const char* kEveryItem = "http";
constexpr int kHeadlineColumnWidth = 150;
constexpr int kHeadlineColumnPadding = 36;  // the check box and the margins

std::string field(HWND dialog, int id, std::size_t bytes = SIZE_MAX) { return controlText(dialog, id, bytes); }

std::string linkOf(HWND list, int row) { return std::string(cutToBytes(listCellText(list, row, 1), kLinkReadBytes)); }

// A row as listed: its texts and what it stands for.
ListedLink rowOf(HWND list, int row) {
  return ListedLink{listCellText(list, row, 0), linkOf(list, row), static_cast<RowKind>(listRowData(list, row))};
}

// The headline column widens, up to twice its width, so that the titles of
// the offered feeds can be read; it stays as it is without offers.
void showOfferTitles(HWND list, const std::vector<ListedLink>& rows) {
  int width = kHeadlineColumnWidth;
  for (const ListedLink& row : rows) {
    if (row.kind != RowKind::kFeedOffer) break;
    std::wstring text = toWide(row.headline);
    const int needed =
        static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()))) +
        kHeadlineColumnPadding;
    width = std::max(width, std::min(needed, 2 * kHeadlineColumnWidth));
  }
  ListView_SetColumnWidth(list, 0, width);
}

// The wizard hears the end of its own fetch, and only of that one.
class WizardDialog : public Dialog, public FetchListener {
 public:
  WizardDialog(App& app, HWND settingsDialog) : Dialog(app.ui), app_(app), settings_(settingsDialog) {}
  // A fetch of the wizard's that is still running goes with it.
  ~WizardDialog() override {
    if (app_.fetcher.serves(*this)) app_.fetcher.close();
  }

  void fetchReceived() override { listPage(); }
  // An error page or a failed fetch lists nothing; the user hears why.
  void fetchFailed(const std::string& text) override {
    ListView_DeleteAllItems(links());
    rows_.clear();
    say(text.c_str());
  }

 private:
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onInit();
  void onCommand(int id);
  HWND links() const { return GetDlgItem(dialog_, IDC_WIZ_LIST); }
  int say(const char* text) { return app_.ui.ask(dialog_, text, kProgramTitle, MB_OK); }
  void listPage();
  void fetch() { wizardFetch(app_.fetcher, *this, app_.ui, field(dialog_, IDC_WIZ_URL, kFieldBytes)); }
  void onActivate(int row);
  void onCheck();
  void onSuggest();
  void onAdd();
  void close();

  void learnStrings(const std::vector<std::size_t>& ticked);

  App& app_;
  HWND settings_;
  std::vector<ListedLink> rows_;  // what the list shows, with each link's raw anchor text
};

void WizardDialog::listPage() {
  HWND list = links();
  ListView_DeleteAllItems(list);
  rows_.clear();
  // A page file that is gone lists nothing, like the page scan's empty page.
  std::optional<std::string> bytes = readWholeFile(app_.ctx.pageFile());
  if (!bytes) return;
  // Relative feed URLs are read against the URL that answered.
  std::string pageUrl = app_.fetcher.fetchedPage().finalUrl;
  if (pageUrl.empty()) pageUrl = field(dialog_, IDC_WIZ_URL, kFieldBytes);
  std::vector<ListedLink> rows = listPageLinks(*bytes, pageUrl);
  // A feed needs no narrowing: every item's URL holds "http", so with that
  // string the new site takes every item.
  if (!rows.empty() && rows[0].kind == RowKind::kFeedItem && field(dialog_, IDC_WIZ_EXTRACT).empty())
    setControlText(dialog_, IDC_WIZ_EXTRACT, kEveryItem);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    int at = insertListRow(list, static_cast<int>(i), rows[i].headline, static_cast<LPARAM>(rows[i].kind));
    setListCellText(list, at, 1, rows[i].link);
  }
  showOfferTitles(list, rows);
  rows_ = std::move(rows);
}

// Choosing a feed the page announces (double click or Enter) makes that
// feed the new site's URL and fetches it, so its items are listed instead.
void WizardDialog::onActivate(int row) {
  HWND list = links();
  if (row < 0 || row >= ListView_GetItemCount(list)) return;
  ListedLink picked = rowOf(list, row);
  if (picked.kind != RowKind::kFeedOffer) return;
  setControlText(dialog_, IDC_WIZ_URL, picked.link);
  fetch();
}

void WizardDialog::onCheck() {
  std::string extract = field(dialog_, IDC_WIZ_EXTRACT, kFieldBytes);
  HWND list = links();
  int rows = ListView_GetItemCount(list);
  if (extract.empty()) {
    say(kMsgNoExtract);
    return;
  }
  if (rows == 0) {
    say(kMsgListFirst);
    return;
  }
  for (int r = 0; r < rows; ++r) {
    UINT state = rowMatches(rowOf(list, r), extract) ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    ListView_SetItemState(list, r, state, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void WizardDialog::onSuggest() {
  HWND list = links();
  int rows = ListView_GetItemCount(list);
  std::vector<std::string> ticked;
  std::vector<std::size_t> tickedRows;
  for (int r = 0; r < rows; ++r) {
    if (!ListView_GetCheckState(list, r)) continue;
    ticked.push_back(linkOf(list, r));
    tickedRows.push_back(static_cast<std::size_t>(r));
  }
  Suggestion s = suggestExtract(static_cast<std::size_t>(rows), ticked);
  switch (s.kind) {
    case Suggestion::kNoRows:
      say(kMsgFetchFirst);
      break;
    case Suggestion::kLearn:
      learnStrings(tickedRows);
      break;
    case Suggestion::kClear:
    case Suggestion::kSet:
      setControlText(dialog_, IDC_WIZ_EXTRACT, s.extract);
      break;
  }
}

// The learnt strings go into the field, and the ticks show every link they
// take, as the check will take them.
void WizardDialog::learnStrings(const std::vector<std::size_t>& ticked) {
  HWND list = links();
  if (rows_.size() != static_cast<std::size_t>(ListView_GetItemCount(list))) return;
  const std::string strings(cutToBytes(suggestHeadlineStrings(rows_, ticked), kFieldBytes));
  if (strings.empty()) return;
  setControlText(dialog_, IDC_WIZ_EXTRACT, strings);
  for (std::size_t r = 0; r < rows_.size(); ++r)
    ListView_SetCheckState(list, static_cast<int>(r), rowTaken(rows_[r], strings) ? TRUE : FALSE);
}

void WizardDialog::close() {
  if (app_.fetcher.serves(*this)) app_.fetcher.close();
  EndDialog(dialog_, 0);
}

void WizardDialog::onAdd() {
  std::optional<Site> site = wizardSite(field(dialog_, IDC_WIZ_NAME), field(dialog_, IDC_WIZ_URL),
                                        field(dialog_, IDC_WIZ_EXTRACT));
  if (!site) {
    say(kMsgEmptyField);
    return;
  }
  insertSiteRow(settings_, 0, *site);
  close();
}

void WizardDialog::onInit() {
  app_.wizardDialog = dialog_;
  HWND list = links();
  ListView_SetExtendedListViewStyle(list,
                                    ListView_GetExtendedListViewStyle(list) | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  addListColumn(list, 0, "見出し", kHeadlineColumnWidth);
  addListColumn(list, 1, "リンク", 300);
}

void WizardDialog::onCommand(int id) {
  switch (id) {
    case IDC_WIZ_FETCH:
      fetch();
      break;
    case IDC_WIZ_CHECK:
      onCheck();
      break;
    case IDC_WIZ_SUGGEST:
      onSuggest();
      break;
    case IDC_WIZ_ADD:
    case IDOK:
      onAdd();
      break;
    case IDCANCEL:
      close();
      break;
    default:
      break;
  }
}

INT_PTR WizardDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      onInit();
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      // A double click or Enter on a row.
      if (header->idFrom != IDC_WIZ_LIST || header->code != LVN_ITEMACTIVATE) return FALSE;
      onActivate(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
      return TRUE;
    }
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      app_.wizardDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void runWizard(App& a, HWND settingsDialog) {
  WizardDialog wizard(a, settingsDialog);
  wizard.runModal(a.instance, L"ADDWIZARD", settingsDialog);
}

}  // namespace ls
