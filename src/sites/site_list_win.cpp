#include "sites/site_list_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include "app/app_win.h"
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

std::string cellText(HWND list, int row, int column) {
  wchar_t buffer[1024] = {};
  ListView_GetItemText(list, row, column, buffer, 1024);
  return fromWide(buffer);
}

void setCell(HWND list, int row, int column, const std::string& text) {
  std::wstring w = toWide(text);
  ListView_SetItemText(list, row, column, w.data());
}

std::string fieldText(HWND dialog, int id) {
  HWND edit = GetDlgItem(dialog, id);
  int n = GetWindowTextLengthW(edit);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(edit, w.data(), n + 1);
  w.resize(static_cast<std::size_t>(n));
  return fromWide(w);
}

void setField(HWND dialog, int id, const std::string& text) { SetDlgItemTextW(dialog, id, toWide(text).c_str()); }

void clearFields(HWND dialog) {
  for (int id : {IDC_SITE_NAME, IDC_SITE_URL, IDC_SITE_EXTRACT}) setField(dialog, id, "");
}

int selected(HWND dialog) { return ListView_GetNextItem(siteList(dialog), -1, LVNI_SELECTED); }

int ask(HWND dialog, const char* text, const char* caption, UINT buttons = MB_OK) {
  return app().ui.ask(dialog, text, caption, buttons);
}

void addColumn(HWND list, int index, const char* title, int width) {
  std::wstring text = toWide(title);
  LVCOLUMNW col{};
  col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.fmt = LVCFMT_LEFT;
  col.cx = width;
  col.pszText = text.data();
  col.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&col));
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
  addColumn(list, 0, "サイト(チェックしたサイトを確認)", 120);
  addColumn(list, 1, "URL", 250);
  addColumn(list, 2, "抽出文字列", 100);
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
  wchar_t path[MAX_PATH] = {};
  lstrcpynW(path, g_importPath.c_str(), MAX_PATH);
  std::wstring title = toWide("インポートするファイルを選択してください");
  std::wstring filter = toWide("LINKSCOUTサイトファイル（*.ck）");
  filter += L'\0';
  filter += L"*.ck";
  filter += L'\0';
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameW(&ofn)) return;
  g_importPath = path;
  SiteList file = readAllSites(fromWide(path), kImportLimits);
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
