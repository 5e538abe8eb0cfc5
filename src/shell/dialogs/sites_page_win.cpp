#include "shell/dialogs/sites_page_win.h"

#include <commctrl.h>

#include "common/file_io.h"
#include "common/program.h"
#include "common/text.h"
#include "engine/engine_context.h"
#include "engine/opml_file.h"
#include "shell/resources/resource_ids.h"
#include "sites/site_edit.h"
#include "win/controls_win.h"
#include "win/wide_win.h"

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

std::optional<Site> siteOfFields(HWND dialog) {
  return siteFromFields(controlText(dialog, IDC_SITE_NAME), controlText(dialog, IDC_SITE_URL),
                        controlText(dialog, IDC_SITE_EXTRACT));
}

void clearFields(HWND dialog) {
  for (int id : {IDC_SITE_NAME, IDC_SITE_URL, IDC_SITE_EXTRACT}) setControlText(dialog, id, "");
}

}  // namespace

SitesPage::SitesPage(const WizardParts& wizard, const ShellSeams& seams, SiteFileChoices& choices)
    : SettingsPage("ニュース設定", {IDC_SITE_NAME_LABEL, IDC_SITE_EXTRACT, IDC_SITE_EXTRACT_LABEL, IDC_SITE_URL_LABEL,
                                   IDC_SITE_URL, IDC_SITE_NAME, IDC_SITE_LIST, IDC_SITE_ADD, IDC_SITE_DELETE,
                                   IDC_SITE_CHANGE, IDC_SITE_IMPORT, IDC_SITE_WIZARD, IDC_SITE_EXPORT}),
      wizard_(wizard),
      seams_(seams),
      choices_(choices) {}

int SitesPage::ask(const char* text, const char* caption, UINT buttons) {
  return wizard_.ui.ask(dialog_, text, caption, buttons);
}

void SitesPage::insertRow(int row, const Site& site) {
  int at = insertListRow(list(), row, site.name);
  setListCellText(list(), at, 1, site.url);
  setListCellText(list(), at, 2, site.extract);
  ListView_SetCheckState(list(), at, site.checked);
}

void SitesPage::onInit(HWND dialog) {
  SettingsPage::onInit(dialog);
  ListView_SetExtendedListViewStyle(list(), ListView_GetExtendedListViewStyle(list()) | LVS_EX_CHECKBOXES |
                                                LVS_EX_FULLROWSELECT);
  addListColumn(list(), 0, "サイト(チェックしたサイトを確認)", 120);
  addListColumn(list(), 1, "URL", 250);
  addListColumn(list(), 2, "抽出文字列", 100);
  SiteList sites = readAllSites(wizard_.ctx.appDir + kSiteFileName, kSettingsLoadLimits);
  if (sites.status == SiteFileStatus::kCannotOpen) {
    ask(kMsgCannotOpenFile, kCaptionSettings);
    return;
  }
  for (const Site& s : sites.sites) insertRow(ListView_GetItemCount(list()), s);
  loaded_ = true;
}

std::vector<Site> SitesPage::rows() const {
  std::vector<Site> rows;
  for (int r = 0; r < ListView_GetItemCount(list()); ++r) {
    Site s;
    s.name = std::string(cutToBytes(listCellText(list(), r, 0), kEditNameBytes));
    s.url = std::string(cutToBytes(listCellText(list(), r, 1), kEditUrlBytes));
    s.extract = std::string(cutToBytes(listCellText(list(), r, 2), kEditExtractBytes));
    s.checked = ListView_GetCheckState(list(), r) != FALSE;
    rows.push_back(std::move(s));
  }
  return rows;
}

bool SitesPage::onCommand(int id) {
  switch (id) {
    case IDC_SITE_ADD:
      add();
      return true;
    case IDC_SITE_CHANGE:
      change();
      return true;
    case IDC_SITE_DELETE:
      remove();
      return true;
    case IDC_SITE_IMPORT:
      importFile();
      return true;
    case IDC_SITE_WIZARD:
      runWizard();
      return true;
    case IDC_SITE_EXPORT:
      exportFile();
      return true;
    default:
      return false;
  }
}

