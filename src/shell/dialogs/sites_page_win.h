// The settings dialog's page "ニュース設定": the site file as list 1119,
// with the fields to add, change and delete a site, the wizard, and the
// import and export of site files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/engine_context.h"
#include "shell/dialogs/settings_page_win.h"
#include "shell/dialogs/wizard_win.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_seams.h"
#include "shell/user_interface_win.h"
#include "sites/site_file.h"

namespace ls {

// The files the import and export dialogs offered last.
struct SiteFileChoices {
  std::wstring lastImport, lastExport;
};

class SitesPage : public SettingsPage {
 public:
  SitesPage(const WizardParts& wizard, const ShellSeams& seams, SiteFileChoices& choices);

  // Fills the list from the site file.
  void onInit(HWND dialog) override;
  bool onCommand(int id) override;
  bool onNotify(const NMHDR& header) override;
  // Writes the rows to the site file, unless the file could not be read
  // when the dialog opened: it is never overwritten with the empty list.
  void save();

 private:
  HWND list() const { return GetDlgItem(dialog_, IDC_SITE_LIST); }
  std::vector<Site> rows() const;
  void insertRow(int row, const Site& site);
  int ask(const char* text, const char* caption, UINT buttons = MB_OK);
  void onRowClick();
  void add();
  void change();
  void remove();
  // A *.ck site file, or an OPML file (*.opml, *.xml).
  void importFile();
  // The rows as an OPML file.
  void exportFile();
  void runWizard();

  WizardParts wizard_;
  const ShellSeams& seams_;
  SiteFileChoices& choices_;
  bool loaded_ = false;
};

}  // namespace ls
