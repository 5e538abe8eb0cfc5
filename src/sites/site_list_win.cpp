#include "sites/site_list_win.h"

#include <commctrl.h>

#include "app/app_win.h"
#include "app/controls_win.h"
#include "common/program.h"
#include "common/text.h"
#include "common/wide_win.h"
#include "engine/engine_context.h"
#include "resources/resource_ids.h"
#include "sites/site_edit.h"

namespace ls {

namespace {

constexpr const char* kCaptionSettings = "LINKSCOUT設定";
constexpr const char* kCaptionAdd = "サイト追加";
constexpr const char* kCaptionChange = "サイト変更";
constexpr const char* kCaptionDelete = "サイト削除";
constexpr const char* kMsgEmptyField = "入力されてない項目があります。";
constexpr const char* kMsgNoSelection = "アイテムが選択されていません。";
constexpr const char* kMsgConfirmChange = "変更してもいいですか？";
constexpr const char* kMsgOnlyOne = "アイテムが１つしかありません。";
constexpr const char* kMsgConfirmDelete = "削除してよろしいですか？";
constexpr const char* kMsgCannotWriteSites = "ファイルがオープンできません。";

// The file chosen at the last import, offered again at the next.
std::wstring g_importPath;

HWND siteList(HWND dialog) { return GetDlgItem(dialog, IDC_SITE_LIST); }

std::string cellText(HWND list, int row, int column) { return listCellText(list, row, column); }

void setCell(HWND list, int row, int column, const std::string& text) { setListCellText(list, row, column, text); }

std::string fieldText(HWND dialog, int id) { return controlText(dialog, id); }

void setField(HWND dialog, int id, const std::string& text) { setControlText(dialog, id, text); }

void clearFields(HWND dialog) {
  for (int id : {IDC_SITE_NAME, IDC_SITE_URL, IDC_SITE_EXTRACT}) setField(dialog, id, "");
}

int selected(HWND dialog) { return ListView_GetNextItem(siteList(dialog), -1, LVNI_SELECTED); }

int ask(HWND dialog, const char* text, const char* caption, UINT buttons = MB_OK) {
  return app().ui.ask(dialog, text, caption, buttons);
}



}  // namespace

void insertSiteRow(HWND dialog, int row, const Site& site) {
  HWND list = siteList(dialog);
  std::wstring name = toWide(site.name);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = name.data();
  int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  setCell(list, at, 1, site.url);
  setCell(list, at, 2, site.extract);
  ListView_SetCheckState(list, at, site.checked);
}

bool loadSiteList(HWND dialog) {
  HWND list = siteList(dialog);
  ListView_SetExtendedListViewStyle(list,
                                    ListView_GetExtendedListViewStyle(list) | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  addListColumn(list, 0, "サイト(チェックしたサイトを確認)", 120);
  addListColumn(list, 1, "URL", 250);
  addListColumn(list, 2, "抽出文字列", 100);
  SiteList sites = readAllSites(app().ctx.appDir + kSiteFileName, kSettingsLoadLimits);
  if (sites.status == SiteFileStatus::kCannotOpen) {
    ask(dialog, kMsgCannotOpenFile, kCaptionSettings);
    return false;
  }
  for (const Site& s : sites.sites) insertSiteRow(dialog, ListView_GetItemCount(list), s);
  return true;
}

std::vector<Site> siteListRows(HWND dialog) {
  HWND list = siteList(dialog);
  std::vector<Site> rows;
  for (int r = 0; r < ListView_GetItemCount(list); ++r) {
    Site s;
    s.name = std::string(cutToBytes(cellText(list, r, 0), kEditNameBytes));
    s.url = std::string(cutToBytes(cellText(list, r, 1), kEditUrlBytes));
    s.extract = std::string(cutToBytes(cellText(list, r, 2), kEditExtractBytes));
    s.checked = ListView_GetCheckState(list, r) != FALSE;
    rows.push_back(std::move(s));
  }
  return rows;
}

void onSiteRowClick(HWND dialog) {
  int row = selected(dialog);
  if (row < 0) return;
  HWND list = siteList(dialog);
  setField(dialog, IDC_SITE_NAME, cellText(list, row, 0));
  setField(dialog, IDC_SITE_URL, cellText(list, row, 1));
  setField(dialog, IDC_SITE_EXTRACT, cellText(list, row, 2));
}

void addSite(HWND dialog) {
  std::optional<Site> s = siteFromFields(fieldText(dialog, IDC_SITE_NAME), fieldText(dialog, IDC_SITE_URL),
                                         fieldText(dialog, IDC_SITE_EXTRACT));
  if (!s) {
    ask(dialog, kMsgEmptyField, kCaptionAdd);
    return;
  }
  insertSiteRow(dialog, 0, *s);
  clearFields(dialog);
}

void changeSite(HWND dialog) {
  std::optional<Site> s = siteFromFields(fieldText(dialog, IDC_SITE_NAME), fieldText(dialog, IDC_SITE_URL),
                                         fieldText(dialog, IDC_SITE_EXTRACT));
  if (!s) {
    ask(dialog, kMsgEmptyField, kCaptionChange);
    return;
  }
  int row = selected(dialog);
  if (row < 0) {
    ask(dialog, kMsgNoSelection, kCaptionChange);
    return;
  }
  if (ask(dialog, kMsgConfirmChange, kCaptionChange, MB_OKCANCEL) != IDOK) return;
  HWND list = siteList(dialog);
  setCell(list, row, 0, s->name);
  setCell(list, row, 1, s->url);
  setCell(list, row, 2, s->extract);
  clearFields(dialog);
}

void deleteSite(HWND dialog) {
  int row = selected(dialog);
  if (row < 0) {
    ask(dialog, kMsgNoSelection, kCaptionDelete);
    return;
  }
  if (ListView_GetItemCount(siteList(dialog)) < 2) {
    ask(dialog, kMsgOnlyOne, kCaptionDelete);
    return;
  }
  if (ask(dialog, kMsgConfirmDelete, kCaptionDelete, MB_OKCANCEL) == IDOK) ListView_DeleteItem(siteList(dialog), row);
}

void importSiteFile(HWND dialog) {
  if (!chooseFileToOpen(dialog, "インポートするファイルを選択してください", "LINKSCOUTサイトファイル（*.ck）", L"*.ck",
                        g_importPath)) {
    return;
  }
  SiteList file = readAllSites(pathFromWide(g_importPath), kImportLimits);
  if (file.status == SiteFileStatus::kCannotOpen) return;
  std::vector<Site> rows = siteListRows(dialog);
  std::size_t before = rows.size();
  importSites(rows, file.sites);
  // The new rows are at the top, in the order the merge put them.
  for (std::size_t i = rows.size() - before; i-- > 0;) insertSiteRow(dialog, 0, rows[i]);
}

void saveSiteList(HWND dialog) {
  if (!writeAllSites(app().ctx.appDir + kSiteFileName, siteListRows(dialog))) {
    ask(dialog, kMsgCannotWriteSites, kProgramTitle);
  }
}

}  // namespace ls