bool SitesPage::onNotify(const NMHDR& header) {
  if (header.idFrom != IDC_SITE_LIST || header.code != NM_CLICK) return false;
  onRowClick();
  return true;
}

void SitesPage::onRowClick() {
  int row = selectedListRow(list());
  if (row < 0) return;
  setControlText(dialog_, IDC_SITE_NAME, listCellText(list(), row, 0));
  setControlText(dialog_, IDC_SITE_URL, listCellText(list(), row, 1));
  setControlText(dialog_, IDC_SITE_EXTRACT, listCellText(list(), row, 2));
}

void SitesPage::add() {
  std::optional<Site> s = siteOfFields(dialog_);
  if (!s) {
    ask(kMsgEmptyField, kCaptionAdd);
    return;
  }
  insertRow(0, *s);
  clearFields(dialog_);
}

void SitesPage::change() {
  std::optional<Site> s = siteOfFields(dialog_);
  if (!s) {
    ask(kMsgEmptyField, kCaptionChange);
    return;
  }
  int row = selectedListRow(list());
  if (row < 0) {
    ask(kMsgNoSelection, kCaptionChange);
    return;
  }
  if (ask(kMsgConfirmChange, kCaptionChange, MB_OKCANCEL) != IDOK) return;
  setListCellText(list(), row, 0, s->name);
  setListCellText(list(), row, 1, s->url);
  setListCellText(list(), row, 2, s->extract);
  clearFields(dialog_);
}

void SitesPage::remove() {
  int row = selectedListRow(list());
  if (row < 0) {
    ask(kMsgNoSelection, kCaptionDelete);
    return;
  }
  if (ListView_GetItemCount(list()) < 2) {
    ask(kMsgOnlyOne, kCaptionDelete);
    return;
  }
  if (ask(kMsgConfirmDelete, kCaptionDelete, MB_OKCANCEL) == IDOK) ListView_DeleteItem(list(), row);
}

void SitesPage::importFile() {
  std::wstring& chosenPath = choices_.lastImport;
  const bool chosen = seams_.chooseSitesFile
                          ? seams_.chooseSitesFile(false, chosenPath)
                          : chooseFileToOpen(dialog_, "インポートするファイルを選択してください",
                                             "LINKSCOUTサイトファイル・OPML（*.ck;*.opml;*.xml）",
                                             L"*.ck;*.opml;*.xml", chosenPath);
  if (!chosen) return;
  const std::string path = pathFromWide(chosenPath);
  std::vector<Site> merged = rows();
  std::size_t before = merged.size();
  if (isOpmlFileName(path)) {
    // A subscription list of a feed reader, or one this program exported.
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return;
    OpmlRead file = readOpml(*bytes);
    if (!file.ok) {
      ask(kMsgBadOpml, kCaptionImport);
      return;
    }
    importOpmlSites(merged, file.sites);
  } else {
    SiteList file = readAllSites(path, kImportLimits);
    if (file.status == SiteFileStatus::kCannotOpen) return;
    importSites(merged, file.sites);
  }
  // The new rows are at the top, in the order the merge put them.
  for (std::size_t i = merged.size() - before; i-- > 0;) insertRow(0, merged[i]);
}

void SitesPage::exportFile() {
  std::wstring& chosenPath = choices_.lastExport;
  if (chosenPath.empty()) chosenPath = L"sites.opml";
  const bool chosen = seams_.chooseSitesFile
                          ? seams_.chooseSitesFile(true, chosenPath)
                          : chooseFileToSave(dialog_, "エクスポートするファイル名を入力してください", "OPML（*.opml）",
                                             L"*.opml", L"opml", chosenPath);
  if (!chosen) return;
  if (!rewriteFile(pathFromWide(chosenPath), writeOpml(rows()))) ask(kMsgCannotExport, kCaptionExport);
}

void SitesPage::runWizard() {
  if (std::optional<Site> site = ls::runWizard(wizard_, dialog_)) insertRow(0, *site);
}

void SitesPage::save() {
  if (!loaded_) return;
  if (!writeAllSites(wizard_.ctx.appDir + kSiteFileName, rows())) ask(kMsgCannotWriteSites, kProgramTitle);
}

}  // namespace ls
