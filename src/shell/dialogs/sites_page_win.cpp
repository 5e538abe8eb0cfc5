#include "shell/dialogs/sites_page_win.h"

#include <commctrl.h>

#include "shell/app_win.h"
#include "win/controls_win.h"
#include "common/file_io.h"
#include "common/program.h"
#include "common/text.h"
#include "win/wide_win.h"
#include "engine/engine_context.h"
#include "shell/resources/resource_ids.h"
#include "engine/opml_file.h"
#include "sites/site_edit.h"

namespace ls {

namespace {

constexpr const char* kCaptionSettings = "LINKSCOUT設定";
constexpr const char* kCaptionAdd = "サイト追加";
constexpr const char* kCaptionChange = "サイト変更";
constexpr const char* kCaptionDelete = "サイト削除";
constexpr const char* kMsgNoSelection = "アイテムが選択されていません。";
constexpr const char* kMsgConfirmChange = "変更してもいいですか？";
constexpr const char* kMsgOnlyOne = "アイテムが１つしかありません。";
constexpr const char* kMsgConfirmDelete = "削除してよろしいですか？";
constexpr const char* kMsgCannotWriteSites = "ファイルがオープンできません。";
constexpr const char* kMsgCannotExport = "ファイルに書き込めませんでした。";
constexpr const char* kCaptionImport = "インポート";
constexpr const char* kCaptionExport = "エクスポート";

HWND siteList(HWND dialog) { return GetDlgItem(dialog, IDC_SITE_LIST); }

std::string cellText(HWND list, int row, int column) { return listCellText(list, row, column); }

void setCell(HWND list, int row, int column, const std::string& text) { setListCellText(list, row, column, text); }

std::string fieldText(HWND dialog, int id) { return controlText(dialog, id); }

void setField(HWND dialog, int id, const std::string& text) { setControlText(dialog, id, text); }

std::optional<Site> siteOfFields(HWND dialog) {
  return siteFromFields(fieldText(dialog, IDC_SITE_NAME), fieldText(dialog, IDC_SITE_URL),
                        fieldText(dialog, IDC_SITE_EXTRACT));
}

void clearFields(HWND dialog) {
  for (int id : {IDC_SITE_NAME, IDC_SITE_URL, IDC_SITE_EXTRACT}) setField(dialog, id, "");
}

int selected(HWND dialog) { return selectedListRow(siteList(dialog)); }

int ask(App& a, HWND dialog, const char* text, const char* caption, UINT buttons = MB_OK) {
  return a.ui.ask(dialog, text, caption, buttons);
}

}  // namespace

void insertSiteRow(HWND dialog, int row, const Site& site) {
  HWND list = siteList(dialog);
  int at = insertListRow(list, row, site.name);
  setCell(list, at, 1, site.url);
  setCell(list, at, 2, site.extract);
  ListView_SetCheckState(list, at, site.checked);
}

bool loadSiteList(App& a, HWND dialog) {
  HWND list = siteList(dialog);
  ListView_SetExtendedListViewStyle(list,
                                    ListView_GetExtendedListViewStyle(list) | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  addListColumn(list, 0, "サイト(チェックしたサイトを確認)", 120);
  addListColumn(list, 1, "URL", 250);
  addListColumn(list, 2, "抽出文字列", 100);
  SiteList sites = readAllSites(a.ctx.appDir + kSiteFileName, kSettingsLoadLimits);
  if (sites.status == SiteFileStatus::kCannotOpen) {
    ask(a, dialog, kMsgCannotOpenFile, kCaptionSettings);
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

void addSite(App& a, HWND dialog) {
  std::optional<Site> s = siteOfFields(dialog);
  if (!s) {
    ask(a, dialog, kMsgEmptyField, kCaptionAdd);
    return;
  }
  insertSiteRow(dialog, 0, *s);
  clearFields(dialog);
}

void changeSite(App& a, HWND dialog) {
  std::optional<Site> s = siteOfFields(dialog);
  if (!s) {
    ask(a, dialog, kMsgEmptyField, kCaptionChange);
    return;
  }
  int row = selected(dialog);
  if (row < 0) {
    ask(a, dialog, kMsgNoSelection, kCaptionChange);
    return;
  }
  if (ask(a, dialog, kMsgConfirmChange, kCaptionChange, MB_OKCANCEL) != IDOK) return;
  HWND list = siteList(dialog);
  setCell(list, row, 0, s->name);
  setCell(list, row, 1, s->url);
  setCell(list, row, 2, s->extract);
  clearFields(dialog);
}

void deleteSite(App& a, HWND dialog) {
  int row = selected(dialog);
  if (row < 0) {
    ask(a, dialog, kMsgNoSelection, kCaptionDelete);
    return;
  }
  if (ListView_GetItemCount(siteList(dialog)) < 2) {
    ask(a, dialog, kMsgOnlyOne, kCaptionDelete);
    return;
  }
  if (ask(a, dialog, kMsgConfirmDelete, kCaptionDelete, MB_OKCANCEL) == IDOK) ListView_DeleteItem(siteList(dialog), row);
}

void importSiteFile(App& a, HWND dialog) {
  const bool chosen = a.chooseSitesFileHook
                          ? a.chooseSitesFileHook(false, a.lastImport)
                          : chooseFileToOpen(dialog, "インポートするファイルを選択してください",
                                             "LINKSCOUTサイトファイル・OPML（*.ck;*.opml;*.xml）",
                                             L"*.ck;*.opml;*.xml", a.lastImport);
  if (!chosen) return;
  const std::string path = pathFromWide(a.lastImport);
  std::vector<Site> rows = siteListRows(dialog);
  std::size_t before = rows.size();
  if (isOpmlFileName(path)) {
    // A subscription list of a feed reader, or one this program exported.
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return;
    OpmlRead file = readOpml(*bytes);
    if (!file.ok) {
      ask(a, dialog, kMsgBadOpml, kCaptionImport);
      return;
    }
    importOpmlSites(rows, file.sites);
  } else {
    SiteList file = readAllSites(path, kImportLimits);
    if (file.status == SiteFileStatus::kCannotOpen) return;
    importSites(rows, file.sites);
  }
  // The new rows are at the top, in the order the merge put them.
  for (std::size_t i = rows.size() - before; i-- > 0;) insertSiteRow(dialog, 0, rows[i]);
}

void exportSiteFile(App& a, HWND dialog) {
  if (a.lastExport.empty()) a.lastExport = L"sites.opml";
  const bool chosen = a.chooseSitesFileHook ? a.chooseSitesFileHook(true, a.lastExport)
                                            : chooseFileToSave(dialog, "エクスポートするファイル名を入力してください",
                                                               "OPML（*.opml）", L"*.opml", L"opml", a.lastExport);
  if (!chosen) return;
  if (!rewriteFile(pathFromWide(a.lastExport), writeOpml(siteListRows(dialog)))) {
    ask(a, dialog, kMsgCannotExport, kCaptionExport);
  }
}

void saveSiteList(App& a, HWND dialog) {
  if (!writeAllSites(a.ctx.appDir + kSiteFileName, siteListRows(dialog))) {
    ask(a, dialog, kMsgCannotWriteSites, kProgramTitle);
  }
}

}  // namespace ls
