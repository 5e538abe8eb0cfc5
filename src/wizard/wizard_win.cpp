#include "wizard/wizard_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/controls_win.h"
#include "common/file_io.h"
#include "common/program.h"
#include "common/text.h"
#include "common/wide_win.h"
#include "resources/resource_ids.h"
#include "sites/site_list_win.h"
#include "wizard/link_listing.h"
#include "wizard/wizard_rules.h"

namespace ls {

namespace {

constexpr std::size_t kFieldBytes = 498;
constexpr std::size_t kLinkReadBytes = 498;
constexpr const wchar_t* kEveryItem = L"http";
constexpr int kHeadlineColumnWidth = 150;
constexpr int kHeadlineColumnPadding = 36;  // the check box and the margins

HWND g_owner = nullptr;

std::string field(HWND dialog, int id, std::size_t bytes = SIZE_MAX) { return controlText(dialog, id, bytes); }

HWND links(HWND dialog) { return GetDlgItem(dialog, IDC_WIZ_LIST); }

std::string linkOf(HWND list, int row) { return std::string(cutToBytes(listCellText(list, row, 1), kLinkReadBytes)); }

// A row as listed: its texts and what it stands for.
ListedLink rowOf(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  ListView_GetItem(list, &item);
  return ListedLink{listCellText(list, row, 0), linkOf(list, row), static_cast<RowKind>(item.lParam)};
}

int say(HWND dialog, const char* text) { return app().ui.ask(dialog, text, kProgramTitle, MB_OK); }



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

void listPage(HWND dialog) {
  App& a = app();
  HWND list = links(dialog);
  ListView_DeleteAllItems(list);
  // A page file that is gone lists nothing, like the page scan's empty page.
  std::optional<std::string> bytes = readWholeFile(a.ctx.pageFile());
  if (!bytes) return;
  // Relative feed URLs are read against the URL that answered.
  std::string pageUrl = a.fetcher.fetchedPage().finalUrl;
  if (pageUrl.empty()) pageUrl = field(dialog, IDC_WIZ_URL, kFieldBytes);
  std::vector<ListedLink> rows = listPageLinks(*bytes, pageUrl);
  // A feed needs no narrowing: every item's URL holds "http", so with that
  // string the new site takes every item.
  if (!rows.empty() && rows[0].kind == RowKind::kFeedItem && field(dialog, IDC_WIZ_EXTRACT).empty())
    SetDlgItemTextW(dialog, IDC_WIZ_EXTRACT, kEveryItem);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::wstring headline = toWide(rows[i].headline);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = headline.data();
    item.lParam = static_cast<LPARAM>(rows[i].kind);
    int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    std::wstring link = toWide(rows[i].link);
    ListView_SetItemText(list, at, 1, link.data());
  }
  showOfferTitles(list, rows);
}

void onFetch(HWND dialog) {
  App& a = app();
  SetTimer(dialog, IDT_WIZARD_POLL, 1000, nullptr);
  wizardFetch(*a.cycle, a.fetcher, a.ui, field(dialog, IDC_WIZ_URL, kFieldBytes));
}

// Choosing a feed the page announces (double click or Enter) makes that
// feed the new site's URL and fetches it, so its items are listed instead.
void onDoubleClick(HWND dialog, int row) {
  HWND list = links(dialog);
  if (row < 0 || row >= ListView_GetItemCount(list)) return;
  ListedLink picked = rowOf(list, row);
  if (picked.kind != RowKind::kFeedOffer) return;
  SetDlgItemTextW(dialog, IDC_WIZ_URL, toWide(picked.link).c_str());
  onFetch(dialog);
}

void onTick(HWND dialog) {
  const CheckCycle& cycle = *app().cycle;
  int state = cycle.wizardFetchState();
  if (state != kWizardReceived && state != kWizardFailed) return;
  KillTimer(dialog, IDT_WIZARD_POLL);
  if (state == kWizardReceived) {
    listPage(dialog);
    return;
  }
  // An error page or a failed fetch lists nothing; the user hears why.
  ListView_DeleteAllItems(links(dialog));
  say(dialog, cycle.wizardFailure().c_str());
}

void onCheck(HWND dialog) {
  std::string extract = field(dialog, IDC_WIZ_EXTRACT, kFieldBytes);
  HWND list = links(dialog);
  int rows = ListView_GetItemCount(list);
  if (extract.empty()) {
    say(dialog, kMsgNoExtract);
    return;
  }
  if (rows == 0) {
    say(dialog, kMsgListFirst);
    return;
  }
  for (int r = 0; r < rows; ++r) {
    UINT state = rowMatches(rowOf(list, r), extract) ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    ListView_SetItemState(list, r, state, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void onSuggest(HWND dialog) {
  HWND list = links(dialog);
  int rows = ListView_GetItemCount(list);
  std::vector<std::string> ticked;
  for (int r = 0; r < rows; ++r) {
    if (ListView_GetCheckState(list, r)) ticked.push_back(linkOf(list, r));
  }
  Suggestion s = suggestExtract(static_cast<std::size_t>(rows), ticked);
  switch (s.kind) {
    case Suggestion::kNoRows:
      say(dialog, kMsgFetchFirst);
      break;
    case Suggestion::kTooMany:
      say(dialog, kMsgSuggestMany);
      break;
    case Suggestion::kClear:
    case Suggestion::kSet:
      SetDlgItemTextW(dialog, IDC_WIZ_EXTRACT, toWide(s.extract).c_str());
      break;
  }
}

void close(HWND dialog) {
  App& a = app();
  KillTimer(dialog, IDT_WIZARD_POLL);
  // The wizard's own fetch goes with it.
  if (a.cycle->wizardFetchState() == kWizardFetching && a.fetcher.inFlight()) a.fetcher.close();
  EndDialog(dialog, 0);
}

void onAdd(HWND dialog) {
  std::optional<Site> site = wizardSite(field(dialog, IDC_WIZ_NAME), field(dialog, IDC_WIZ_URL),
                                        field(dialog, IDC_WIZ_EXTRACT));
  if (!site) {
    say(dialog, "入力されてない項目があります。");
    return;
  }
  insertSiteRow(g_owner, 0, *site);
  close(dialog);
}

INT_PTR CALLBACK wizardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      app().wizardDialog = dialog;
      HWND list = links(dialog);
      ListView_SetExtendedListViewStyle(
          list, ListView_GetExtendedListViewStyle(list) | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
      addListColumn(list, 0, "見出し", kHeadlineColumnWidth);
      addListColumn(list, 1, "リンク", 300);
      return TRUE;
    }
    case WM_TIMER:
      if (wParam == IDT_WIZARD_POLL) onTick(dialog);
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
      // A double click or Enter on a row.
      if (hdr->idFrom != IDC_WIZ_LIST || hdr->code != LVN_ITEMACTIVATE) return FALSE;
      onDoubleClick(dialog, reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_WIZ_FETCH:
          onFetch(dialog);
          break;
        case IDC_WIZ_CHECK:
          onCheck(dialog);
          break;
        case IDC_WIZ_SUGGEST:
          onSuggest(dialog);
          break;
        case IDC_WIZ_ADD:
        case IDOK:
          onAdd(dialog);
          break;
        case IDCANCEL:
          close(dialog);
          break;
        default:
          break;
      }
      return TRUE;
    case WM_DESTROY:
      app().wizardDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void runWizard(HWND settingsDialog) {
  g_owner = settingsDialog;
  DialogBoxParamW(app().instance, L"ADDWIZARD", settingsDialog, wizardProc, 0);
  g_owner = nullptr;
}

}  // namespace ls
