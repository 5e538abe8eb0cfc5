#include "shell/dialogs/wizard_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/program.h"
#include "common/text.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_edit.h"
#include "win/controls_win.h"
#include "win/dialog_win.h"
#include "win/wide_win.h"
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
  explicit WizardDialog(const WizardParts& parts) : Dialog(parts.ui), parts_(parts) {}
  // A fetch of the wizard's that is still running goes with it.
  ~WizardDialog() override {
    if (parts_.fetcher.serves(*this)) parts_.fetcher.close();
  }
  const std::optional<Site>& added() const { return added_; }

  void fetchReceived() override { listPage(); }
  // An error page or a failed fetch lists nothing; the user hears why.
  void fetchFailed(const std::string& text) override {
    ListView_DeleteAllItems(links());
    rows_.clear();
    say(text.c_str());
  }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onNotify(const NMHDR& header) override;
  void onOk() override { onAdd(); }
  void onCancel() override { close(); }
  HWND links() const { return GetDlgItem(dialog_, IDC_WIZ_LIST); }
  int say(const char* text) { return parts_.ui.ask(dialog_, text, kProgramTitle, MB_OK); }
  void listPage();
  void fetch() { wizardFetch(parts_.fetcher, *this, parts_.ui, itemText(IDC_WIZ_URL, kFieldBytes)); }
  void onActivate(int row);
  void onCheck();
  void onSuggest();
  void onAdd();
  void close();

  void learnStrings(const std::vector<std::size_t>& ticked);

  WizardParts parts_;
  std::optional<Site> added_;
  std::vector<ListedLink> rows_;  // what the list shows, with each link's raw anchor text
};

void WizardDialog::listPage() {
  HWND list = links();
  ListView_DeleteAllItems(list);
  rows_.clear();
  // A page file that is gone lists nothing, like the page scan's empty page.
  std::optional<std::string> bytes = readWholeFile(parts_.ctx.pageFile());
  if (!bytes) return;
  // Relative feed URLs are read against the URL that answered.
  std::string pageUrl = parts_.fetcher.fetchedPage().finalUrl;
  if (pageUrl.empty()) pageUrl = itemText(IDC_WIZ_URL, kFieldBytes);
  std::vector<ListedLink> rows = listPageLinks(*bytes, pageUrl);
  // A feed needs no narrowing: every item's URL holds "http", so with that
  // string the new site takes every item.
  if (!rows.empty() && rows[0].kind == RowKind::kFeedItem && itemText(IDC_WIZ_EXTRACT).empty())
    setItemText(IDC_WIZ_EXTRACT, kEveryItem);
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
  setItemText(IDC_WIZ_URL, picked.link);
  fetch();
}

void WizardDialog::onCheck() {
  std::string extract = itemText(IDC_WIZ_EXTRACT, kFieldBytes);
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
      setItemText(IDC_WIZ_EXTRACT, s.extract);
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
  setItemText(IDC_WIZ_EXTRACT, strings);
  for (std::size_t r = 0; r < rows_.size(); ++r)
    ListView_SetCheckState(list, static_cast<int>(r), rowTaken(rows_[r], strings) ? TRUE : FALSE);
}

void WizardDialog::close() {
  if (parts_.fetcher.serves(*this)) parts_.fetcher.close();
  end(0);
}

void WizardDialog::onAdd() {
  std::optional<Site> site = wizardSite(itemText(IDC_WIZ_NAME), itemText(IDC_WIZ_URL),
                                        itemText(IDC_WIZ_EXTRACT));
  if (!site) {
    say(kMsgEmptyField);
    return;
  }
  added_ = std::move(site);
  close();
}

bool WizardDialog::onInit() {
  HWND list = links();
  ListView_SetExtendedListViewStyle(list,
                                    ListView_GetExtendedListViewStyle(list) | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  addListColumn(list, 0, "見出し", kHeadlineColumnWidth);
  addListColumn(list, 1, "リンク", 300);
  return true;
}

bool WizardDialog::onCommand(int id, int code) {
  switch (id) {
    case IDC_WIZ_FETCH:
      fetch();
      return true;
    case IDC_WIZ_CHECK:
      onCheck();
      return true;
    case IDC_WIZ_SUGGEST:
      onSuggest();
      return true;
    case IDC_WIZ_ADD:
      onAdd();
      return true;
    default:
      return Dialog::onCommand(id, code);
  }
}

// A double click or Enter on a row.
bool WizardDialog::onNotify(const NMHDR& header) {
  if (header.idFrom != IDC_WIZ_LIST || header.code != LVN_ITEMACTIVATE) return false;
  onActivate(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
  return true;
}

}  // namespace

std::optional<Site> runWizard(const WizardParts& parts, HWND owner) {
  WizardDialog wizard(parts);
  wizard.runModal(parts.instance, L"ADDWIZARD", owner);
  return wizard.added();
}

}  // namespace ls
