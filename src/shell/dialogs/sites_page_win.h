// The site list (list 1119) of the settings dialog's "ニュース設定" page and
// its buttons: the list control is the site list while the dialog is open.
#pragma once

#include <windows.h>

#include <vector>

#include "sites/site_file.h"

namespace ls {

struct App;

// Fills list 1119 from the site file; false when the file could not be read
// (the user has been told, and OK must then leave the file alone).
bool loadSiteList(App& app, HWND dialog);
std::vector<Site> siteListRows(HWND dialog);
void insertSiteRow(HWND dialog, int row, const Site& site);

void onSiteRowClick(HWND dialog);
void addSite(App& app, HWND dialog);
void changeSite(App& app, HWND dialog);
void deleteSite(App& app, HWND dialog);
// A *.ck site file, or an OPML file (*.opml, *.xml).
void importSiteFile(App& app, HWND dialog);
// The rows as an OPML file.
void exportSiteFile(App& app, HWND dialog);
// Writes the rows to the site file on OK.
void saveSiteList(App& app, HWND dialog);

}  // namespace ls
